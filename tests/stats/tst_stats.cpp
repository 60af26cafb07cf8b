// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/instant.h"
#include "stats/focuscalendar.h"
#include "stats/focusstats.h"
#include "stats/reviewchart.h"

#include "doubles/fakeclock.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const double infinity = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const QStringList catalogue = {u"学习"_s, u"工作"_s, u"运动"_s};

// Wall-clock times in Shanghai, as the runner's TZ.
double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return Instant::fromDateTime(QDateTime(
        QDate(year, month, day), QTime(hour, minute, second), QTimeZone("Asia/Shanghai")));
}

const double wednesday = at(2024, 3, 13, 12, 0); // week of Mon 11 March … Sun 17 March

FocusRecord record(double endedAt, double duration, const QString &project = u"学习"_s,
    std::optional<QString> subproject = {})
{
    FocusRecord r;
    r.title = u"读书"_s;
    r.startedAt = endedAt - duration;
    r.endedAt = endedAt;
    r.duration = duration;
    r.project = project;
    r.subproject = std::move(subproject);
    return r;
}

FocusStats::LiveSession running(
    double elapsed, const QString &project = u"学习"_s, std::optional<QString> subproject = {})
{
    FocusStats::LiveSession live;
    live.running = true;
    live.elapsed = elapsed;
    live.project = project;
    live.subproject = std::move(subproject);
    return live;
}

// The figures over a model clock ("now", for the week) and a system clock ("today").
struct Fixture {
    FakeClock now {wednesday};
    FakeClock today {wednesday};
    FocusStats stats;

    explicit Fixture(int firstDay = Qt::Monday, const QString &locale = u"zh_CN"_s)
        : stats(now.clock(), today.clock(), FocusCalendar(Qt::DayOfWeek(firstDay), QLocale(locale)))
    {
    }
    ReviewChart::WeekReview review() const { return ReviewChart::weekReview(stats, catalogue, 5); }
};

} // namespace

