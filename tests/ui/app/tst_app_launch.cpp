// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtfiledialogs.h"
#include "records/csvexport.h"
#include "ui/app/mainwindowkeeper.h"
#include "ui/app/velmorstimerapp.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A user of their own: home, configuration, data and runtime folders in a temporary folder, and
// the offscreen platform. The scene graph's renderer reports every frame it draws: a first frame
// tells that the main window really came up.
class Sandbox {
public:
    Sandbox()
    {
        for (const QString &name : {u"home"_s, u"config"_s, u"data"_s, u"cache"_s, u"runtime"_s})
            QDir(m_root.path()).mkpath(name);
        QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"XDG_SESSION_TYPE"_s,
                 u"DBUS_SESSION_BUS_ADDRESS"_s, u"QT_QPA_PLATFORM"_s}) {
            m_environment.remove(name);
        }
        m_environment.insert(u"HOME"_s, path(u"home"_s));
        m_environment.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
        m_environment.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
        m_environment.insert(u"XDG_CACHE_HOME"_s, path(u"cache"_s));
        m_environment.insert(u"XDG_RUNTIME_DIR"_s, runtime());
        m_environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_environment.insert(u"QT_QUICK_BACKEND"_s, u"software"_s);
        m_environment.insert(u"QT_LOGGING_RULES"_s, u"qt.scenegraph.time.renderer=true"_s);
    }

    QString path(const QString &name) const { return m_root.filePath(name); }
    QString runtime() const { return path(u"runtime"_s); }

    // runtime: another runtime folder, as a launch from another session of the same user has.
    std::unique_ptr<QProcess> launch(const QString &runtime = {}) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = m_environment;
        if (!runtime.isEmpty())
            environment.insert(u"XDG_RUNTIME_DIR"_s, runtime);
        process->setProcessEnvironment(environment);
        process->setProgram(QStringLiteral(VELMOR_FOCUS_BINARY));
        process->start();
        return process;
    }

private:
    QTemporaryDir m_root;
    QProcessEnvironment m_environment;
};

bool windowCameUp(QProcess &process, QByteArray &output)
{
    output += process.readAllStandardError();
    return output.contains("time in renderer");
}

void stop(QProcess &process)
{
    process.kill();
    process.waitForFinished(5000);
}

QProcessEnvironment environmentOf(const QStringList &assignments)
{
    QProcessEnvironment environment;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        environment.insert(assignment.left(equals), assignment.mid(equals + 1));
    }
    return environment;
}

} // namespace

class TestAppLaunch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldAskForXcbOnlyOnAWaylandSessionWithXWayland_data();
    void shouldAskForXcbOnlyOnAWaylandSessionWithXWayland();
    void shouldDrawInSoftwareOnlyWhereOpenGlIsSoftware_data();
    void shouldDrawInSoftwareOnlyWhereOpenGlIsSoftware();
    void shouldFitTheWindowOnTheScreens_data();
    void shouldFitTheWindowOnTheScreens();
    void shouldShowQtsOwnDialogsInChinese();
    void shouldOfferEveryFileBesideTheAudioFiles();
    void shouldHandASecondLaunchOverToTheRunningOne();
    void shouldStartAfterTheRunningOneWasKilled();
    void shouldRunOneInstanceWhenLaunchedSeveralTimesAtOnce();
};

