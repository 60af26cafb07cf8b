// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The yardstick of bench/measure-app: the smallest Qt Quick Controls window, drawn and reported as
// the application's main window is (Basic style, 900 x 840, the same renderer choice, the same
// first-frame line on the velmor.timing category), holding one label and one button.

#include "platform/openglrenderer.h"
#include "platform/processclock.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QProcessEnvironment>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

Q_LOGGING_CATEGORY(lcTiming, "velmor.timing", QtWarningMsg)

const char window[] = R"(
import QtQuick
import QtQuick.Controls.Basic

ApplicationWindow {
    width: 900
    height: 840
    visible: true
    title: "bare"
    Column {
        anchors.centerIn: parent
        spacing: 12
        Label { text: "25:00"; font.pixelSize: 48 }
        Button { text: "开始" }
    }
}
)";

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    QQuickStyle::setStyle(u"Basic"_s);

    // The application's rule: OpenGL only where graphics hardware draws it.
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(u"QT_QUICK_BACKEND"_s)
        && !environment.contains(u"QSG_RHI_BACKEND"_s)) {
        QString renderer;
        if (OpenGlRendererProbe::hasGraphicsDevice())
            renderer = OpenGlRendererProbe().name();
        const bool processor = renderer.isEmpty() || renderer.contains(u"llvmpipe"_s)
            || renderer.contains(u"softpipe"_s) || renderer.contains(u"swrast"_s);
        QQuickWindow::setGraphicsApi(
            processor ? QSGRendererInterface::Software : QSGRendererInterface::OpenGL);
    }

    QQmlApplicationEngine engine;
    engine.loadData(window, QUrl(u"bare.qml"_s));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *quickWindow = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (quickWindow && lcTiming().isInfoEnabled()) {
        QObject::connect(
            quickWindow, &QQuickWindow::frameSwapped, quickWindow,
            [] {
                qCInfo(lcTiming,
                    "first frame of the main window: %.0f ms after process start, "
                    "%.1f ms of processor time",
                    msSinceProcessStart(), processorMs());
            },
            Qt::ConnectionType(Qt::DirectConnection | Qt::SingleShotConnection));
    }
    return application.exec();
}
