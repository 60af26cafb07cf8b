// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"
#include "ui/app/trayhost.h"
#include "ui/app/trayitem.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The real model on doubles, with its tray item in a status area of the test's (or the desktop's).
struct Tray {
    explicit Tray(TrayHost *desktopHost = nullptr)
    {
        services.storageFolder = folder.filePath(u"VelmorTimer"_s);
        services.todayClock = clock.clock();
        services.sound = &sound;
        services.alertPanels = &panels;
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
        item = std::make_unique<TrayItem>(*model, desktopHost ? *desktopHost : host);
    }

    // Ticks as the model's ticker does, five times a second, for whole seconds; each second ends
    // exactly on the second, so that sums of 0.2 do not drift.
    void run(int seconds)
    {
        for (int second = 0; second < seconds; ++second) {
            const double from = clock.now();
            for (int step = 1; step <= 5; ++step) {
                clock.set(step == 5 ? from + 1 : from + 0.2 * step);
                model->tick();
            }
        }
    }

    QStringList menuLabels() const
    {
        QStringList labels;
        const QList<QAction *> actions = item->menu()->actions();
        for (const QAction *action : actions) {
            // As the menu shows it: the label, and the key that does the same in the window.
            const QString keys = action->shortcut().toString();
            labels.append(action->isSeparator() ? u"—"_s
                    : keys.isEmpty()            ? action->text()
                                                : action->text() + u'\t' + keys);
        }
        return labels;
    }

    QTemporaryDir folder;
    FakeClock clock;
    MemoryDefaultsStore defaults;
    RecordingSoundService sound;
    RecordingAlertPanels panels;
    FakeTrayHost host;
    TimerServices services;
    std::unique_ptr<TimerModel> model;
    std::unique_ptr<TrayItem> item;
};

} // namespace

class TestTrayItem : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void shouldOfferTheFourEntriesInOrder_data();
    void shouldOfferTheFourEntriesInOrder();
    void shouldPauseARunningSession();
    void shouldResumeAPausedSession();
    void shouldStartAnIdleSession();
    void shouldDoNothingWhenStartingAFinishedSession();
    void shouldResetAtOnceWithoutAskingOrRecording();
    void shouldMatchTheStateWheneverTheMenuOpens();
    void shouldAskForTheWindowAndForQuitting();
    void shouldAnnounceTheTimeLeftAndTheState();
    void shouldRedrawTheIconOnlyWhenItChanges();
    void shouldDrawTheIconAtThePixelRatioOfItsScreen();
    void shouldShowTheIconWhileATrayHostIsThere();
    void shouldAppearInTheDesktopsTray();
};

void TestTrayItem::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestTrayItem::shouldOfferTheFourEntriesInOrder_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("secondEntry");
    QTest::newRow("idle") << u"idle"_s << u"开始 / 继续"_s;
    QTest::newRow("running") << u"running"_s << u"暂停"_s;
    QTest::newRow("paused") << u"paused"_s << u"开始 / 继续"_s;
    QTest::newRow("finished") << u"finished"_s << u"开始 / 继续"_s;
}

void TestTrayItem::shouldOfferTheFourEntriesInOrder()
{
    QFETCH(QString, state);
    QFETCH(QString, secondEntry);
    Tray tray;
    tray.model->setMinutes(1);
    if (state != u"idle"_s)
        tray.model->start();
    if (state == u"paused"_s)
        tray.model->pause();
    if (state == u"finished"_s)
        tray.run(61);

    QCOMPARE(tray.menuLabels(),
        QStringList(
            {u"回到计时器"_s, secondEntry + u"\tSpace"_s, u"重置"_s, u"—"_s, u"退出\tCtrl+Q"_s}));
    QCOMPARE(tray.item->startPauseAction()->text(), secondEntry);
    QVERIFY(tray.item->startPauseAction()->isEnabled());
    // The way back to the window wears the application's icon, drawn for a menu's sizes.
    const QIcon icon = tray.item->returnAction()->icon();
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(22, 22)));
    // At the application's highest pixel ratio: 22 points, whatever the pixels.
    QCOMPARE(icon.pixmap(22).deviceIndependentSize().toSize(), QSize(22, 22));
}

void TestTrayItem::shouldPauseARunningSession()
{
    Tray tray;
    tray.model->start();
    tray.run(3);

    tray.item->startPauseAction()->trigger();

    QVERIFY(!tray.model->running());
    QVERIFY(tray.model->started());
    QCOMPARE(tray.model->display(), u"24:57"_s);
    QCOMPARE(tray.item->startPauseAction()->text(), u"开始 / 继续"_s);
}

