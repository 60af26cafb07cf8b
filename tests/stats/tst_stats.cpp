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

    // Chinese weeks start on Monday whatever the locale's data says; others keep their own.
    void shouldTakeWeekStartAndDateOrderFromTheLocale()
    {
        QCOMPARE(FocusCalendar::firstDayOfWeekOf(QLocale(u"zh_HK"_s)), Qt::Monday);
        QCOMPARE(FocusCalendar::firstDayOfWeekOf(QLocale(u"en_US"_s)), Qt::Sunday);
        const double march5 = at(2024, 3, 5, 23, 59);
        QCOMPARE(FocusCalendar(Qt::Monday, QLocale(u"sv_SE"_s)).monthDay(march5), u"03-05"_s);
        QCOMPARE(FocusCalendar(Qt::Monday, QLocale(u"ko_KR"_s)).monthDay(march5), u"03. 05"_s);

        // A week is labelled with its first and last day.
        QCOMPARE(Fixture(Qt::Sunday).stats.weekLabel(), u"03/10 – 03/16"_s);
        Fixture german(Qt::Monday, u"de_DE"_s);
        german.stats.selectWeek(-11);
        QCOMPARE(german.stats.weekLabel(), u"25.12 – 31.12"_s);
    }

    void shouldBoundDaysAtLocalMidnightAndRefuseWhatNoCalendarCanHold()
    {
        const FocusCalendar calendar;
        const auto day = calendar.day(at(2024, 3, 5, 23, 59, 59));
        QVERIFY(day);
        QCOMPARE(day->start, at(2024, 3, 5));
        QCOMPARE(day->end, at(2024, 3, 6));

        QVERIFY(!calendar.day(notANumber));
        QVERIFY(!calendar.week(infinity));
        QVERIFY(!calendar.day(1e300));
        QVERIFY(!calendar.addWeeks(0, std::numeric_limits<qint64>::max()));
        QCOMPARE(calendar.monthDay(notANumber), QString());
    }

    // The figures

    void shouldPlaceRecordInWeekByItsEnd()
    {
        const auto inWeek = [](int firstDay, int offset, double endedAt) {
            Fixture f {firstDay};
            f.stats.setRecords({record(endedAt, 600)});
            f.stats.selectWeek(offset);
            return int(f.stats.weekRecords().size() + f.stats.weekIds().size());
        };
        // The first instant of next week belongs to both weeks.
        QCOMPARE(inWeek(Qt::Monday, 0, at(2024, 3, 18)), 2);
        QCOMPARE(inWeek(Qt::Monday, 1, at(2024, 3, 18)), 2);
        QCOMPARE(inWeek(Qt::Monday, 0, at(2024, 3, 10, 23, 59, 59)), 0);
        QCOMPARE(inWeek(Qt::Saturday, 0, at(2024, 3, 16, 8, 0)), 0); // a Saturday starts the next
    }

    void shouldWriteWeekSummary()
    {
        const auto summary = [](const QList<std::pair<double, QString>> &records) {
            Fixture f;
            FocusRecordList list;
            for (const auto &[duration, project] : records)
                list.append(record(at(2024, 3, 12, 10, 0), duration, project));
            f.stats.setRecords(list);
            const QString text = f.stats.weekSummary();
            return text == f.review().summary ? text : u"the card differs: "_s + text;
        };
        QCOMPARE(summary({{1500, u"学习"_s}, {1500, u"学习"_s}, {900, u"工作"_s}}),
            u"本周3段、共1小时5分钟；学习占76%；最长一段25分钟。"_s);
        // The top project by whole seconds, the same seconds as the total.
        QCOMPARE(summary({{10.9, u"A"_s}, {10.9, u"A"_s}, {10.9, u"A"_s}, {31, u"B"_s}}),
            u"本周4段、共0小时1分钟；B占50%；最长一段0分钟。"_s);
        QCOMPARE(summary({{600, u"beta"_s}, {600, u"alpha"_s}}), // a tie names the first name
            u"本周2段、共0小时20分钟；alpha占50%；最长一段10分钟。"_s);
        QCOMPARE(summary({{notANumber, u"学习"_s}, {infinity, u"B"_s}, {600, u"学习"_s}}),
            u"本周3段、共0小时10分钟；学习占100%；最长一段10分钟。"_s);
    }

    void shouldShowTodayAsHoursAndMinutes()
    {
        QCOMPARE(FocusStats::clockText(3599.9), u"0:59"_s);
        QCOMPARE(FocusStats::clockText(-3900), u"-1:05"_s); // from an edited file
        QCOMPARE(FocusStats::clockText(notANumber), u"0:00"_s);
        QCOMPARE(FocusStats::clockText(1e30), u"2562047788015215:30"_s);
        Fixture f;
        f.stats.setRecords({record(wednesday - 60, 3900)});
        QCOMPARE(f.stats.todayDisplay(), u"1:05"_s);
    }

    void shouldAddARunningSessionToToday()
    {
        Fixture f;
        f.stats.setRecords(
            {record(at(2024, 3, 13, 9, 0), 1500), record(at(2024, 3, 12, 9, 0), 900)});
        QCOMPARE(f.stats.todayTotal(), 1500.0);
        QCOMPARE(f.stats.todayTotal(running(600)), 2100.0);
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
        f.stats.selectWeek(-1);
        QCOMPARE(f.stats.weekRecords().size(), 2);

        f.stats.setRecords({record(at(2024, 3, 14, 10, 0), 60)});
        QCOMPARE(f.stats.todayRecordedSeconds(), 60.0);
        QCOMPARE(f.stats.weekRecords().size(), 1);
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

    void shouldCountGoalDaysAtWholeMinutes()
    {
        const auto days = [](const FocusRecordList &records, int goalHours) {
            Fixture f;
            f.stats.setRecords(records);
            return f.stats.dailyGoalReached(goalHours);
        };
        const double tue = at(2024, 3, 12, 20, 0);
        QCOMPARE(days({record(tue, 18000)}, 5), 1);
        QCOMPARE(days({record(tue, 17999.9)}, 5), 0); // 299 whole minutes
        FocusRecordList everyDay;
        for (int day = 10; day <= 18; ++day)
            everyDay.append(record(at(2024, 3, day, 0, 0), 3600));
        QCOMPARE(days(everyDay, 1), 7); // the next Monday is not one of them
    }

    void shouldMatchProjectNamesExactlyWithTheirSubprojects()
    {
        Fixture f;
        f.stats.setRecords({record(wednesday - 10, 600, u"Study"_s),
            record(wednesday - 20, 1800, u"学习"_s, u"阅读"_s),
            record(wednesday - 30, 60, u"学习"_s),
            record(wednesday - 40, 60, u"学习"_s, u"阅读"_s)});
        QCOMPARE(f.stats.todayProjectMinutes(u"Study"_s), 10);
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
    }

    void shouldAcceptAnyWeekOffset()
    {
        Fixture f;
        f.stats.setRecords({record(wednesday, 600)});
        f.stats.selectWeek(std::numeric_limits<int>::min());
        QCOMPARE(f.stats.weekRecords().size(), 0);
        QCOMPARE(f.stats.dailyGoalReached(1), 0);
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
    }

    // The review page's week

    void shouldClampBarSegmentHeights()
    {
        const auto heights = [](const FocusRecordList &records) {
            Fixture f;
            f.stats.setRecords(records);
            QList<double> drawn; // top to bottom
            const ReviewChart::WeekReview review = f.review();
            for (const ReviewChart::BarSegment &segment : review.columns.at(1).segments)
                drawn.append(segment.height);
            return drawn;
        };
        const double tue = at(2024, 3, 12, 23, 0);
        QCOMPARE(heights({record(tue, 400 * 60.0)}), QList<double> {120.0}); // the cap
        // A stack past the bar is scaled down, keeping the proportions and the 3-point floor.
        const double scale = 146.0 / 168.0;
        QCOMPARE(heights({record(tue, 400 * 60.0), record(tue, 100 * 60.0, u"工作"_s),
                     record(tue, 2 * 60.0, u"运动"_s)}),
            (QList<double> {3.0 * scale, 45.0 * scale, 120.0 * scale}));
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
    void shouldComputeLegendSharesFromWholeMinutes()
    {
        const double tue = at(2024, 3, 12, 9, 0);
        const auto legend = [](const FocusRecordList &records) {
            Fixture f;
            f.stats.setRecords(records);
            const ReviewChart::LegendRow row = f.review().legend.value(0);
            return std::pair {row.text, row.fraction};
        };
        QCOMPARE(legend({record(tue, 40.9 * 60), record(tue, 40.9 * 60), record(tue, 40.9 * 60)}),
            std::pair(u"2h 2m · 101%"_s, 1.0));
        QCOMPARE(legend({record(tue, 125 * 60), record(tue, 180 * 60, u"未分类"_s)}),
            std::pair(u"2h 5m · 40%"_s, 125.0 / 305.0));
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
        FocusStats::LiveSession paused = running(600);
        paused.running = false;
        QVERIFY(slices(paused).isEmpty()); // nothing today and nothing running
        QCOMPARE(slices(running(600, u"学习"_s, u"阅读"_s)),
            QStringList {u"学习 / 阅读|学习|0|1|10分 · 100%"_s});

        f.stats.setRecords({record(wednesday - 10, 1800, u"学习"_s, u"阅读"_s),
            record(wednesday - 20, 1200, u"学习"_s)});
        QCOMPARE(ReviewChart::todayDistribution(f.stats, running(600)).total, 3600.0);
        QCOMPARE(slices(running(600)),
            (QStringList {
                u"学习|学习|0|0.5|30分 · 50%"_s, u"学习 / 阅读|学习|0.5|1|30分 · 50%"_s}));
        // The colour comes from the part before the first " / ".
        QCOMPARE(ReviewChart::colorProject(u"A/B / C"_s), u"A"_s);
        QCOMPARE(ReviewChart::colorProject(u"/x"_s), QString());
    }

    void shouldCloseTheRingWithoutGapsOrOverlaps()
    {
        // Rounded one by one, the first two sweeps would end a half degree past the third's start.
        const QList<double> seconds {0.6, 0.6, 718.8};
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
};

QTEST_GUILESS_MAIN(TestStats)
#include "tst_stats.moc"