void TestAppLaunch::shouldAskForXcbOnlyOnAWaylandSessionWithXWayland_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("platform");
    QTest::newRow("Wayland session with XWayland") << QStringList {u"XDG_SESSION_TYPE=wayland"_s,
        u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY=:0"_s}
                                                   << u"xcb"_s;
    QTest::newRow("Wayland display alone names the session")
        << QStringList {u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY=:1"_s} << u"xcb"_s;
    QTest::newRow("Wayland session type alone names the session")
        << QStringList {u"XDG_SESSION_TYPE=wayland"_s, u"DISPLAY=:0"_s} << u"xcb"_s;
    QTest::newRow("Wayland without XWayland")
        << QStringList {u"XDG_SESSION_TYPE=wayland"_s, u"WAYLAND_DISPLAY=wayland-0"_s} << QString();
    QTest::newRow("Wayland with an empty DISPLAY")
        << QStringList {u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY="_s} << QString();
    QTest::newRow("X11 session") << QStringList {u"XDG_SESSION_TYPE=x11"_s, u"DISPLAY=:0"_s}
                                 << QString();
    QTest::newRow("the user's own choice wins") << QStringList {u"XDG_SESSION_TYPE=wayland"_s,
        u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY=:0"_s, u"QT_QPA_PLATFORM=wayland"_s}
                                                << QString();
    QTest::newRow("no session at all") << QStringList() << QString();
}

void TestAppLaunch::shouldAskForXcbOnlyOnAWaylandSessionWithXWayland()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, platform);
    const std::optional<QByteArray> chosen =
        VelmorsTimerApp::preferredPlatform(environmentOf(environment));
    QCOMPARE(chosen.has_value(), !platform.isEmpty());
    if (chosen)
        QCOMPARE(QString::fromLatin1(*chosen), platform);
}

void TestAppLaunch::shouldDrawInSoftwareOnlyWhereOpenGlIsSoftware_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("openGlRenderer");
    // "software", "opengl", or empty for the user's own choice.
    QTest::addColumn<QString>("renderer");
    QTest::newRow("LLVM rasterizer")
        << QStringList() << u"llvmpipe (LLVM 15.0.6, 256 bits)"_s << u"software"_s;
    QTest::newRow("Gallium reference rasterizer")
        << QStringList() << u"softpipe"_s << u"software"_s;
    QTest::newRow("classic Mesa rasterizer")
        << QStringList() << u"Software Rasterizer"_s << u"software"_s;
    QTest::newRow("no OpenGL") << QStringList() << QString() << u"software"_s;
    QTest::newRow("integrated graphics")
        << QStringList() << u"Mesa Intel(R) UHD Graphics 620 (KBL GT2)"_s << u"opengl"_s;
    // A hardware driver that compiles its shaders with LLVM is still hardware.
    QTest::newRow("graphics card with an LLVM shader compiler")
        << QStringList() << u"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)"_s
        << u"opengl"_s;
    QTest::newRow("the user's backend wins over hardware")
        << QStringList {u"QT_QUICK_BACKEND=software"_s} << u"NVIDIA GeForce GTX 1060/PCIe/SSE2"_s
        << QString();
    QTest::newRow("the user's backend wins over a rasterizer")
        << QStringList {u"QT_QUICK_BACKEND=rhi"_s} << u"llvmpipe (LLVM 15.0.6, 256 bits)"_s
        << QString();
    QTest::newRow("the user's graphics API wins")
        << QStringList {u"QSG_RHI_BACKEND=opengl"_s} << u"llvmpipe (LLVM 15.0.6, 256 bits)"_s
        << QString();
}

void TestAppLaunch::shouldDrawInSoftwareOnlyWhereOpenGlIsSoftware()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, openGlRenderer);
    QFETCH(QString, renderer);
    int probes = 0;
    const auto chosen = VelmorsTimerApp::preferredGraphicsApi(environmentOf(environment), [&] {
        ++probes;
        return openGlRenderer;
    });
    QCOMPARE(chosen.has_value(), !renderer.isEmpty());
    if (chosen) {
        QCOMPARE(*chosen,
            renderer == u"software"_s ? QSGRendererInterface::Software
                                      : QSGRendererInterface::OpenGL);
    }
    // OpenGL is not even started when the user chose.
    QCOMPARE(probes, chosen ? 1 : 0);
}

void TestAppLaunch::shouldFitTheWindowOnTheScreens_data()
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
        << QRect() << QList<QRect> {desk, laptop} << QRect(510, 105, 900, 840) << QSize(820, 760);
    QTest::newRow("stored on the second screen")
        << QRect(2000, 10, 1000, 700) << QList<QRect> {desk, laptop} << QRect(2000, 0, 1000, 740)
        << QSize(820, 740);
    QTest::newRow("mostly on the second screen")
        << QRect(1500, 0, 900, 760) << QList<QRect> {desk, laptop} << QRect(1920, 0, 900, 740)
        << QSize(820, 740);
    QTest::newRow("on a screen that is gone") << QRect(4000, 200, 900, 800) << QList<QRect> {desk}
                                              << QRect(1020, 200, 900, 800) << QSize(820, 760);
    QTest::newRow("a 768-pixel screen") << QRect() << QList<QRect> {QRect(0, 28, 1366, 740)}
                                        << QRect(233, 28, 900, 740) << QSize(820, 740);
    QTest::newRow("1080p at 150 %") << QRect(100, 100, 900, 840) << QList<QRect> {scaled}
                                    << QRect(100, 0, 900, 680) << QSize(820, 680);
    QTest::newRow("larger than the screen")
        << QRect(-50, -50, 3000, 2000) << QList<QRect> {desk} << desk << QSize(820, 760);
    QTest::newRow("smaller than the minimum") << QRect(300, 300, 400, 300) << QList<QRect> {desk}
                                              << QRect(300, 290, 820, 760) << QSize(820, 760);
}

void TestAppLaunch::shouldFitTheWindowOnTheScreens()
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

