// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/velmorstimerapp.h"

#include "model/timermodel.h"
#include "platform/desktopfilebrowser.h"
#include "platform/filedefaultsstore.h"
#include "platform/lazysoundservice.h"
#include "platform/processclock.h"
#include "platform/qtfiledialogs.h"
#include "platform/storagepaths.h"
#include "platform/wakesignal.h"
#include "projects/projectdraft.h"
#include "records/instant.h"
#include "ui/alert/qmlalertpanels.h"
#include "ui/app/mainwindowkeeper.h"
#include "ui/app/startupfonts.h"
#include "ui/app/trayhost.h"
#include "ui/app/trayitem.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QProcessEnvironment>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The start-up time for bench/measure-app, which measures the real application: off unless
// QT_LOGGING_RULES has "velmor.timing.info=true".
Q_LOGGING_CATEGORY(lcTiming, "velmor.timing", QtWarningMsg)

} // namespace

VelmorsTimerApp::VelmorsTimerApp(QObject *parent)
    : QObject(parent),
      m_wake(std::make_unique<LogindWakeSignal>()),
      m_sound(std::make_unique<LazySoundService>(LazySoundService::installedModulePaths())),
      m_dialogs(std::make_unique<QtFileDialogs>()),
      m_fileBrowser(std::make_unique<DesktopFileBrowser>()),
      m_engine(std::make_unique<QQmlEngine>()),
      m_alertPanels(std::make_unique<QmlAlertPanels>(*m_engine))
{
    // The window and its first page compile on the engine's loader thread while this thread sets
    // up the model and then opens the fonts they show; start() then waits only for what is left.
    for (const QString &url : {mainQmlUrl(), firstPageQmlUrl()}) {
        m_compiling.push_back(std::make_unique<QQmlComponent>(
            m_engine.get(), QUrl(url), QQmlComponent::Asynchronous));
    }
    TimerServices services;
    services.settings = &FileDefaultsStore::standard();
    services.storageFolder = StoragePaths::storageFolder();
    services.wake = m_wake.get();
    services.alertPanels = m_alertPanels.get();
    services.sound = m_sound.get();
    services.dialogs = m_dialogs.get();
    services.fileBrowser = m_fileBrowser.get();
    services.readInBackground = true;
    services.loadInBackground = true;
    services.saveInBackground = true;
    m_model = std::make_unique<TimerModel>(FileDefaultsStore::standard(),
        &Instant::currentWallClock, std::function<void()>(), services);
    m_alertPanels->setModel(m_model.get());
    // The timing log reports when the list loaded in the background arrives: it is the first
    // change of the records, since nothing is saved before the load has finished.
    if (lcTiming().isInfoEnabled()) {
        connect(
            m_model.get(), &TimerModel::recordsChanged, this,
            [] {
                qCInfo(
                    lcTiming, "records loaded: %.0f ms after process start", msSinceProcessStart());
            },
            Qt::SingleShotConnection);
    }
    m_projectDraft = std::make_unique<ProjectDraft>(*m_model);

    m_trayHost = std::make_unique<SystemTrayHost>();
    connect(m_model.get(), &TimerModel::quitApproved, qApp, &QCoreApplication::quit,
        Qt::QueuedConnection);
    connect(m_model.get(), &TimerModel::pendingQuitChanged, this, [this] {
        // The question is asked in the main window, also when the user had closed it.
        QWindow *window = mainWindow();
        if (m_model->pendingQuit() && window) {
            window->show();
            bringMainWindowForward();
        }
    });
    // Ctrl+Q, "退出" in the close confirmation and a closed window without a tray all quit
    // through the model, which asks first while sessions wait to be written.
    m_keeper = std::make_unique<MainWindowKeeper>(
        *m_model, *m_trayHost, FileDefaultsStore::standard(), [this] { m_model->requestQuit(); });
}

VelmorsTimerApp::~VelmorsTimerApp()
{
    // Views go before what they show, and windows before the engine that built them: the window's
    // keeper, the tray, the alert panels, the main window with the engine, then the draft and the
    // model. The model keeps a pointer to the panels service, but nothing reaches it once the
    // loop has ended.
    m_keeper.reset();
    m_tray.reset();
    m_alertPanels.reset();
    m_compiling.clear();
    m_window.reset();
    m_engine.reset();
    m_projectDraft.reset();
    m_model.reset();
}

