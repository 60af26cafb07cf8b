#include "platform/openglrenderer.h"
#include "platform/singleinstance.h"
#include "ui/velmorstimerapp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcessEnvironment>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTranslator>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <optional>

Q_IMPORT_QML_PLUGIN(VelmorFocusPlugin)

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // Must be decided before the application object picks its platform plugin.
    if (const auto platform =
            VelmorsTimerApp::preferredPlatform(QProcessEnvironment::systemEnvironment())) {
        qputenv("QT_QPA_PLATFORM", *platform);
    }

    // QApplication, not QGuiApplication: the tray item is a widget-module class.
    QApplication application(argc, argv);
    QApplication::setApplicationName(VelmorsTimerApp::windowTitle());
    QApplication::setDesktopFileName(u"velmor-focus"_s);
    QQuickStyle::setStyle(u"Basic"_s);

    // One running instance: a second launch brings the first one forward and leaves.
    SingleInstance instance(SingleInstance::defaultKey());
    switch (instance.claimOrHandOver()) {
    case SingleInstance::Launch::Primary:
        break;
    case SingleInstance::Launch::HandedOver:
        return 0;
    case SingleInstance::Launch::Failed:
        std::fprintf(stderr, "velmor-focus: %s\n", qUtf8Printable(instance.failureReason()));
        return 1;
    }

    // OpenGL names its renderer while the records load, unless the user chose the renderer or
    // there is no graphics device for it to be drawn by.
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    std::optional<OpenGlRendererProbe> openGl;
    if (!VelmorsTimerApp::rendererChosenByUser(environment)
        && OpenGlRendererProbe::hasGraphicsDevice()) {
        openGl.emplace();
    }

    // The interface is Chinese; so are Qt's own dialogs (the open and save panels).
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    VelmorsTimerApp app;
    // Before the first window: OpenGL on graphics hardware; where OpenGL is drawn by the
    // processor, the software renderer, which repaints only the small areas that change five
    // times a second instead of the whole window.
    if (const auto api = VelmorsTimerApp::preferredGraphicsApi(
            environment, [&] { return openGl ? openGl->name() : QString(); })) {
        QQuickWindow::setGraphicsApi(*api);
    }
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
        &VelmorsTimerApp::bringMainWindowForward);
    if (!app.start()) {
        std::fputs("velmor-focus: the main window could not be created\n", stderr);
        return 1;
    }
    return application.exec();
}
