// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

#include <functional>

class DefaultsStore;
class TimerModel;
class TrayHost;

// Keeps the one main window: where it opens (where it was last, fitted to today's screens), what
// closing it means (hidden while the tray item can bring it back; otherwise the application
// ends, after asking when that would drop a started session) and bringing it back.
class MainWindowKeeper final : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application keeps its one main window.")

    // The close confirmation is on show: the window was closed without a tray item to come back
    // from while a session is started.
    Q_PROPERTY(bool confirmingClose READ confirmingClose WRITE setConfirmingClose NOTIFY
            confirmingCloseChanged FINAL)
    // The window's minimum size: the designed one, or the screen's room when that is smaller.
    Q_PROPERTY(QSize minimumSize READ minimumSize NOTIFY minimumSizeChanged FINAL)

public:
    MainWindowKeeper(TimerModel &model, TrayHost &tray, DefaultsStore &defaults,
        std::function<void()> quit, QObject *parent = nullptr);
    ~MainWindowKeeper() override;

    bool confirmingClose() const { return m_confirmingClose; }
    void setConfirmingClose(bool confirming);
    QSize minimumSize() const { return m_minimumSize; }

    // Where the window opens: its last frame from the defaults store, or the default size in the
    // middle of the primary screen, fitted to the screens of now. Sets the minimum size to match.
    QRect initialFrame();
    // Follows the window from now on: its frame is stored when it changes, and hiding it ends the
    // application while no tray item can bring it back.
    void keep(QWindow *window);
    QWindow *window() const { return m_window; }

    // "回到计时器" and a second launch: the window shown again where it was, raised, with the
    // keyboard.
    void bringForward();

    // The window asks before it closes: true to let it close. Without a tray item a started
    // session would be lost, so the close confirmation is put on show instead.
    Q_INVOKABLE bool mayClose();
    // Ends the application, as "退出" does.
    Q_INVOKABLE void quit();

    static QSize defaultSize() { return {900, 840}; }
    static QSize designedMinimum() { return {820, 760}; }
    static QString frameKey() { return QStringLiteral("timer-window-frame"); }

    // The frame moved wholly onto the screen area that holds most of it (the first area when
    // none does), no larger than that area and no smaller than the minimum that fits in it. An
    // invalid frame (none stored yet) is the default size in the middle of the first area.
    static QRect fitted(const QRect &frame, const QList<QRect> &areas);
    // The minimum size within that area.
    static QSize minimumWithin(const QRect &area);

Q_SIGNALS:
    void confirmingCloseChanged();
    void minimumSizeChanged();

private:
    void storeFrame();
    void windowHidden();
    void setMinimumSize(const QSize &size);
    static QList<QRect> screenAreas();

    TimerModel &m_model;
    TrayHost &m_tray;
    DefaultsStore &m_defaults;
    std::function<void()> m_quit;
    QPointer<QWindow> m_window;
    QTimer m_storeSoon;
    QRect m_frame;
    QRect m_stored;
    QSize m_minimumSize = designedMinimum();
    bool m_confirmingClose = false;
};