bool VelmorsTimerApp::start()
{
    // The loader thread has this thread set up each module it imports, and waits for it: those
    // requests (posted as QEvent::User) are answered between two fonts.
    StartupFonts::open([] { QCoreApplication::sendPostedEvents(nullptr, QEvent::User); });
    // Waits for what is left of the compiling.
    QQmlComponent component(m_engine.get(), QUrl(mainQmlUrl()));
    const QRect frame = m_keeper->initialFrame();
    m_window.reset(
        component.createWithInitialProperties({{u"model"_s, QVariant::fromValue(m_model.get())},
            {u"projectDraft"_s, QVariant::fromValue(m_projectDraft.get())},
            {u"keeper"_s, QVariant::fromValue(m_keeper.get())}, {u"x"_s, frame.x()},
            {u"y"_s, frame.y()}, {u"width"_s, frame.width()}, {u"height"_s, frame.height()}}));
    m_compiling.clear();
    QWindow *window = mainWindow();
    if (!window) {
        const QList<QQmlError> errors = component.errors();
        for (const QQmlError &error : errors)
            std::fprintf(stderr, "velmor-focus: %s\n", qPrintable(error.toString()));
        return false;
    }
    auto *quickWindow = qobject_cast<QQuickWindow *>(window);
    if (quickWindow && lcTiming().isInfoEnabled()) {
        // On the render thread, right after the swap: a queued report would add the event loop's
        // latency to the figure.
        connect(
            quickWindow, &QQuickWindow::frameSwapped, quickWindow,
            [] {
                qCInfo(lcTiming,
                    "first frame of the main window: %.0f ms after process start, "
                    "%.1f ms of processor time",
                    msSinceProcessStart(), processorMs());
            },
            Qt::ConnectionType(Qt::DirectConnection | Qt::SingleShotConnection));
    }

    if (quickWindow) {
        connect(quickWindow, &QQuickWindow::frameSwapped, this,
            &VelmorsTimerApp::startDesktopServices,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    // Also when no frame comes, as for a window that the window manager keeps unmapped.
    QTimer::singleShot(2000, this, &VelmorsTimerApp::startDesktopServices);
    // With a tray item the application lives on when its window closes, like the menu-bar item
    // it stands for. Without one nothing could bring the window back, so closing it quits (the
    // keeper decides at that moment, a tray may have come meanwhile); the alert panels are
    // windows too and must not keep such an application alive unseen.
    QApplication::setQuitOnLastWindowClosed(false);
    m_keeper->keep(window);
    return true;
}

void VelmorsTimerApp::startDesktopServices()
{
    if (m_tray)
        return;
    // Decoding a long list of records beside the window's first frame would slow it down.
    m_model->startLoadingRecords();
    // Reading the icon's images loads the image plugins: not before the first frame.
    QGuiApplication::setWindowIcon(applicationIcon());
    m_tray = std::make_unique<TrayItem>(*m_model, *m_trayHost);
    connect(
        m_tray.get(), &TrayItem::returnRequested, this, &VelmorsTimerApp::bringMainWindowForward);
    // Sessions kept while writing is locked would be lost: the model asks first.
    connect(m_tray.get(), &TrayItem::quitRequested, m_model.get(), &TimerModel::requestQuit);
    m_tray->showIfAvailable();
    m_wake->listen();
}

QWindow *VelmorsTimerApp::mainWindow() const
{
    return qobject_cast<QWindow *>(m_window.get());
}

QIcon VelmorsTimerApp::applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/velmor-focus-%1.png"_s.arg(size), QSize(size, size));
    return icon;
}

bool VelmorsTimerApp::installQtTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void VelmorsTimerApp::bringMainWindowForward()
{
    m_keeper->bringForward();
}

std::optional<QByteArray> VelmorsTimerApp::preferredPlatform(const QProcessEnvironment &environment)
{
    if (environment.contains(u"QT_QPA_PLATFORM"_s))
        return std::nullopt;
    const bool wayland = environment.value(u"XDG_SESSION_TYPE"_s) == u"wayland"_s
        || !environment.value(u"WAYLAND_DISPLAY"_s).isEmpty();
    const bool xwayland = !environment.value(u"DISPLAY"_s).isEmpty();
    if (wayland && xwayland)
        return QByteArrayLiteral("xcb");
    return std::nullopt;
}

std::optional<QSGRendererInterface::GraphicsApi> VelmorsTimerApp::preferredGraphicsApi(
    const QProcessEnvironment &environment, const std::function<QString()> &openGlRenderer)
{
    if (rendererChosenByUser(environment))
        return std::nullopt;
    const QString renderer = openGlRenderer();
    static const QStringList processorRasterizers = {
        u"llvmpipe"_s, u"softpipe"_s, u"swrast"_s, u"software rasterizer"_s};
    const bool drawnByProcessor = renderer.isEmpty()
        || std::any_of(processorRasterizers.begin(), processorRasterizers.end(),
            [&](const QString &name) { return renderer.contains(name, Qt::CaseInsensitive); });
    return drawnByProcessor ? QSGRendererInterface::Software : QSGRendererInterface::OpenGL;
}

bool VelmorsTimerApp::rendererChosenByUser(const QProcessEnvironment &environment)
{
    return environment.contains(u"QT_QUICK_BACKEND"_s)
        || environment.contains(u"QSG_RHI_BACKEND"_s);
}
