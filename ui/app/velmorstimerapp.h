// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QSGRendererInterface>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DesktopFileBrowser;
class QIcon;
class LogindWakeSignal;
class MainWindowKeeper;
class ProjectDraft;
class QProcessEnvironment;
class QQmlEngine;
class QQmlComponent;
class QWindow;
class QmlAlertPanels;
class QtFileDialogs;
class LazySoundService;
class SystemTrayHost;
class TimerModel;
class TrayItem;

// The application: the one TimerModel with the real services, the main window and the tray item.
// Everything lives from construction to the end of the process.
class VelmorsTimerApp final : public QObject {
    Q_OBJECT
public:
    explicit VelmorsTimerApp(QObject *parent = nullptr);
    ~VelmorsTimerApp() override;

    // Opens the main window and shows the tray item where the desktop has a status area. False
    // when the main window could not be built.
    bool start();

    TimerModel &model() const { return *m_model; }
    ProjectDraft &projectDraft() const { return *m_projectDraft; }

    // "回到计时器", and a second launch: shows the main window again if it was closed, brings it
    // in front and gives it the keyboard.
    void bringMainWindowForward();

    // Qt's own texts (the open and save dialogs, the text fields' menus) in Chinese, as the
    // rest of the interface is. False when Qt's Chinese translations are not installed.
    static bool installQtTranslations();

    // The application's own icon, in every size it is drawn at; the window, the alert panels and
    // the tray menu wear it, and the desktop entry names the same one.
    static QIcon applicationIcon();

    static QString windowTitle() { return QStringLiteral("Velmor's Focus"); }
    static QString mainQmlUrl() { return QStringLiteral("qrc:/VelmorFocus/Main.qml"); }
    // The page the main window opens on.
    static QString firstPageQmlUrl() { return QStringLiteral("qrc:/VelmorFocus/FocusPage.qml"); }

    // The platform plugin to ask for before the application object exists: on a Wayland session
    // that also runs XWayland, "xcb", since Wayland compositors may ignore the alert's stacking
    // and placement. Absent when the user chose a platform or there is no X server to use.
    static std::optional<QByteArray> preferredPlatform(const QProcessEnvironment &environment);

    // The scene graph renderer to ask for before the first window exists: OpenGL where graphics
    // hardware draws it, Qt Quick's software renderer where OpenGL is itself drawn by the
    // processor (llvmpipe, softpipe, swrast) or missing, since that renderer repaints only the
    // areas that changed. Absent when the user chose with QT_QUICK_BACKEND or QSG_RHI_BACKEND.
    // openGlRenderer gives the OpenGL renderer's name, empty without OpenGL; it is asked only
    // when the choice depends on it.
    static std::optional<QSGRendererInterface::GraphicsApi> preferredGraphicsApi(
        const QProcessEnvironment &environment, const std::function<QString()> &openGlRenderer);
    static bool rendererChosenByUser(const QProcessEnvironment &environment);

private:
    QWindow *mainWindow() const;
    // The tray item (its menu is the first widget, its icon a D-Bus registration) and the wake
    // signal, once the main window's first frame is on screen.
    void startDesktopServices();

    std::unique_ptr<LogindWakeSignal> m_wake;
    std::unique_ptr<LazySoundService> m_sound;
    std::unique_ptr<QtFileDialogs> m_dialogs;
    std::unique_ptr<DesktopFileBrowser> m_fileBrowser;
    // A plain engine: QQmlApplicationEngine would add a file selector, which looks for variants of
    // every file the window loads (it has none), and a second catalogue of Qt's translations.
    std::unique_ptr<QQmlEngine> m_engine;
    // The main window and its first page, compiling on the engine's loader thread from
    // construction until start() has built the window.
    std::vector<std::unique_ptr<QQmlComponent>> m_compiling;
    std::unique_ptr<QObject> m_window;
    std::unique_ptr<QmlAlertPanels> m_alertPanels;
    std::unique_ptr<TimerModel> m_model;
    std::unique_ptr<ProjectDraft> m_projectDraft;
    std::unique_ptr<SystemTrayHost> m_trayHost;
    std::unique_ptr<TrayItem> m_tray;
    std::unique_ptr<MainWindowKeeper> m_keeper;
};
