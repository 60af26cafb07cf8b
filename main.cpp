#include "platform/singleinstance.h"
#include "ui/velmorstimerapp.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

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
    // The window is flat and changes in small areas five times a second: Qt Quick's software
    // renderer repaints just those areas. OpenGL, on the many desktops that draw it with an LLVM
    // rasterizer, would cost a hundred megabytes and a sixth of a core while a session runs.
    // QT_QUICK_BACKEND still chooses otherwise.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);

    // One running instance: a second launch brings the first one forward and leaves.
    SingleInstance instance(SingleInstance::defaultKey());
    if (!instance.claim()) {
        instance.notifyPrimary();
        return 0;
    }

    // The interface is Chinese; so are Qt's own dialogs (the open and save panels).
    VelmorsTimerApp::installQtTranslations();

    VelmorsTimerApp app;
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
        &VelmorsTimerApp::bringMainWindowForward);
    if (!app.start())
        return 1;
    return application.exec();
}