void TestAppLaunch::shouldShowQtsOwnDialogsInChinese()
{
    QVERIFY2(VelmorsTimerApp::installQtTranslations(),
        "Qt's Chinese translations are missing (qt6-translations-l10n)");
    const std::unique_ptr<QFileDialog> dialog =
        QtFileDialogs::saveDialog(CsvExport::suggestedFileName(), CsvExport::nameFilter());
    // Qt's own dialog, as on a desktop that offers none of its own.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    const auto *buttons = dialog->findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    QStringList texts;
    const QList<QAbstractButton *> all = buttons->buttons();
    for (const QAbstractButton *button : all)
        texts.append(button->text());
    QVERIFY2(texts.size() == 2 && texts.join(u'|').contains(u"保存"_s)
            && texts.join(u'|').contains(u"取消"_s),
        qPrintable(texts.join(u'|')));
}

void TestAppLaunch::shouldOfferEveryFileBesideTheAudioFiles()
{
    const QStringList filters = QtFileDialogs::audioDialog()->nameFilters();
    QCOMPARE(filters.size(), 2);
    QVERIFY(filters.first().startsWith(u"音频文件 (*.wav *.WAV"_s));
    QCOMPARE(filters.last(), u"所有文件 (*)"_s);
}

void TestAppLaunch::shouldHandASecondLaunchOverToTheRunningOne()
{
    Sandbox sandbox;
    const std::unique_ptr<QProcess> first = sandbox.launch();
    QVERIFY2(first->waitForStarted(5000), qPrintable(first->errorString()));
    QByteArray firstOutput;
    QTRY_VERIFY_WITH_TIMEOUT(windowCameUp(*first, firstOutput), 20000);

    // From another session: another runtime folder, the same records.
    const QString otherRuntime = sandbox.path(u"other-runtime"_s);
    QVERIFY(QDir().mkpath(otherRuntime));
    QVERIFY(QFile::setPermissions(
        otherRuntime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const std::unique_ptr<QProcess> second = sandbox.launch(otherRuntime);
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    // The second launch never built a window.
    QVERIFY2(!second->readAllStandardError().contains("time in renderer"), "the second one drew");

    // The first one took the knock and runs on.
    QCOMPARE(first->state(), QProcess::Running);
    // The lock lives beside the records, where every session of the user meets it; the storage
    // folder itself waits for the first save.
    QVERIFY(QFile::exists(sandbox.path(u"data/.velmor-focus.lock"_s)));
    QVERIFY(!QFileInfo::exists(sandbox.path(u"data/VelmorTimer"_s)));
    stop(*first);
    QCOMPARE(first->exitStatus(), QProcess::CrashExit);
}

void TestAppLaunch::shouldStartAfterTheRunningOneWasKilled()
{
    Sandbox sandbox;
    const std::unique_ptr<QProcess> first = sandbox.launch();
    QByteArray firstOutput;
    QTRY_VERIFY_WITH_TIMEOUT(windowCameUp(*first, firstOutput), 20000);
    stop(*first);

    // The lock and the socket of the killed process are left behind; they bind no one.
    const std::unique_ptr<QProcess> next = sandbox.launch();
    QByteArray nextOutput;
    QTRY_VERIFY_WITH_TIMEOUT(windowCameUp(*next, nextOutput), 20000);
    QCOMPARE(next->state(), QProcess::Running);
    stop(*next);
}

void TestAppLaunch::shouldRunOneInstanceWhenLaunchedSeveralTimesAtOnce()
{
    Sandbox sandbox;
    // Started back to back, before any of them can have taken the lock.
    std::vector<std::unique_ptr<QProcess>> launches;
    for (int i = 0; i < 4; ++i)
        launches.push_back(sandbox.launch());
    for (const auto &launch : launches)
        QVERIFY2(launch->waitForStarted(5000), qPrintable(launch->errorString()));

    // All but one hand over and leave; the one that stays is the only one that drew a window.
    const auto running = [&] {
        return std::count_if(launches.cbegin(), launches.cend(),
            [](const auto &launch) { return launch->state() == QProcess::Running; });
    };
    QTRY_COMPARE_WITH_TIMEOUT(running(), 1, 20000);
    QTest::qWait(1000);
    QCOMPARE(running(), 1);
    int drew = 0;
    for (const auto &launch : launches) {
        QByteArray output;
        if (launch->state() == QProcess::Running) {
            QTRY_VERIFY_WITH_TIMEOUT(windowCameUp(*launch, output), 20000);
            ++drew;
            stop(*launch);
        } else {
            QCOMPARE(launch->exitStatus(), QProcess::NormalExit);
            QCOMPARE(launch->exitCode(), 0);
            drew += windowCameUp(*launch, output) ? 1 : 0;
        }
    }
    QCOMPARE(drew, 1);
}

QTEST_MAIN(TestAppLaunch)
#include "tst_app_launch.moc"
