// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/reviewchart.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace ReviewChart {

namespace {

constexpr double barHeight = 150;
constexpr double barSpacing = 2;

const QStringList &weekdayNames()
{
    static const QStringList names = {
        u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s, u"日"_s};
    return names;
}

// m × 100 ÷ w in whole numbers, without overflowing on absurd minute counts.
qint64 percentOf(qint64 minutes, qint64 whole)
{
    qint64 scaled = 0;
    if (!__builtin_mul_overflow(minutes, qint64(100), &scaled))
        return scaled / whole;
    return FocusStats::truncated(double(minutes) / double(whole) * 100.0);
}

// Several long projects on one day would stack above the bar: the stack is scaled down until
// every segment and the gaps between them fit.
void fitIntoBar(QList<BarSegment> &segments)
{
    if (segments.isEmpty())
        return;
    const double gaps = barSpacing * double(segments.size() - 1);
    double heights = 0;
    for (const BarSegment &segment : segments)
        heights += segment.height;
    if (heights + gaps <= barHeight)
        return;
    const double scale = std::max(0.0, barHeight - gaps) / heights;
    for (BarSegment &segment : segments)
        segment.height *= scale;
}

} // namespace

QList<double> columnDays(const FocusStats &stats)
{
    const FocusCalendar &calendar = stats.calendar();
    const double current = stats.systemNow();
    const double moved = calendar.addWeeks(current, stats.selectedWeekOffset()).value_or(current);
    const std::optional<FocusCalendar::Interval> week = calendar.week(moved);
    const double start = week ? week->start : moved;
    QList<double> days;
    days.reserve(7);
    for (int i = 0; i < 7; ++i)
        days.append(calendar.addDays(start, i).value_or(start));
    return days;
}

WeekReview weekReview(const FocusStats &stats, const QStringList &projects, int goalHours)
{
    WeekReview review;
    review.label = stats.weekLabel();
    review.summary = stats.weekSummary();
    review.totalText = QString::number(stats.weekTotalSeconds() / 3600) + u" 小时";
    review.goalText = QString::number(stats.dailyGoalReached(goalHours)) + u" / 7 天";
    review.longestText = QString::number(stats.longestSession()) + u" 分钟";

    const QList<double> days = columnDays(stats);
    review.columns.reserve(days.size());
    for (qsizetype i = 0; i < days.size(); ++i) {
        DayColumn column;
        column.date = stats.calendar().date(days.at(i));
        column.weekday = weekdayNames().at(i);
        const FocusStats::Totals totals = stats.weekDayTotals(days.at(i));
        for (auto it = projects.crbegin(); it != projects.crend(); ++it) {
            const qint64 minutes = totals.projectMinutes(*it);
            if (minutes > 0)
                column.segments.append(
                    {*it, minutes, std::clamp(double(minutes) * 0.45, 3.0, 120.0)});
        }
        fitIntoBar(column.segments);
        column.minutes = stats.dailyMinutes(days.at(i));
        column.minutesText = QString::number(column.minutes) + u"m";
        review.columns.append(column);
    }

    const qint64 whole = std::max<qint64>(1, stats.weekWholeMinutes());
    for (const QString &project : projects) {
        const qint64 minutes = stats.weekProjectMinutes(project);
        if (minutes <= 0)
            continue;
        LegendRow row;
        row.project = project;
        row.minutes = minutes;
        row.percent = percentOf(minutes, whole);
        // Shares are of whole minutes per record, so a row can pass 100%; its bar stops at full.
        row.fraction = std::min(1.0, double(minutes) / double(whole));
        row.text = QString::number(minutes / 60) + u"h " + QString::number(minutes % 60) + u"m · "
            + QString::number(row.percent) + u"%";
        review.legend.append(row);
    }
    return review;
}

QString colorProject(const QString &key)
{
    const qsizetype slash = key.indexOf(u'/');
    return slash < 0 ? key : key.left(slash).trimmed();
}

TodayDistribution todayDistribution(const FocusStats &stats, const FocusStats::LiveSession &live)
{
    QMap<QString, double> values = stats.todaySecondsByKey();
    if (live.running)
        values[FocusStats::distributionKey(live.project, live.subproject)] +=
            RecordMath::summable(live.elapsed);

    TodayDistribution distribution;
    for (const double seconds : values)
        distribution.total += seconds;
    const double total = distribution.total;

    double before = 0;
    double angle = 0;
    distribution.slices.reserve(values.size());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        Slice slice;
        slice.key = it.key();
        slice.colorProject = colorProject(it.key());
        slice.seconds = it.value();
        slice.start = total > 0 ? before / total : 0;
        slice.end = total > 0 ? (before + slice.seconds) / total : 0;
        // Only the end is rounded; rounding the sweep too would let the errors add up.
        const double endAngle = std::round(720.0 * slice.end) / 2.0;
        slice.startAngle = angle;
        slice.sweepAngle = endAngle - angle;
        angle = endAngle;
        const qint64 percent = total > 0 ? FocusStats::truncated(slice.seconds / total * 100.0) : 0;
        slice.text = QString::number(FocusStats::wholeMinutes(slice.seconds)) + u"分 · "
            + QString::number(percent) + u"%";
        before += slice.seconds;
        distribution.slices.append(slice);
    }
    return distribution;
}

} // namespace ReviewChart
