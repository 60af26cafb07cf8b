// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/mainwindowkeeper.h"
#include "ui/app/velmorstimerapp.h"

#include <QProcessEnvironment>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// The choices the application makes as it starts: the platform, the renderer and the window's
// frame on the screens.
class TestAppLaunch : public QObject {
    Q_OBJECT

    // "NAME=value NAME=value": the environment of a session.
    static QProcessEnvironment environmentOf(const QString &assignments)
    {
        QProcessEnvironment environment;
        for (const QString &assignment : assignments.split(u' ', Qt::SkipEmptyParts))
            environment.insert(assignment.section(u'=', 0, 0), assignment.section(u'=', 1));
        return environment;
    }

private Q_SLOTS:
    void shouldAskForXcbOnlyOnAWaylandSessionWithXWayland_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("platform");
        const QString wayland = u"XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-0"_s;
        QTest::newRow("Wayland session with XWayland") << wayland + u" DISPLAY=:0"_s << u"xcb"_s;
        QTest::newRow("Wayland without XWayland") << wayland << QString();
        QTest::newRow("X11 session") << u"XDG_SESSION_TYPE=x11 DISPLAY=:0"_s << QString();
        QTest::newRow("the user's own choice wins")
            << wayland + u" DISPLAY=:0 QT_QPA_PLATFORM=wayland"_s << QString();
    }

    void shouldAskForXcbOnlyOnAWaylandSessionWithXWayland()
    {
        QFETCH(QString, environment);
        QFETCH(QString, platform);
        const std::optional<QByteArray> chosen =
            VelmorsTimerApp::preferredPlatform(environmentOf(environment));
        QCOMPARE(chosen.value_or(QByteArray()), platform.toLatin1());
    }

    void shouldDrawInSoftwareOnlyWhereOpenGlIsSoftware_data()
    {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("openGlRenderer");
        // "software", "opengl", or empty for the user's own choice.
        QTest::addColumn<QString>("renderer");
        const QString llvmpipe = u"llvmpipe (LLVM 15.0.6, 256 bits)"_s;
        QTest::newRow("LLVM rasterizer") << QString() << llvmpipe << u"software"_s;
        QTest::newRow("integrated graphics")
            << QString() << u"Mesa Intel(R) UHD Graphics 620 (KBL GT2)"_s << u"opengl"_s;
        // A hardware driver that compiles its shaders with LLVM is still hardware.
        QTest::newRow("graphics card with an LLVM shader compiler")
            << QString() << u"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)"_s
            << u"opengl"_s;
        QTest::newRow("the user's backend wins over a rasterizer")
            << u"QT_QUICK_BACKEND=rhi"_s << llvmpipe << QString();
    }

    void shouldDrawInSoftwareOnlyWhereOpenGlIsSoftware()
    {
        QFETCH(QString, environment);
        QFETCH(QString, openGlRenderer);
        QFETCH(QString, renderer);
        int probes = 0;
        const auto chosen = VelmorsTimerApp::preferredGraphicsApi(environmentOf(environment), [&] {
            ++probes;
            return openGlRenderer;
        });
        const QHash<QString, QSGRendererInterface::GraphicsApi> apis {
            {u"software"_s, QSGRendererInterface::Software},
            {u"opengl"_s, QSGRendererInterface::OpenGL}};
        QCOMPARE(chosen, renderer.isEmpty() ? std::nullopt : std::optional(apis.value(renderer)));
        // OpenGL is not even started when the user chose.
        QCOMPARE(probes, chosen ? 1 : 0);
    }

    void shouldFitTheWindowOnTheScreens_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QSize>("minimum");

        const QRect desk(0, 0, 1920, 1050);
        const QRect laptop(1920, 0, 1366, 740);
        // 1080p at 150 %, under a panel of 40 pixels.
        const QRect scaled(0, 0, 1280, 680);
        QTest::newRow("nothing stored: the default size in the middle")
            << QRect() << QList<QRect> {desk, laptop} << QRect(510, 105, 900, 840)
            << QSize(820, 760);
        QTest::newRow("stored on the second screen")
            << QRect(2000, 10, 1000, 700) << QList<QRect> {desk, laptop}
            << QRect(2000, 0, 1000, 740) << QSize(820, 740);
        QTest::newRow("on a screen that is gone")
            << QRect(4000, 200, 900, 800) << QList<QRect> {desk} << QRect(1020, 200, 900, 800)
            << QSize(820, 760);
        QTest::newRow("1080p at 150 %") << QRect(100, 100, 900, 840) << QList<QRect> {scaled}
                                        << QRect(100, 0, 900, 680) << QSize(820, 680);
        QTest::newRow("smaller than the minimum")
            << QRect(300, 300, 400, 300) << QList<QRect> {desk} << QRect(300, 290, 820, 760)
            << QSize(820, 760);
    }

    void shouldFitTheWindowOnTheScreens()
    {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, areas);
        QFETCH(QRect, frame);
        QFETCH(QSize, minimum);
        const QRect fitted = MainWindowKeeper::fitted(stored, areas);
        QCOMPARE(fitted, frame);
        QCOMPARE(MainWindowKeeper::minimumWithin(*std::find_if(areas.cbegin(), areas.cend(),
                     [&](const QRect &area) { return area.contains(fitted); })),
            minimum);
    }
};

QTEST_MAIN(TestAppLaunch)
#include "tst_app_launch.moc"
