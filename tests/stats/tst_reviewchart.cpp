// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/reviewchart.h"
#include "statstestdata.h"

#include "doubles/fakeclock.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using StatsTestData::at;
using StatsTestData::record;

namespace {

const double wednesday = at(2024, 3, 13, 12, 0); // week of Mon 11 March … Sun 17 March
const QStringList catalogue = {u"学习"_s, u"工作"_s, u"运动"_s};

struct Fixture {
    FakeClock now {wednesday};
    FakeClock today {wednesday};
    FocusStats stats;

    explicit Fixture(Qt::DayOfWeek firstDay = Qt::Monday)
        : stats(now.clock(), today.clock(), FocusCalendar(firstDay, QLocale(u"zh_CN"_s)))
    {
    }
};

FocusStats::LiveSession running(
    double elapsed, const QString &project, std::optional<QString> subproject = {})
{
    FocusStats::LiveSession live;
    live.running = true;
    live.elapsed = elapsed;
    live.project = project;
    live.subproject = std::move(subproject);
    return live;
}

} // namespace

class TestReviewChart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldShowAnEmptyWeekAsZeros()
    {
        Fixture f;
        const ReviewChart::WeekReview review = ReviewChart::weekReview(f.stats, catalogue, 5);
        QCOMPARE(review.totalText, u"0 小时"_s);
        QCOMPARE(review.goalText, u"0 / 7 天"_s);
        QCOMPARE(review.longestText, u"0 分钟"_s);
        QCOMPARE(review.summary, u"本周0段、共0小时0分钟；暂无项目投入；最长一段0分钟。"_s);
        QCOMPARE(review.label, u"03/11 – 03/17"_s);
        QCOMPARE(review.columns.size(), 7);
        const QStringList weekdays = {
            u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s, u"日"_s};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(review.columns.at(i).date, QDate(2024, 3, 11 + i));
            QCOMPARE(review.columns.at(i).weekday, weekdays.at(i));
            QCOMPARE(review.columns.at(i).minutesText, u"0m"_s);
            QVERIFY(review.columns.at(i).segments.isEmpty());
        }
        QVERIFY(review.legend.isEmpty());
    }

    void shouldTruncateWeekHoursOnTheCard()
    {
        Fixture f;
        f.stats.setRecords({record(at(2024, 3, 12, 9, 0), 3 * 3600 + 59 * 60 + 59.9)});
        QCOMPARE(ReviewChart::weekReview(f.stats, catalogue, 5).totalText, u"3 小时"_s);
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
        const ReviewChart::DayColumn tuesday =
            ReviewChart::weekReview(f.stats, catalogue, 5).columns.at(1);
        QList<double> drawn;
        double stack = 0;
        for (const ReviewChart::BarSegment &segment : tuesday.segments) {
            drawn.append(segment.height);
            stack += segment.height;
        }
        QCOMPARE(drawn, heights);
        QVERIFY(stack + 2.0 * double(drawn.size() - 1) <= 150.0 + 1e-9);
    }

    void shouldStackCatalogueProjectsWithTheFirstAtTheBottom()
    {
        Fixture f;
        const double tue = at(2024, 3, 12, 9, 0);
        f.stats.setRecords({record(tue, 600, u"学习"_s), record(tue, 1200, u"运动"_s),
            record(tue, 900, u"未分类"_s), record(tue, 30, u"工作"_s)});
        const ReviewChart::DayColumn column =
            ReviewChart::weekReview(f.stats, catalogue, 5).columns.at(1);
        QCOMPARE(column.segments.size(), 2); // "工作" has 0 whole minutes, "未分类" is not listed
        QCOMPARE(column.segments.at(0).project, u"运动"_s);
        QCOMPARE(column.segments.at(1).project, u"学习"_s);
        QCOMPARE(column.segments.at(1).minutes, 10);
        // Uncatalogued projects still count in the day's minutes.
        QCOMPARE(column.minutesText, u"45m"_s);
    }

    void shouldComputeLegendSharesFromWholeMinutes()
    {
        Fixture f;
        const double tue = at(2024, 3, 12, 9, 0);
        f.stats.setRecords(
            {record(tue, 40.9 * 60), record(tue, 40.9 * 60), record(tue, 40.9 * 60)});
        const ReviewChart::WeekReview review = ReviewChart::weekReview(f.stats, catalogue, 5);
        QCOMPARE(review.legend.size(), 1);
        const ReviewChart::LegendRow row = review.legend.first();
        QCOMPARE(row.minutes, 122);
        QCOMPARE(row.percent, 101);
        QCOMPARE(row.text, u"2h 2m · 101%"_s);
        QCOMPARE(row.fraction, 1.0);
    }

    void shouldLeaveSharesOfUncataloguedProjectsOut()
    {
        Fixture f;
        const double tue = at(2024, 3, 12, 9, 0);
        f.stats.setRecords({record(tue, 125 * 60, u"学习"_s), record(tue, 180 * 60, u"未分类"_s)});
        const ReviewChart::WeekReview review = ReviewChart::weekReview(f.stats, catalogue, 5);
        QCOMPARE(review.legend.size(), 1);
        QCOMPARE(review.legend.first().text, u"2h 5m · 40%"_s);
        QCOMPARE(review.legend.first().fraction, 125.0 / 305.0);
    }

    void shouldLabelColumnsByPositionInASundayFirstWeek()
    {
        Fixture f(Qt::Sunday);
        f.stats.setRecords({record(at(2024, 3, 10, 9, 0), 600)});
        const ReviewChart::WeekReview review = ReviewChart::weekReview(f.stats, catalogue, 5);
        QCOMPARE(review.columns.first().date, QDate(2024, 3, 10));
        QCOMPARE(review.columns.first().weekday, u"一"_s);
        QCOMPARE(review.columns.first().minutesText, u"10m"_s);
    }

    void shouldPlaceColumnsByTheSystemClock()
    {
        Fixture f;
        f.today.set(at(2024, 3, 20, 12, 0)); // the system is a week ahead of the model's clock
        f.stats.setRecords(
            {record(at(2024, 3, 12, 9, 0), 600), record(at(2024, 3, 19, 9, 0), 1200)});
        const ReviewChart::WeekReview review = ReviewChart::weekReview(f.stats, catalogue, 5);
        QCOMPARE(review.columns.at(1).date, QDate(2024, 3, 19));
        // The bars hold only the selected week's records; the minutes label counts the day.
        QVERIFY(review.columns.at(1).segments.isEmpty());
        QCOMPARE(review.columns.at(1).minutesText, u"20m"_s);
        QCOMPARE(review.legend.first().minutes, 10);
    }

    void shouldShowNothingTodayWithoutRecordsOrRunningSession()
    {
        Fixture f;
        f.stats.setRecords({record(at(2024, 3, 12, 9, 0), 600)});
        QVERIFY(ReviewChart::todayDistribution(f.stats).isEmpty());
        FocusStats::LiveSession paused = running(600, u"学习"_s);
        paused.running = false;
        QVERIFY(ReviewChart::todayDistribution(f.stats, paused).isEmpty());
    }

    void shouldFillTheRingWithTheRunningSessionAlone()
    {
        Fixture f;
        const ReviewChart::TodayDistribution ring =
            ReviewChart::todayDistribution(f.stats, running(600, u"学习"_s, u"阅读"_s));
        QCOMPARE(ring.slices.size(), 1);
        const ReviewChart::Slice slice = ring.slices.first();
        QCOMPARE(slice.key, u"学习 / 阅读"_s);
        QCOMPARE(slice.colorProject, u"学习"_s);
        QCOMPARE(slice.start, 0.0);
        QCOMPARE(slice.end, 1.0);
        QCOMPARE(slice.text, u"10分 · 100%"_s);
    }

    void shouldSplitTheRingByKeyInAscendingOrder()
    {
        Fixture f;
        f.stats.setRecords({record(wednesday - 10, 1800, u"学习"_s, u"阅读"_s),
            record(wednesday - 20, 1200, u"学习"_s)});
        const ReviewChart::TodayDistribution ring =
            ReviewChart::todayDistribution(f.stats, running(600, u"学习"_s));
        QCOMPARE(ring.total, 3600.0);
        QCOMPARE(ring.slices.size(), 2);
        QCOMPARE(ring.slices.at(0).key, u"学习"_s);
        QCOMPARE(ring.slices.at(0).end, 0.5);
        QCOMPARE(ring.slices.at(0).text, u"30分 · 50%"_s);
        QCOMPARE(ring.slices.at(1).key, u"学习 / 阅读"_s);
        QCOMPARE(ring.slices.at(1).start, 0.5);
        QCOMPARE(ring.slices.at(1).end, 1.0);
        QCOMPARE(ring.slices.at(1).colorProject, u"学习"_s);
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

QTEST_GUILESS_MAIN(TestReviewChart)
#include "tst_reviewchart.moc"