void TestTrayItem::shouldResumeAPausedSession()
{
    Tray tray;
    tray.model->start();
    tray.run(3);
    tray.model->pause();
    tray.clock.advance(600);

    tray.item->startPauseAction()->trigger();

    QVERIFY(tray.model->running());
    QCOMPARE(tray.item->startPauseAction()->text(), u"暂停"_s);
    tray.run(1);
    QCOMPARE(tray.model->display(), u"24:56"_s);
}

void TestTrayItem::shouldStartAnIdleSession()
{
    Tray tray;
    tray.item->startPauseAction()->trigger();
    QVERIFY(tray.model->running());
    QCOMPARE(tray.model->duration(), 25 * 60.0);
}

void TestTrayItem::shouldDoNothingWhenStartingAFinishedSession()
{
    Tray tray;
    tray.model->setMinutes(1);
    tray.model->start();
    tray.run(61);
    QCOMPARE(tray.model->records().size(), 1);
    QVERIFY(tray.panels.visible);
    const QString display = tray.model->display();
    QSignalSpy running(tray.model.get(), &TimerModel::runningChanged);

    tray.item->startPauseAction()->trigger();
    tray.run(5);

    QVERIFY(!tray.model->running());
    QCOMPARE(running.count(), 0);
    QCOMPARE(tray.model->display(), display);
    QCOMPARE(tray.model->records().size(), 1);
    // The alert stays up until it is answered.
    QVERIFY(tray.panels.visible);
    QCOMPARE(tray.item->startPauseAction()->text(), u"开始 / 继续"_s);
}

void TestTrayItem::shouldResetAtOnceWithoutAskingOrRecording()
{
    Tray tray;
    tray.model->setMinutes(30);
    tray.model->start();
    tray.run(10 * 60);

    tray.item->resetAction()->trigger();

    QVERIFY(!tray.model->started());
    QVERIFY(!tray.model->running());
    QVERIFY(!tray.model->pendingReset());
    QVERIFY(!tray.model->pendingFinish());
    QCOMPARE(tray.model->display(), u"30:00"_s);
    QVERIFY(tray.model->records().isEmpty());
    QCOMPARE(tray.item->startPauseAction()->text(), u"开始 / 继续"_s);
}

void TestTrayItem::shouldMatchTheStateWheneverTheMenuOpens()
{
    Tray tray;
    QMenu *menu = tray.item->menu();
    QAction *entry = tray.item->startPauseAction();
    tray.model->start();
    Q_EMIT menu->aboutToShow();
    QCOMPARE(entry->text(), u"暂停"_s);
    // Changed from the window while the menu is closed.
    tray.model->pause();
    Q_EMIT menu->aboutToShow();
    QCOMPARE(entry->text(), u"开始 / 继续"_s);
    tray.model->start();
    QCOMPARE(entry->text(), u"暂停"_s);
}

void TestTrayItem::shouldAskForTheWindowAndForQuitting()
{
    Tray tray;
    QSignalSpy returns(tray.item.get(), &TrayItem::returnRequested);
    QSignalSpy quits(tray.item.get(), &TrayItem::quitRequested);
    tray.model->start();

    tray.item->returnAction()->trigger();
    QCOMPARE(returns.count(), 1);
    QCOMPARE(quits.count(), 0);
    QVERIFY(tray.model->running());

    tray.item->quitAction()->trigger();
    QCOMPARE(quits.count(), 1);
    QCOMPARE(returns.count(), 1);
}

void TestTrayItem::shouldAnnounceTheTimeLeftAndTheState()
{
    Tray tray;
    QCOMPARE(tray.item->icon().toolTip(), u"专注计时器，25:00，已停止"_s);

    tray.model->start();
    QCOMPARE(tray.item->icon().toolTip(), u"专注计时器，25:00，计时中"_s);
    tray.run(1);
    QCOMPARE(tray.item->icon().toolTip(), u"专注计时器，24:59，计时中"_s);

    tray.run(12 * 60 + 54);
    tray.model->pause();
    QCOMPARE(tray.item->icon().toolTip(), u"专注计时器，12:05，已停止"_s);
}

