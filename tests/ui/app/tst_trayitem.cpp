// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"
#include "ui/app/timermenulabel.h"
#include "ui/app/trayhost.h"
#include "ui/app/trayitem.h"

#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void shouldActFromTheMenuWithoutAsking_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("records");
        // One second after the entry was chosen.
        QTest::addColumn<QString>("display");

        QTest::newRow("start") << u"idle"_s << false << true << 0 << u"00:59"_s;
        QTest::newRow("pause") << u"running"_s << false << false << 0 << u"00:57"_s;
        // Resumed after ten minutes' pause, from where it was.
        QTest::newRow("resume") << u"paused"_s << false << true << 0 << u"00:56"_s;
        // Ran to zero: the alert stays up until it is answered, and nothing starts.
        QTest::newRow("start when finished") << u"finished"_s << false << false << 1 << u"00:00"_s;
        // At once, and nothing recorded.
        QTest::newRow("reset") << u"running"_s << true << false << 0 << u"01:00"_s;
    }

    void shouldActFromTheMenuWithoutAsking()
    {
        QFETCH(QString, state);
        QFETCH(bool, reset);
        QFETCH(bool, running);
        QFETCH(int, records);
        QFETCH(QString, display);
        Tray tray;
        tray.model->setMinutes(1);
        if (state != u"idle"_s) {
            tray.model->start();
            tray.run(state == u"finished"_s ? 61 : 3);
        }
        if (state == u"paused"_s) {
            tray.model->pause();
            tray.clock.advance(600);
        }

        (reset ? tray.item->resetAction() : tray.item->startPauseAction())->trigger();
        tray.run(1);
        QCOMPARE(tray.model->running(), running);
        if (state != u"finished"_s)
            QCOMPARE(tray.model->started(), !reset);
        QVERIFY(!tray.model->pendingReset() && !tray.model->pendingFinish());
        QCOMPARE(tray.model->records().size(), records);
        QCOMPARE(tray.panels.visible, records > 0);
        QCOMPARE(tray.model->display(), display);
        QCOMPARE(tray.item->startPauseAction()->text(), running ? u"暂停"_s : u"开始 / 继续"_s);
        QVERIFY(tray.item->startPauseAction()->isEnabled());
    }

    void shouldRedrawTheIconOnlyWhenItChanges()
    {
        Tray tray;
        QSignalSpy redraws(tray.item.get(), &TrayItem::iconRedrawn);

        // Running turns the badge red; the figure "25" stays.
        tray.model->start();
        QCOMPARE(redraws.count(), 1);
        // 25:00 → 24:59 changes the figure to "24"; the next 59 seconds show "24" again.
        tray.run(60);
        QCOMPARE(redraws.count(), 2);
        tray.run(1);
        QCOMPARE(redraws.count(), 3);

        // In the last minute the seconds count: every second is a new icon.
        tray.run(22 * 60 + 59);
        const int beforeLastMinute = redraws.count();
        tray.run(3);
        QCOMPARE(redraws.count(), beforeLastMinute + 3);

        // Paused: the badge turns grey once, and nothing more while it waits.
        tray.model->pause();
        tray.clock.advance(3600);
        tray.model->tick();
        QCOMPARE(redraws.count(), beforeLastMinute + 4);
    }

    void shouldAppearInTheDesktopsTray()
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
        // Docked: the icon settles in the tray host's panel along the bottom edge of the screen,
        // not where an undocked window would wait. While the host embeds it the icon passes
        // through other geometries, so both conditions are awaited together.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const auto docked = [&] {
            const QRect icon = tray.item->icon().geometry();
            return icon.bottom() >= screen.bottom() - 30 && screen.contains(icon);
        };
        QTRY_VERIFY_WITH_TIMEOUT(docked(), 5000);
    }

    void shouldPickTheFiguresThatFitTheIcon_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("expected");

        QTest::newRow("idle default length") << u"25:00"_s << u"25"_s;
        QTest::newRow("hours become minutes") << u"1:30:00"_s << u"90"_s;
        QTest::newRow("from 100 minutes, hours") << u"1:40:00"_s << u"1h"_s;
        QTest::newRow("clock set back past 99 hours") << u"100:59:59"_s << u"99+"_s;
        QTest::newRow("last minute shows seconds") << u"00:59"_s << u"59"_s;
        QTest::newRow("nothing left") << u"00:00"_s << u"0"_s;
        QTest::newRow("words") << u"abc"_s << u"--"_s;
        QTest::newRow("seconds past 59") << u"00:60"_s << u"--"_s;
        QTest::newRow("non-ASCII digits") << u"٢٥:٠٠"_s << u"--"_s;
    }

    void shouldPickTheFiguresThatFitTheIcon()
    {
        QFETCH(QString, display);
        QFETCH(QString, expected);
        QCOMPARE(TimerMenuLabel::iconText(display), expected);
        QVERIFY(TimerMenuLabel::iconText(display).size() <= 3);
    }
};

QTEST_MAIN(TestTrayItem)
#include "tst_trayitem.moc"
