// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/focusstats.h"
#include "statstestdata.h"

#include "doubles/fakeclock.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using StatsTestData::at;
using StatsTestData::record;

namespace {

const double wednesday = at(2024, 3, 13, 12, 0); // week of Mon 11 March … Sun 17 March
const double infinity = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();

struct Fixture {
    FakeClock now {wednesday};
    FakeClock today {wednesday};
    FocusStats stats;

    explicit Fixture(Qt::DayOfWeek firstDay = Qt::Monday)
        : stats(now.clock(), today.clock(), FocusCalendar(firstDay, QLocale(u"zh_CN"_s)))
    {
    }
};

FocusStats::LiveSession running(double elapsed)
{
    FocusStats::LiveSession live;
    live.running = true;
    live.elapsed = elapsed;
    live.project = u"学习"_s;
    return live;
}

} // namespace

class TestFocusStats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldPlaceRecordInWeekByItsEnd_data()
    {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<int>("offset");
        QTest::addColumn<double>("endedAt");
        QTest::addColumn<bool>("inWeek");

        const int monday = Qt::Monday;
        const int sunday = Qt::Sunday;
        QTest::newRow("exactly the start of next week, this week")
            << monday << 0 << at(2024, 3, 18) << true;
        QTest::newRow("exactly the start of next week, next week")
            << monday << 1 << at(2024, 3, 18) << true;
        QTest::newRow("exactly the start of this week") << monday << 0 << at(2024, 3, 11) << true;
        QTest::newRow("last second before this week")
            << monday << 0 << at(2024, 3, 10, 23, 59, 59) << false;
        QTest::newRow("Sunday 23:59, Monday-first")
            << monday << 0 << at(2024, 3, 17, 23, 59) << true;
        QTest::newRow("Sunday 23:59, Monday-first, next week")
            << monday << 1 << at(2024, 3, 17, 23, 59) << false;
        QTest::newRow("Sunday 23:59, Sunday-first")
            << sunday << 0 << at(2024, 3, 17, 23, 59) << false;
        QTest::newRow("Sunday 23:59, Sunday-first, next week")
            << sunday << 1 << at(2024, 3, 17, 23, 59) << true;
        QTest::newRow("Sunday midnight, Sunday-first") << sunday << 0 << at(2024, 3, 10) << true;
        QTest::newRow("previous week") << monday << -1 << at(2024, 3, 4, 8, 0) << true;
        QTest::newRow("previous week excludes this one")
            << monday << -1 << at(2024, 3, 12, 8, 0) << false;
        QTest::newRow("far future week") << monday << 52 << at(2024, 3, 12, 8, 0) << false;
    }

    void shouldPlaceRecordInWeekByItsEnd()
    {
        QFETCH(int, firstDay);
        QFETCH(int, offset);
        QFETCH(double, endedAt);
        QFETCH(bool, inWeek);

        Fixture f {Qt::DayOfWeek(firstDay)};
        f.stats.setRecords({record(endedAt, 600)});
        f.stats.selectWeek(offset);
        QCOMPARE(f.stats.weekRecords().size(), inWeek ? 1 : 0);
        QCOMPARE(f.stats.weekIds().size(), inWeek ? 1 : 0);
    }

    void shouldCountRecordAcrossMidnightInFullOnTheDayItEnded()
    {
        Fixture f;
        f.today.set(at(2024, 3, 13, 9, 0));
        // Started Tuesday 23:30, ended Wednesday 00:30.
        f.stats.setRecords({record(at(2024, 3, 13, 0, 30), 3600)});
        QCOMPARE(f.stats.todayRecordedSeconds(), 3600.0);
        QCOMPARE(f.stats.dailyMinutes(at(2024, 3, 12, 12, 0)), 0);
        QCOMPARE(f.stats.dailyMinutes(at(2024, 3, 13, 12, 0)), 60);
    }

    void shouldKeepListOrderInWeekAndTodayRecords()
    {
        Fixture f;
        const FocusRecordList list = {record(at(2024, 3, 12, 9, 0), 60),
            record(at(2024, 3, 13, 9, 0), 60), record(at(2024, 3, 13, 8, 0), 60),
            record(at(2024, 3, 11, 9, 0), 60)};
        f.stats.setRecords(list);
        QCOMPARE(f.stats.weekRecords(), list);
        QCOMPARE(f.stats.todayRecords(), (FocusRecordList {list.at(1), list.at(2)}));
    }

    void shouldLabelWeekWithItsFirstAndLastDay_data()
    {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("label");

        QTest::newRow("this week") << int(Qt::Monday) << u"zh_CN"_s << 0 << u"03/11 – 03/17"_s;
        QTest::newRow("previous week") << int(Qt::Monday) << u"zh_CN"_s << -1 << u"03/04 – 03/10"_s;
        QTest::newRow("next week") << int(Qt::Monday) << u"zh_CN"_s << 1 << u"03/18 – 03/24"_s;
        QTest::newRow("Sunday-first") << int(Qt::Sunday) << u"zh_CN"_s << 0 << u"03/10 – 03/16"_s;
        QTest::newRow("across a year")
            << int(Qt::Monday) << u"zh_CN"_s << -11 << u"12/25 – 12/31"_s;
        QTest::newRow("day first locale")
            << int(Qt::Monday) << u"de_DE"_s << 0 << u"11.03 – 17.03"_s;
    }

    void shouldLabelWeekWithItsFirstAndLastDay()
    {
        QFETCH(int, firstDay);
        QFETCH(QString, locale);
        QFETCH(int, offset);
        QFETCH(QString, label);

        FakeClock now(wednesday);
        FocusStats stats(
            now.clock(), now.clock(), FocusCalendar(Qt::DayOfWeek(firstDay), QLocale(locale)));
        stats.selectWeek(offset);
        QCOMPARE(stats.weekLabel(), label);
    }

    void shouldWriteWeekSummary_data()
    {
        QTest::addColumn<FocusRecordList>("records");
        QTest::addColumn<QString>("summary");

        const double tue = at(2024, 3, 12, 10, 0);
        QTest::newRow("example") << FocusRecordList {record(tue, 1500), record(tue, 1500),
            record(tue, 900, u"工作"_s)}
                                 << u"本周3段、共1小时5分钟；学习占76%；最长一段25分钟。"_s;
        QTest::newRow("empty week")
            << FocusRecordList {} << u"本周0段、共0小时0分钟；暂无项目投入；最长一段0分钟。"_s;
        QTest::newRow("870 of 3000 truncates to 28") << FocusRecordList {record(tue, 870, u"A"_s),
            record(tue, 800, u"B"_s), record(tue, 700, u"C"_s),
            record(tue, 630, u"D"_s)} << u"本周4段、共0小时50分钟；A占28%；最长一段14分钟。"_s;
        // The share's part is summed over the same whole seconds as the total.
        QTest::newRow("lone 59.9 s is 100") << FocusRecordList {
            record(tue, 59.9)} << u"本周1段、共0小时0分钟；学习占100%；最长一段0分钟。"_s;
        QTest::newRow("top project by whole seconds") << FocusRecordList {record(tue, 10.9, u"A"_s),
            record(tue, 10.9, u"A"_s), record(tue, 10.9, u"A"_s),
            record(tue, 31, u"B"_s)} << u"本周4段、共0小时1分钟；B占50%；最长一段0分钟。"_s;
        QTest::newRow("negative durations from an edited file stay at 100")
            << FocusRecordList {record(tue, 100, u"A"_s), record(tue, -50, u"B"_s)}
            << u"本周2段、共0小时0分钟；A占100%；最长一段1分钟。"_s;
        QTest::newRow("under a second each") << FocusRecordList {record(tue, 0.5, u"A"_s),
            record(tue, 0.4, u"B"_s)} << u"本周2段、共0小时0分钟；A占0%；最长一段0分钟。"_s;
        QTest::newRow("tie names the first name")
            << FocusRecordList {record(tue, 600, u"beta"_s), record(tue, 600, u"alpha"_s)}
            << u"本周2段、共0小时20分钟；alpha占50%；最长一段10分钟。"_s;
        QTest::newRow("hours past a day") << FocusRecordList {
            record(tue, 90061)} << u"本周1段、共25小时1分钟；学习占100%；最长一段1501分钟。"_s;
        QTest::newRow("non-finite durations count as 0") << FocusRecordList {
            record(tue, notANumber), record(tue, infinity, u"B"_s),
            record(tue, 600)} << u"本周3段、共0小时10分钟；学习占100%；最长一段10分钟。"_s;
    }

    void shouldWriteWeekSummary()
    {
        QFETCH(FocusRecordList, records);
        QFETCH(QString, summary);

        Fixture f;
        f.stats.setRecords(records);
        QCOMPARE(f.stats.weekSummary(), summary);
    }

    void shouldShowTodayAsHoursAndMinutes_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("display");

        QTest::newRow("nothing") << 0.0 << u"0:00"_s;
        QTest::newRow("59 seconds") << 59.0 << u"0:00"_s;
        QTest::newRow("a tenth less than an hour") << 3599.9 << u"0:59"_s;
        QTest::newRow("3900 seconds") << 3900.0 << u"1:05"_s;
        QTest::newRow("90000 seconds") << 90000.0 << u"25:00"_s;
        QTest::newRow("negative from an edited file") << -3900.0 << u"-1:05"_s;
        QTest::newRow("not a number") << notANumber << u"0:00"_s;
        QTest::newRow("beyond 64 bits") << 1e30 << u"2562047788015215:30"_s;
    }

    void shouldShowTodayAsHoursAndMinutes()
    {
        QFETCH(double, seconds);
        QFETCH(QString, display);

        QCOMPARE(FocusStats::clockText(seconds), display);
        if (std::isfinite(seconds)) {
            Fixture f;
            f.stats.setRecords({record(wednesday - 60, seconds)});
            QCOMPARE(f.stats.todayDisplay(), display);
        }
    }

    void shouldAddRunningSessionToTodayOnlyWhileRunning()
    {
        Fixture f;
        f.stats.setRecords(
            {record(at(2024, 3, 13, 9, 0), 1500), record(at(2024, 3, 12, 9, 0), 900)});
        QCOMPARE(f.stats.todayTotal(), 1500.0);
        QCOMPARE(f.stats.todayTotal(running(600)), 2100.0);
        QCOMPARE(f.stats.todayDisplay(running(600)), u"0:35"_s);

        FocusStats::LiveSession paused = running(600);
        paused.running = false;
        QCOMPARE(f.stats.todayTotal(paused), 1500.0);
        QCOMPARE(f.stats.todayTotal(running(-5)), 1500.0);
        QCOMPARE(f.stats.todayTotal(running(notANumber)), 1500.0);
    }

    void shouldTakeTodayFromTheSystemClockAndTheWeekFromTheModelClock()
    {
        Fixture f;
        f.now.set(at(2024, 3, 20, 12, 0)); // the model's clock is a week ahead
        f.stats.setRecords(
            {record(at(2024, 3, 13, 9, 0), 600), record(at(2024, 3, 20, 9, 0), 1200)});
        QCOMPARE(f.stats.todayRecordedSeconds(), 600.0);
        QCOMPARE(f.stats.weekRecords().size(), 1);
        QCOMPARE(f.stats.weekRecords().first().duration, 1200.0);
        QCOMPARE(f.stats.weekLabel(), u"03/18 – 03/24"_s);
    }

    void shouldFollowTheClocksAndTheRecords()
    {
        Fixture f;
        f.stats.setRecords(
            {record(at(2024, 3, 13, 9, 0), 600), record(at(2024, 3, 14, 9, 0), 1200)});
        QCOMPARE(f.stats.todayRecordedSeconds(), 600.0);
        QCOMPARE(f.stats.weekRecords().size(), 2);

        f.today.set(at(2024, 3, 14, 0, 0)); // midnight passes
        QCOMPARE(f.stats.todayRecordedSeconds(), 1200.0);

        f.now.set(at(2024, 3, 18, 0, 0)); // a new week begins
        QCOMPARE(f.stats.weekRecords().size(), 0);
        f.stats.selectWeek(-1);
        QCOMPARE(f.stats.weekRecords().size(), 2);

        f.stats.setRecords({record(at(2024, 3, 14, 10, 0), 60)});
        QCOMPARE(f.stats.todayRecordedSeconds(), 60.0);
        QCOMPARE(f.stats.weekRecords().size(), 1);
        QCOMPARE(f.stats.todayProjectMinutes(u"学习"_s), 1);
    }

    void shouldTruncateDailyMinutesOfTheSum()
    {
        Fixture f;
        f.stats.setRecords({record(at(2024, 3, 5, 9, 0), 1500),
            record(at(2024, 3, 5, 23, 59, 59), 899.5), record(at(2024, 3, 6, 0, 0), 6000)});
        QCOMPARE(f.stats.dailyMinutes(at(2024, 3, 5, 0, 0)), 39);
        QCOMPARE(f.stats.dailyMinutes(at(2024, 3, 5, 23, 0)), 39);
        QCOMPARE(f.stats.dailyMinutes(at(2024, 3, 4, 12, 0)), 0);
        QCOMPARE(f.stats.dailyMinutes(notANumber), 0);
    }

    void shouldCountGoalDaysAtWholeMinutes_data()
    {
        QTest::addColumn<FocusRecordList>("records");
        QTest::addColumn<int>("goalHours");
        QTest::addColumn<int>("days");

        QTest::newRow("no records") << FocusRecordList {} << 5 << 0;
        QTest::newRow("300 minutes meet 5 hours")
            << FocusRecordList {record(at(2024, 3, 12, 20, 0), 18000)} << 5 << 1;
        QTest::newRow("299 minutes do not")
            << FocusRecordList {record(at(2024, 3, 12, 20, 0), 17999.9)} << 5 << 0;
        QTest::newRow("split over records of one day") << FocusRecordList {
            record(at(2024, 3, 12, 9, 0), 9000),
            record(at(2024, 3, 12, 20, 0), 9000)} << 5 << 1;
        FocusRecordList everyDay;
        for (int day = 10; day <= 18; ++day)
            everyDay.append(record(at(2024, 3, day, 0, 0), 3600));
        QTest::newRow("at most seven, the next Monday is not one of them") << everyDay << 1 << 7;
        QTest::newRow("goal of 16 hours")
            << FocusRecordList {record(at(2024, 3, 17, 23, 0), 57600)} << 16 << 1;
    }

    void shouldCountGoalDaysAtWholeMinutes()
    {
        QFETCH(FocusRecordList, records);
        QFETCH(int, goalHours);
        QFETCH(int, days);

        Fixture f;
        f.stats.setRecords(records);
        QCOMPARE(f.stats.dailyGoalReached(goalHours), days);
    }

    void shouldTakeLongestSessionOfTheWeekOnly()
    {
        Fixture f;
        QCOMPARE(f.stats.longestSession(), 0);
        f.stats.setRecords({record(at(2024, 3, 12, 9, 0), 1559.9),
            record(at(2024, 3, 5, 9, 0), 7200), record(at(2024, 3, 13, 9, 0), 120)});
        QCOMPARE(f.stats.longestSession(), 25);
    }

    void shouldMatchProjectNamesExactly()
    {
        const FocusRecordList list = {record(0, 600, u"Study"_s), record(0, 599.9, u"Study"_s),
            record(0, 600, u"study"_s), record(0, notANumber, u"Study"_s)};
        QCOMPARE(FocusStats::projectMinutes(u"Study"_s, list), 19);
        QCOMPARE(FocusStats::projectMinutes(u"study"_s, list), 10);
        QCOMPARE(FocusStats::projectMinutes(u"STUDY"_s, list), 0);

        Fixture f;
        f.stats.setRecords({record(wednesday - 10, 600, u"Study"_s)});
        QCOMPARE(f.stats.todayProjectMinutes(u"Study"_s), 10);
        QCOMPARE(f.stats.todayProjectMinutes(u"study"_s), 0);
        QCOMPARE(f.stats.weekProjectMinutes(u"Study"_s), 10);
    }

    void shouldGroupTodayBySubproject()
    {
        Fixture f;
        f.stats.setRecords({record(wednesday - 10, 1800, u"学习"_s, u"阅读"_s),
            record(wednesday - 20, 1800, u"学习"_s),
            record(wednesday - 30, 60, u"学习"_s, u"阅读"_s)});
        const QMap<QString, double> expected = {{u"学习"_s, 1800.0}, {u"学习 / 阅读"_s, 1860.0}};
        QCOMPARE(f.stats.todaySecondsByKey(), expected);
        QCOMPARE(f.stats.todayProjectMinutes(u"学习"_s), 61);
    }

    void shouldNotBreakOnRecordsNoCalendarCanPlace()
    {
        Fixture f;
        FocusRecord endless = record(wednesday, 600);
        endless.endedAt = notANumber;
        FocusRecord farAway = record(1e300, 600);
        FocusRecord infiniteEnd = record(0, 600);
        infiniteEnd.endedAt = -infinity;
        f.stats.setRecords({endless, farAway, infiniteEnd, record(wednesday - 1, infinity)});
        QCOMPARE(f.stats.todayRecords().size(), 1);
        QCOMPARE(f.stats.todayTotal(), 0.0);
        QCOMPARE(f.stats.weekRecords().size(), 1);
        QCOMPARE(f.stats.weekSummary(), u"本周1段、共0小时0分钟；学习占0%；最长一段0分钟。"_s);
        QCOMPARE(f.stats.dailyMinutes(1e300), 0);
    }

    void shouldClampSumsBeyondSixtyFourBits()
    {
        Fixture f;
        f.stats.setRecords({record(wednesday - 1, 1e300), record(wednesday - 2, 1e300),
            record(wednesday - 3, 1.7e308), record(wednesday - 4, 1.7e308)});
        const qint64 max = std::numeric_limits<qint64>::max();
        QCOMPARE(f.stats.weekTotalSeconds(), max);
        QCOMPARE(f.stats.dailyMinutes(wednesday), max);
        QCOMPARE(f.stats.dailyGoalReached(16), 1);
        QVERIFY(f.stats.weekSummary().startsWith(u"本周4段、共"_s));
    }

    void shouldAcceptAnyWeekOffset_data()
    {
        QTest::addColumn<int>("offset");
        QTest::newRow("largest") << std::numeric_limits<int>::max();
        QTest::newRow("smallest") << std::numeric_limits<int>::min();
    }

    void shouldAcceptAnyWeekOffset()
    {
        QFETCH(int, offset);
        Fixture f;
        f.stats.setRecords({record(wednesday, 600)});
        f.stats.selectWeek(offset);
        QCOMPARE(f.stats.selectedWeekOffset(), offset);
        QCOMPARE(f.stats.weekRecords().size(), 0);
        QCOMPARE(f.stats.dailyGoalReached(1), 0);
        QVERIFY(!f.stats.weekLabel().isEmpty());
        QCOMPARE(f.stats.weekSummary(), u"本周0段、共0小时0分钟；暂无项目投入；最长一段0分钟。"_s);
    }

    // The index must give exactly what a plain pass over the list gives, whatever the order.
    void shouldAgreeWithAPlainPassOverShuffledRecords()
    {
        QRandomGenerator random(20240313);
        FocusRecordList list;
        const double from = at(2024, 2, 20);
        for (int i = 0; i < 3000; ++i) {
            const double end = from + double(random.bounded(40 * 86400)) + random.generateDouble();
            const QString project = QString(QChar(u'A' + random.bounded(4)));
            list.append(record(end, random.generateDouble() * 5400, project));
        }
        // Exact week boundaries and ties.
        list.append(record(at(2024, 3, 18), 100.25));
        list.append(record(at(2024, 3, 11), 100.25));
        list.append(record(at(2024, 3, 11), 3.5));

        Fixture f;
        f.stats.setRecords(list);
        const FocusCalendar &calendar = f.stats.calendar();
        for (int offset = -3; offset <= 1; ++offset) {
            f.stats.selectWeek(offset);
            const double shifted = *calendar.addWeeks(wednesday, offset);
            const QDate monday =
                calendar.date(shifted).addDays(1 - calendar.date(shifted).dayOfWeek());
            const double start = Instant::fromDateTime(monday.startOfDay());
            const double end = Instant::fromDateTime(monday.addDays(7).startOfDay());
            FocusRecordList expected;
            for (const FocusRecord &r : list) {
                if (r.endedAt >= start && r.endedAt <= end)
                    expected.append(r);
            }
            QCOMPARE(f.stats.weekRecords(), expected);
            for (const QString &project : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
                QCOMPARE(f.stats.weekProjectMinutes(project),
                    FocusStats::projectMinutes(project, expected));
        }
        for (int day = 0; day < 40; ++day) {
            const QDate date = QDate(2024, 2, 20).addDays(day);
            double seconds = 0;
            for (const FocusRecord &r : list) {
                if (Instant::toDateTime(r.endedAt).date() == date)
                    seconds += r.duration;
            }
            const double noon = Instant::fromDateTime(QDateTime(date, QTime(12, 0)));
            QCOMPARE(f.stats.dailyMinutes(noon), qint64(seconds / 60.0));
        }
    }
};

QTEST_GUILESS_MAIN(TestFocusStats)
#include "tst_focusstats.moc"
