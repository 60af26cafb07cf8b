// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/fakeclock.h"
#include "model/countdown.h"

#include <QTest>

using namespace Qt::StringLiterals;

class CountdownTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldShowTimeLeftRoundedUp_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<double>("runFor"); // seconds counted down before reading; -1: idle
        QTest::addColumn<QString>("expected");

        QTest::newRow("idle default") << 0 << 25 << 0 << -1.0 << u"25:00"_s;
        QTest::newRow("one hour") << 1 << 0 << 0 << -1.0 << u"1:00:00"_s;
        QTest::newRow("4000 seconds") << 1 << 6 << 40 << -1.0 << u"1:06:40"_s;
        QTest::newRow("largest offered") << 99 << 59 << 59 << -1.0 << u"99:59:59"_s;
        QTest::newRow("zero length") << 0 << 0 << 0 << -1.0 << u"00:00"_s;
        QTest::newRow("fraction under full") << 0 << 25 << 0 << 0.3 << u"25:00"_s;
        QTest::newRow("just started second") << 0 << 25 << 0 << 1.0 << u"24:59"_s;
        QTest::newRow("a fifth of a second left") << 0 << 0 << 10 << 9.8 << u"00:01"_s;
    }

    void shouldShowTimeLeftRoundedUp()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(double, runFor);
        QFETCH(QString, expected);

        FakeClock clock;
        Countdown countdown(clock.clock());
        countdown.setLength(hours, minutes, seconds);
        if (runFor >= 0) {
            QVERIFY(countdown.startOrResume({}, u"学习"_s, std::nullopt));
            clock.advance(runFor);
            countdown.tick();
        }
        QCOMPARE(countdown.display(), expected);
    }

    void shouldReachZeroOnlyAtTheDeadline()
    {
        FakeClock clock;
        Countdown countdown(clock.clock());
        countdown.setLength(0, 0, 10);
        countdown.startOrResume({}, u"学习"_s, std::nullopt);
        clock.advance(9.99);
        QCOMPARE(countdown.tick(), Countdown::TickOutcome::Counting);
        clock.advance(0.01);
        double deadline = 0;
        QCOMPARE(countdown.tick(&deadline), Countdown::TickOutcome::ReachedZero);
        QCOMPARE(deadline, 700000010.0);
        QVERIFY(countdown.finished());
        QCOMPARE(countdown.display(), u"00:00"_s);
        QVERIFY(!countdown.canStartOrResume());
    }

    void shouldKeepProgressWithinBounds_data()
    {
        QTest::addColumn<double>("clockMove");
        QTest::addColumn<double>("expected");
        QTest::newRow("fresh start") << 0.0 << 0.0;
        QTest::newRow("halfway") << 750.0 << 0.5;
        QTest::newRow("clock set back an hour") << -3600.0 << 0.0;
        QTest::newRow("at the end") << 1500.0 << 1.0;
    }

    void shouldKeepProgressWithinBounds()
    {
        QFETCH(double, clockMove);
        QFETCH(double, expected);
        FakeClock clock;
        Countdown countdown(clock.clock());
        QCOMPARE(countdown.currentProgress(), 0.0);
        countdown.startOrResume({}, u"学习"_s, std::nullopt);
        clock.advance(clockMove);
        countdown.tick();
        QCOMPARE(countdown.currentProgress(), expected);
    }

    void shouldGrowTimeLeftWhenTheClockIsSetBack()
    {
        FakeClock clock;
        Countdown countdown(clock.clock());
        countdown.startOrResume({}, u"学习"_s, std::nullopt);
        clock.advance(100);
        countdown.tick();
        clock.advance(-3600);
        countdown.tick();
        QCOMPARE(countdown.remaining(), 1400.0 + 3600.0);
        QCOMPARE(countdown.display(), u"1:23:20"_s);
    }

    void shouldNotCountPausedTime()
    {
        FakeClock clock;
        Countdown countdown(clock.clock());
        countdown.startOrResume({}, u"学习"_s, std::nullopt);
        clock.advance(10);
        countdown.tick();
        countdown.stop();
        const double left = countdown.remaining();
        clock.advance(600);
        countdown.tick();
        QCOMPARE(countdown.remaining(), left);
        countdown.startOrResume(u"ignored on resume"_s, u"工作"_s, u"x"_s);
        QCOMPARE(*countdown.deadline(), clock.now() + left);
        QCOMPARE(countdown.sessionProject(), u"学习"_s);
        QCOMPARE(*countdown.sessionStart(), 700000000.0);
        QCOMPARE(countdown.elapsed(), 10.0);
    }

    void shouldRefuseAFreshStartOfZeroLength()
    {
        FakeClock clock;
        Countdown countdown(clock.clock());
        countdown.setLength(0, 0, 0);
        QVERIFY(countdown.canStartOrResume());
        QVERIFY(!countdown.startOrResume({}, u"学习"_s, std::nullopt));
        QVERIFY(!countdown.started());
        QVERIFY(!countdown.running());
    }

    void shouldComputeDurationWithoutOverflow()
    {
        FakeClock clock;
        Countdown countdown(clock.clock());
        countdown.setLength(std::numeric_limits<int>::max(), 59, 59);
        QCOMPARE(
            countdown.duration(), double(qint64(std::numeric_limits<int>::max()) * 3600 + 3599));
    }
};

QTEST_GUILESS_MAIN(CountdownTest)
#include "tst_countdown.moc"