class TestStats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The calendar

    void shouldStartChineseWeeksOnMonday_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("firstDay");
        QTest::newRow("zh_CN") << u"zh_CN"_s << int(Qt::Monday);
        QTest::newRow("zh_TW") << u"zh_TW"_s << int(Qt::Monday);
        QTest::newRow("zh_HK") << u"zh_HK"_s << int(Qt::Monday);
        QTest::newRow("zh_SG") << u"zh_SG"_s << int(Qt::Monday);
        QTest::newRow("en_US keeps its own") << u"en_US"_s << int(Qt::Sunday);
        QTest::newRow("ar_EG keeps its own") << u"ar_EG"_s << int(Qt::Saturday);
    }

    void shouldStartChineseWeeksOnMonday()
    {
        QFETCH(QString, locale);
        QFETCH(int, firstDay);
        QCOMPARE(int(FocusCalendar::firstDayOfWeekOf(QLocale(locale))), firstDay);
        QCOMPARE(FocusCalendar::systemFirstDayOfWeek(), Qt::Monday); // the runner pins zh_CN
    }

    void shouldTakeMonthAndDayOrderFromTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("zh_CN") << u"zh_CN"_s << u"03/05"_s;
        QTest::newRow("en_US") << u"en_US"_s << u"03/05"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"05.03"_s;
        QTest::newRow("en_GB") << u"en_GB"_s << u"05/03"_s;
        QTest::newRow("sv_SE") << u"sv_SE"_s << u"03-05"_s;
        QTest::newRow("ko_KR") << u"ko_KR"_s << u"03. 05"_s;
    }

    void shouldTakeMonthAndDayOrderFromTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const FocusCalendar calendar(Qt::Monday, QLocale(locale));
        QCOMPARE(calendar.monthDay(at(2024, 3, 5, 23, 59)), text);
    }

    void shouldBoundDaysAtLocalMidnight()
    {
        const auto day = FocusCalendar().day(at(2024, 3, 5, 23, 59, 59));
        QVERIFY(day);
        QCOMPARE(day->start, at(2024, 3, 5));
        QCOMPARE(day->end, at(2024, 3, 6));
        QVERIFY(day->contains(at(2024, 3, 5)));
        QVERIFY(!day->contains(at(2024, 3, 6)));
    }

    void shouldStartWeeksOnTheChosenDay_data()
    {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<double>("instant");
        QTest::addColumn<double>("start");
        QTest::newRow("Monday-first, Sunday night")
            << int(Qt::Monday) << at(2024, 3, 17, 23, 59) << at(2024, 3, 11);
        QTest::newRow("Monday-first, Monday midnight")
            << int(Qt::Monday) << at(2024, 3, 18) << at(2024, 3, 18);
        QTest::newRow("Sunday-first, Sunday night")
            << int(Qt::Sunday) << at(2024, 3, 17, 23, 59) << at(2024, 3, 17);
        QTest::newRow("Saturday-first, Friday")
            << int(Qt::Saturday) << at(2024, 3, 15, 8, 0) << at(2024, 3, 9);
    }

    void shouldStartWeeksOnTheChosenDay()
    {
        QFETCH(int, firstDay);
        QFETCH(double, instant);
        QFETCH(double, start);
        const auto week = FocusCalendar(Qt::DayOfWeek(firstDay), QLocale(u"zh_CN"_s)).week(instant);
        QVERIFY(week);
        QCOMPARE(week->start, start);
        QCOMPARE(week->end, start + 7 * 86400.0);
    }

    void shouldMoveByCalendarDaysKeepingTheFraction()
    {
        const FocusCalendar calendar;
        const double instant = wednesday + 0.0001234;
        QCOMPARE(calendar.addWeeks(instant, -2), instant - 14 * 86400.0);
        QCOMPARE(calendar.addDays(instant, 1), instant + 86400.0);
    }

    void shouldRefuseWhatNoCalendarCanHold()
    {
        const FocusCalendar calendar;
        QVERIFY(!calendar.day(notANumber));
        QVERIFY(!calendar.week(infinity));
        QVERIFY(!calendar.day(1e300));
        QVERIFY(!calendar.addDays(notANumber, 1));
        QVERIFY(!calendar.addWeeks(0, std::numeric_limits<qint64>::max()));
        QVERIFY(!calendar.addDays(0, std::numeric_limits<qint64>::min()));
        QVERIFY(!calendar.date(notANumber).isValid());
        QCOMPARE(calendar.monthDay(notANumber), QString());
    }

    void shouldFollowDaylightSavingDays()
    {
        // A 23-hour day: New York moved its clocks forward on 10 March 2024.
        const QByteArray savedZone = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        tzset();
        const FocusCalendar calendar(Qt::Sunday, QLocale(u"en_US"_s));
        const double noon = Instant::fromDateTime(QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        const auto day = calendar.day(noon);
        const auto week = calendar.week(noon);
        const auto nextDay = calendar.addDays(noon, 1);
        qputenv("TZ", savedZone);
        tzset();

        QVERIFY(day && week && nextDay);
        QCOMPARE(day->end - day->start, 23 * 3600.0);
        QCOMPARE(week->end - week->start, 7 * 86400.0 - 3600.0);
        QCOMPARE(*nextDay - noon, 86400.0);
    }

    // The figures

    void shouldPlaceRecordInWeekByItsEnd_data()
    {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<int>("offset");
        QTest::addColumn<double>("endedAt");
        QTest::addColumn<bool>("inWeek");
        const auto row = [](const char *name, int firstDay, int offset, double end, bool in) {
            QTest::newRow(name) << firstDay << offset << end << in;
        };
        const int mon = Qt::Monday;
        const int sun = Qt::Sunday;

        row("exactly the start of next week, this week", mon, 0, at(2024, 3, 18), true);
        row("exactly the start of next week, next week", mon, 1, at(2024, 3, 18), true);
        row("exactly the start of this week", mon, 0, at(2024, 3, 11), true);
        row("last second before this week", mon, 0, at(2024, 3, 10, 23, 59, 59), false);
        row("Sunday 23:59, Monday-first", mon, 0, at(2024, 3, 17, 23, 59), true);
        row("Sunday 23:59, Monday-first, next week", mon, 1, at(2024, 3, 17, 23, 59), false);
        row("Sunday 23:59, Sunday-first", sun, 0, at(2024, 3, 17, 23, 59), false);
        row("Sunday 23:59, Sunday-first, next week", sun, 1, at(2024, 3, 17, 23, 59), true);
        row("Sunday midnight, Sunday-first", sun, 0, at(2024, 3, 10), true);
        row("previous week", mon, -1, at(2024, 3, 4, 8, 0), true);
        row("previous week excludes this one", mon, -1, at(2024, 3, 12, 8, 0), false);
        row("far future week", mon, 52, at(2024, 3, 12, 8, 0), false);
    }

    void shouldPlaceRecordInWeekByItsEnd()
    {
        QFETCH(int, firstDay);
        QFETCH(int, offset);
        QFETCH(double, endedAt);
        QFETCH(bool, inWeek);

        Fixture f {firstDay};
        f.stats.setRecords({record(endedAt, 600)});
        f.stats.selectWeek(offset);
        QCOMPARE(f.stats.weekRecords().size(), inWeek ? 1 : 0);
        QCOMPARE(f.stats.weekIds().size(), inWeek ? 1 : 0);
    }

    void shouldCountRecordAcrossMidnightInFullOnTheDayItEnded()
    {
        Fixture f;
        f.today.set(at(2024, 3, 13, 9, 0));
        f.stats.setRecords({record(at(2024, 3, 13, 0, 30), 3600)}); // from Tuesday 23:30
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
        const int mon = Qt::Monday;

        QTest::newRow("this week") << mon << u"zh_CN"_s << 0 << u"03/11 – 03/17"_s;
        QTest::newRow("previous week") << mon << u"zh_CN"_s << -1 << u"03/04 – 03/10"_s;
        QTest::newRow("next week") << mon << u"zh_CN"_s << 1 << u"03/18 – 03/24"_s;
        QTest::newRow("Sunday-first") << int(Qt::Sunday) << u"zh_CN"_s << 0 << u"03/10 – 03/16"_s;
        QTest::newRow("across a year") << mon << u"zh_CN"_s << -11 << u"12/25 – 12/31"_s;
        QTest::newRow("day first locale") << mon << u"de_DE"_s << 0 << u"11.03 – 17.03"_s;
    }

    void shouldLabelWeekWithItsFirstAndLastDay()
    {
        QFETCH(int, firstDay);
        QFETCH(QString, locale);
        QFETCH(int, offset);
        QFETCH(QString, label);

        Fixture f(firstDay, locale);
        f.stats.selectWeek(offset);
        QCOMPARE(f.stats.weekLabel(), label);
    }

    void shouldWriteWeekSummary_data()
    {
        QTest::addColumn<FocusRecordList>("records");
        QTest::addColumn<QString>("summary");
        const double tue = at(2024, 3, 12, 10, 0);
        const auto row = [tue](const char *name, const QList<std::pair<double, QString>> &records,
                             const QString &summary) {
            FocusRecordList list;
            for (const auto &[duration, project] : records)
                list.append(record(tue, duration, project));
            QTest::newRow(name) << list << u"本周"_s + summary + u"分钟。"_s;
        };

        row("example", {{1500, u"学习"_s}, {1500, u"学习"_s}, {900, u"工作"_s}},
            u"3段、共1小时5分钟；学习占76%；最长一段25"_s);
        row("empty week", {}, u"0段、共0小时0分钟；暂无项目投入；最长一段0"_s);
        row("870 of 3000 truncates to 28",
            {{870, u"A"_s}, {800, u"B"_s}, {700, u"C"_s}, {630, u"D"_s}},
            u"4段、共0小时50分钟；A占28%；最长一段14"_s);
        // The share's part is summed over the same whole seconds as the total.
        row("lone 59.9 s is 100", {{59.9, u"学习"_s}},
            u"1段、共0小时0分钟；学习占100%；最长一段0"_s);
        row("top project by whole seconds",
            {{10.9, u"A"_s}, {10.9, u"A"_s}, {10.9, u"A"_s}, {31, u"B"_s}},
            u"4段、共0小时1分钟；B占50%；最长一段0"_s);
        row("negative durations from an edited file stay at 100", {{100, u"A"_s}, {-50, u"B"_s}},
            u"2段、共0小时0分钟；A占100%；最长一段1"_s);
        row("under a second each", {{0.5, u"A"_s}, {0.4, u"B"_s}},
            u"2段、共0小时0分钟；A占0%；最长一段0"_s);
        row("tie names the first name", {{600, u"beta"_s}, {600, u"alpha"_s}},
            u"2段、共0小时20分钟；alpha占50%；最长一段10"_s);
        row("hours past a day", {{90061, u"学习"_s}},
            u"1段、共25小时1分钟；学习占100%；最长一段1501"_s);
        row("non-finite durations count as 0",
            {{notANumber, u"学习"_s}, {infinity, u"B"_s}, {600, u"学习"_s}},
            u"3段、共0小时10分钟；学习占100%；最长一段10"_s);
    }

    void shouldWriteWeekSummary()
    {
        QFETCH(FocusRecordList, records);
        QFETCH(QString, summary);

        Fixture f;
        f.stats.setRecords(records);
        QCOMPARE(f.stats.weekSummary(), summary);
        QCOMPARE(f.review().summary, summary);
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

    // Today follows the system clock, the week the model's.
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
        QCOMPARE(f.stats.weekLabel(), u"03/18 – 03/24"_s);
        QCOMPARE(f.stats.todayRecordedSeconds(), 1200.0);
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
        const double tue = at(2024, 3, 12, 20, 0);

        QTest::newRow("no records") << FocusRecordList {} << 5 << 0;
        QTest::newRow("300 minutes meet 5 hours") << FocusRecordList {record(tue, 18000)} << 5 << 1;
        QTest::newRow("299 minutes do not") << FocusRecordList {record(tue, 17999.9)} << 5 << 0;
        QTest::newRow("split over records of one day")
            << FocusRecordList {record(at(2024, 3, 12, 9, 0), 9000), record(tue, 9000)} << 5 << 1;
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

    void shouldMatchProjectNamesExactlyWithTheirSubprojects()
    {
        const FocusRecordList list = {record(0, 600, u"Study"_s), record(0, 599.9, u"Study"_s),
            record(0, 600, u"study"_s), record(0, notANumber, u"Study"_s)};
        QCOMPARE(FocusStats::projectMinutes(u"Study"_s, list), 19);
        QCOMPARE(FocusStats::projectMinutes(u"study"_s, list), 10);
        QCOMPARE(FocusStats::projectMinutes(u"STUDY"_s, list), 0);

        Fixture f;
        f.stats.setRecords({record(wednesday - 10, 600, u"Study"_s),
            record(wednesday - 20, 1800, u"学习"_s, u"阅读"_s),
            record(wednesday - 30, 60, u"学习"_s),
            record(wednesday - 40, 60, u"学习"_s, u"阅读"_s)});
        QCOMPARE(f.stats.todayProjectMinutes(u"Study"_s), 10);
        QCOMPARE(f.stats.todayProjectMinutes(u"study"_s), 0);
        QCOMPARE(f.stats.weekProjectMinutes(u"Study"_s), 10);
        QCOMPARE(f.stats.todayProjectMinutes(u"学习"_s), 32);
        const QMap<QString, double> byKey = {
            {u"Study"_s, 600.0}, {u"学习"_s, 60.0}, {u"学习 / 阅读"_s, 1860.0}};
        QCOMPARE(f.stats.todaySecondsByKey(), byKey);
    }

    void shouldNotBreakOnRecordsNoCalendarCanPlace()
    {
        Fixture f;
        FocusRecord endless = record(wednesday, 600);
        endless.endedAt = notANumber;
        FocusRecord infiniteEnd = record(0, 600);
        infiniteEnd.endedAt = -infinity;
        f.stats.setRecords(
            {endless, record(1e300, 600), infiniteEnd, record(wednesday - 1, infinity)});
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
        QCOMPARE(f.review().columns.size(), 7);
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
        for (int offset = -3; offset <= 1; ++offset) {
            f.stats.selectWeek(offset);
            const double start = at(2024, 3, 11) + offset * 7 * 86400.0; // no DST in Shanghai
            FocusRecordList expected;
            for (const FocusRecord &r : list) {
                if (r.endedAt >= start && r.endedAt <= start + 7 * 86400.0)
                    expected.append(r);
            }
            QCOMPARE(f.stats.weekRecords(), expected);
            for (const QString &project : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
                QCOMPARE(f.stats.weekProjectMinutes(project),
                    FocusStats::projectMinutes(project, expected));
        }
        for (int day = 0; day < 40; ++day) {
            const double start = from + day * 86400.0;
            double seconds = 0;
            for (const FocusRecord &r : list) {
                if (r.endedAt >= start && r.endedAt < start + 86400.0)
                    seconds += r.duration;
            }
            QCOMPARE(f.stats.dailyMinutes(start + 43200.0), qint64(seconds / 60.0));
        }
    }

    // The review page's week

    void shouldShowAnEmptyWeekAsZeros()
    {
        Fixture f;
        const ReviewChart::WeekReview review = f.review();
        QCOMPARE(
            (QStringList {review.totalText, review.goalText, review.longestText, review.label}),
            (QStringList {u"0 小时"_s, u"0 / 7 天"_s, u"0 分钟"_s, u"03/11 – 03/17"_s}));
        QStringList columns;
        for (const ReviewChart::DayColumn &column : review.columns)
            columns.append(column.date.toString(u"d"_s) + column.weekday + column.minutesText
                + QString::number(column.segments.size()));
        QCOMPARE(columns,
            (QStringList {u"11一0m0"_s, u"12二0m0"_s, u"13三0m0"_s, u"14四0m0"_s, u"15五0m0"_s,
                u"16六0m0"_s, u"17日0m0"_s}));
        QVERIFY(review.legend.isEmpty());
    }

    void shouldTruncateWeekHoursOnTheCard()
    {
        Fixture f;
        f.stats.setRecords({record(at(2024, 3, 12, 9, 0), 3 * 3600 + 59 * 60 + 59.9)});
        QCOMPARE(f.review().totalText, u"3 小时"_s);
    }

    void shouldClampBarSegmentHeights_data()
    {
        QTest::addColumn<FocusRecordList>("records");
        QTest::addColumn<QList<double>>("heights"); // top to bottom

        const double tue = at(2024, 3, 12, 23, 0);
        QTest::newRow("400 minutes reach the cap")
            << FocusRecordList {record(tue, 400 * 60.0)} << QList<double> {120.0};
        QTest::newRow("2 minutes stay at the floor")
            << FocusRecordList {record(tue, 2 * 60.0)} << QList<double> {3.0};
        QTest::newRow("100 minutes in between")
            << FocusRecordList {record(tue, 100 * 60.0)} << QList<double> {45.0};
        QTest::newRow("a stack that fits keeps its heights")
            << FocusRecordList {record(tue, 100 * 60.0), record(tue, 100 * 60.0, u"工作"_s)}
            << QList<double> {45.0, 45.0};
        // 120 + 2 + 120 would pass the 150-point bar: scaled so that 148 points of segments fit.
        QTest::newRow("two projects at the cap share the bar")
            << FocusRecordList {record(tue, 400 * 60.0), record(tue, 300 * 60.0, u"工作"_s)}
            << QList<double> {120.0 * (148.0 / 240.0), 120.0 * (148.0 / 240.0)};
        QTest::newRow("three uneven projects keep their proportions")
            << FocusRecordList {record(tue, 400 * 60.0), record(tue, 100 * 60.0, u"工作"_s),
                   record(tue, 2 * 60.0, u"运动"_s)}
            << QList<double> {
                   3.0 * (146.0 / 168.0), 45.0 * (146.0 / 168.0), 120.0 * (146.0 / 168.0)};
    }

    void shouldClampBarSegmentHeights()
    {
        QFETCH(FocusRecordList, records);
        QFETCH(QList<double>, heights);

        Fixture f;
        f.stats.setRecords(records);
        QList<double> drawn;
        for (const ReviewChart::BarSegment &segment : f.review().columns.at(1).segments)
            drawn.append(segment.height);
        QCOMPARE(drawn, heights);
    }

    void shouldStackCatalogueProjectsWithTheFirstAtTheBottom()
    {
        Fixture f;
        const double tue = at(2024, 3, 12, 9, 0);
        f.stats.setRecords({record(tue, 600, u"学习"_s), record(tue, 1200, u"运动"_s),
            record(tue, 900, u"未分类"_s), record(tue, 30, u"工作"_s)});
        const ReviewChart::DayColumn column = f.review().columns.at(1);
        QCOMPARE(column.segments.size(), 2); // "工作" has 0 whole minutes, "未分类" is not listed
        QCOMPARE(column.segments.at(0).project, u"运动"_s);
        QCOMPARE(column.segments.at(1).project, u"学习"_s);
        QCOMPARE(column.segments.at(1).minutes, 10);
        QCOMPARE(column.minutesText, u"45m"_s); // uncatalogued projects still count in the day
    }

    // Shares are of whole minutes, uncatalogued projects included, so a row may pass 100 %.
    void shouldComputeLegendSharesFromWholeMinutes_data()
    {
        QTest::addColumn<FocusRecordList>("records");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("fraction");
        const double tue = at(2024, 3, 12, 9, 0);

        QTest::newRow("three of 40.9 minutes") << FocusRecordList {record(tue, 40.9 * 60),
            record(tue, 40.9 * 60), record(tue, 40.9 * 60)}
                                               << u"2h 2m · 101%"_s << 1.0;
        QTest::newRow("uncatalogued projects left out")
            << FocusRecordList {record(tue, 125 * 60), record(tue, 180 * 60, u"未分类"_s)}
            << u"2h 5m · 40%"_s << 125.0 / 305.0;
    }

    void shouldComputeLegendSharesFromWholeMinutes()
    {
        QFETCH(FocusRecordList, records);
        QFETCH(QString, text);
        QFETCH(double, fraction);

        Fixture f;
        f.stats.setRecords(records);
        const ReviewChart::WeekReview review = f.review();
        QCOMPARE(review.legend.size(), 1);
        QCOMPARE(review.legend.first().text, text);
        QCOMPARE(review.legend.first().fraction, fraction);
    }

    void shouldLabelColumnsByPositionInASundayFirstWeek()
    {
        Fixture f(Qt::Sunday);
        f.stats.setRecords({record(at(2024, 3, 10, 9, 0), 600)});
        const ReviewChart::DayColumn first = f.review().columns.first();
        QCOMPARE(first.date, QDate(2024, 3, 10));
        QCOMPARE(first.weekday, u"一"_s);
        QCOMPARE(first.minutesText, u"10m"_s);
    }

    void shouldPlaceColumnsByTheSystemClock()
    {
        Fixture f;
        f.today.set(at(2024, 3, 20, 12, 0)); // the system is a week ahead of the model's clock
        f.stats.setRecords(
            {record(at(2024, 3, 12, 9, 0), 600), record(at(2024, 3, 19, 9, 0), 1200)});
        const ReviewChart::WeekReview review = f.review();
        QCOMPARE(review.columns.at(1).date, QDate(2024, 3, 19));
        // The bars hold only the selected week's records; the minutes label counts the day.
        QVERIFY(review.columns.at(1).segments.isEmpty());
        QCOMPARE(review.columns.at(1).minutesText, u"20m"_s);
        QCOMPARE(review.legend.first().minutes, 10);
    }

    // The review page's today ring

    void shouldShowNothingTodayWithoutRecordsOrRunningSession()
    {
        Fixture f;
        f.stats.setRecords({record(at(2024, 3, 12, 9, 0), 600)});
        QVERIFY(ReviewChart::todayDistribution(f.stats).isEmpty());
        FocusStats::LiveSession paused = running(600);
        paused.running = false;
        QVERIFY(ReviewChart::todayDistribution(f.stats, paused).isEmpty());
    }

    void shouldSplitTheRingByKeyInAscendingOrder()
    {
        Fixture f;
        const auto slices = [&f](const FocusStats::LiveSession &live) {
            QStringList list;
            for (const ReviewChart::Slice &s : ReviewChart::todayDistribution(f.stats, live).slices)
                list.append(QStringList {
                    s.key, s.colorProject, QString::number(s.start), QString::number(s.end), s.text}
                                .join(u'|'));
            return list;
        };
        QCOMPARE(slices(running(600, u"学习"_s, u"阅读"_s)),
            QStringList {u"学习 / 阅读|学习|0|1|10分 · 100%"_s});

        f.stats.setRecords({record(wednesday - 10, 1800, u"学习"_s, u"阅读"_s),
            record(wednesday - 20, 1200, u"学习"_s)});
        QCOMPARE(ReviewChart::todayDistribution(f.stats, running(600)).total, 3600.0);
        QCOMPARE(slices(running(600)),
            (QStringList {
                u"学习|学习|0|0.5|30分 · 50%"_s, u"学习 / 阅读|学习|0.5|1|30分 · 50%"_s}));
    }

    void shouldCloseTheRingWithoutGapsOrOverlaps_data()
    {
        QTest::addColumn<QList<double>>("seconds"); // in key order

        QTest::newRow("halves") << QList<double> {1800, 1800};
        QTest::newRow("thirds") << QList<double> {1200, 1200, 1200};
        // Rounded one by one, the first two sweeps would end a half degree past the third's start.
        QTest::newRow("slivers") << QList<double> {0.6, 0.6, 718.8};
        QTest::newRow("sevenths") << QList<double> {1, 1, 1, 1, 1, 1, 1};
        QTest::newRow("uneven") << QList<double> {13.7, 2.2, 5000.1, 0.01, 777};
    }

    void shouldCloseTheRingWithoutGapsOrOverlaps()
    {
        QFETCH(QList<double>, seconds);

        Fixture f;
        FocusRecordList records;
        for (qsizetype i = 0; i < seconds.size(); ++i)
            records.append(
                record(wednesday - 60, seconds.at(i), QString(QChar(char16_t(u'A' + i)))));
        f.stats.setRecords(records);
        const ReviewChart::TodayDistribution ring = ReviewChart::todayDistribution(f.stats);
        QCOMPARE(ring.slices.size(), seconds.size());

        double angle = 0;
        for (const ReviewChart::Slice &slice : ring.slices) {
            QCOMPARE(slice.startAngle, angle);
            QVERIFY(slice.sweepAngle >= 0);
            // Half-degree steps, so the arcs stay still while the seconds tick.
            QCOMPARE(std::fmod(slice.sweepAngle * 2, 1.0), 0.0);
            angle = slice.startAngle + slice.sweepAngle;
        }
        QCOMPARE(angle, 360.0);
    }

    void shouldTakeTheColourFromTheProjectPartOfAKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("project");
        QTest::newRow("plain") << u"学习"_s << u"学习"_s;
        QTest::newRow("with subproject") << u"学习 / 阅读"_s << u"学习"_s;
        QTest::newRow("slash in the name") << u"A/B / C"_s << u"A"_s;
        QTest::newRow("leading slash") << u"/x"_s << QString();
    }

    void shouldTakeTheColourFromTheProjectPartOfAKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, project);
        QCOMPARE(ReviewChart::colorProject(key), project);
    }
};

QTEST_GUILESS_MAIN(TestStats)
#include "tst_stats.moc"