void TestTrayItem::shouldRedrawTheIconOnlyWhenItChanges()
{
    Tray tray;
    QVERIFY(!tray.item->icon().icon().isNull());
    QSignalSpy redraws(tray.item.get(), &TrayItem::iconRedrawn);

    // Running turns the badge red; the figure "25" stays.
    tray.model->start();
    QCOMPARE(redraws.count(), 1);
    // 25:00 → 24:59 changes the figure to "24"; the next 59 seconds show "24" again.
    tray.run(1);
    QCOMPARE(redraws.count(), 2);
    tray.run(59);
    QCOMPARE(tray.model->display(), u"24:00"_s);
    QCOMPARE(redraws.count(), 2);
    tray.run(1);
    QCOMPARE(redraws.count(), 3);
    const QIcon drawn = tray.item->icon().icon();

    // In the last minute the seconds count: every second is a new icon.
    tray.run(22 * 60 + 59);
    QCOMPARE(tray.model->display(), u"01:00"_s);
    const int beforeLastMinute = redraws.count();
    tray.run(3);
    QCOMPARE(redraws.count(), beforeLastMinute + 3);
    QVERIFY(tray.item->icon().icon().cacheKey() != drawn.cacheKey());

    // Paused: the badge turns grey once, and nothing more while it waits.
    tray.model->pause();
    const int paused = redraws.count();
    QCOMPARE(paused, beforeLastMinute + 4);
    tray.clock.advance(3600);
    tray.model->tick();
    QCOMPARE(redraws.count(), paused);
}

void TestTrayItem::shouldDrawTheIconAtThePixelRatioOfItsScreen()
{
    // Offscreen the tray tells no place, so the icon is on the primary screen, at scale 1, while
    // the other screen is at scale 2.
    QScreen *primary = QGuiApplication::primaryScreen();
    QVERIFY(primary);
    qreal highest = 1;
    for (const QScreen *screen : QGuiApplication::screens())
        highest = std::max(highest, screen->devicePixelRatio());
    if (highest == primary->devicePixelRatio())
        QSKIP("needs a screen of another scale than the primary one");
    Tray tray;
    QCOMPARE(tray.item->iconPixelRatio(), primary->devicePixelRatio());
    const QSize pixels = QSize(22, 22) * primary->devicePixelRatio();
    QCOMPARE(tray.item->icon().icon().availableSizes(), QList<QSize>({pixels}));
}

void TestTrayItem::shouldShowTheIconWhileATrayHostIsThere()
{
    Tray tray;
    QVERIFY(!tray.item->showIfAvailable());
    QVERIFY(!tray.item->icon().isVisible());
    // A panel that starts after the application.
    tray.host.setAvailable(true);
    QVERIFY(tray.item->icon().isVisible());
    // It goes, and comes back: the icon is docked anew.
    tray.host.setAvailable(false);
    QVERIFY(!tray.item->icon().isVisible());
    tray.host.setAvailable(true);
    QVERIFY(tray.item->icon().isVisible());

    // Before the application asked for the icon, a host alone shows nothing.
    Tray early;
    early.host.setAvailable(true);
    QVERIFY(!early.item->icon().isVisible());
    QVERIFY(early.item->showIfAvailable());
}

void TestTrayItem::shouldAppearInTheDesktopsTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (qEnvironmentVariableIsSet("VELMOR_REQUIRE_TRAY"))
            QFAIL("no system tray on this desktop");
        QSKIP("no system tray here; scripts/with-test-desktop provides one");
    }
    SystemTrayHost host;
    Tray tray(&host);
    QVERIFY(tray.item->showIfAvailable());
    QVERIFY(tray.item->icon().isVisible());
    // Docked: the icon settles in the tray host's panel along the bottom edge of the screen, not
    // where an undocked window would wait. While the host embeds it the icon passes through
    // other geometries, so both conditions are awaited together.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const auto docked = [&] {
        const QRect icon = tray.item->icon().geometry();
        return icon.bottom() >= screen.bottom() - 30 && screen.contains(icon);
    };
    QTRY_VERIFY_WITH_TIMEOUT(docked(), 5000);
}

int main(int argc, char **argv)
{
    // Offscreen, two screens of different scales (the platform takes a screen's scale from its
    // logical DPI); the first by name, at scale 1, is the primary one.
    QTemporaryFile screens;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        const QByteArray config = R"({"screens": [
            {"name": "a plain", "x": 0, "y": 0, "width": 1280, "height": 1000, "logicalDpi": 96, "dpr": 1},
            {"name": "b dense", "x": 1280, "y": 0, "width": 2560, "height": 1600, "logicalDpi": 192, "dpr": 1}
        ]})";
        if (!screens.open() || screens.write(config) != config.size() || !screens.flush())
            return 2;
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    QApplication application(argc, argv);
    TestTrayItem test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_trayitem.moc"
