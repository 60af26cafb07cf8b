// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The figures of the model: today's total and distribution, the selected week, and the midnight
// watch that moves "today" along while the application stays open.

#include "model/timermodel.h"
#include "stats/reviewchart.h"

FocusStats::LiveSession TimerModel::liveSession() const
{
    return {running(), elapsed(), attributedProject(), attributedSubproject()};
}

void TimerModel::onRecordsReplaced()
{
    m_stats.setRecords(records());
    Q_EMIT recordsChanged();
    Q_EMIT todayTotalChanged();
    Q_EMIT weekChanged();
}

void TimerModel::watchForANewDay()
{
    m_watchedDay = m_stats.today();
    m_dayWatch.setInterval(30 * 1000);
    connect(&m_dayWatch, &QTimer::timeout, this, [this] {
        const auto day = m_stats.today();
        if (day == m_watchedDay)
            return;
        m_watchedDay = day;
        m_stats.setRecords(records()); // today's and the week's caches start afresh
        Q_EMIT todayTotalChanged();
        Q_EMIT weekChanged();
    });
    m_dayWatch.start();
}

void TimerModel::selectWeek(int offset)
{
    m_stats.selectWeek(offset);
    Q_EMIT selectedWeekOffsetChanged();
    Q_EMIT weekChanged();
}

int TimerModel::todayProjectMinutes(const QString &project) const
{
    return int(std::clamp<qint64>(m_stats.todayProjectMinutes(project), INT_MIN, INT_MAX));
}

int TimerModel::dailyMinutes(double dayInstant) const
{
    return int(std::clamp<qint64>(m_stats.dailyMinutes(dayInstant), INT_MIN, INT_MAX));
}

int TimerModel::longestSession() const
{
    return int(std::clamp<qint64>(m_stats.longestSession(), INT_MIN, INT_MAX));
}

void TimerModel::refreshToday()
{
    const ReviewChart::TodayDistribution distribution =
        ReviewChart::todayDistribution(m_stats, liveSession());
    QList<FigureListModel::Row> slices;
    slices.reserve(distribution.slices.size());
    for (const ReviewChart::Slice &slice : distribution.slices) {
        slices.append({slice.key, projectColor(slice.colorProject), slice.seconds, slice.start,
            slice.end, slice.startAngle, slice.sweepAngle, slice.text});
    }
    m_todaySlices->setRows(slices);
    if (m_todayChartEmpty != distribution.isEmpty()) {
        m_todayChartEmpty = distribution.isEmpty();
        Q_EMIT todayChartEmptyChanged();
    }
}

void TimerModel::refreshWeek()
{
    const ReviewChart::WeekReview review =
        ReviewChart::weekReview(m_stats, m_catalog.projects(), m_dailyGoalHours);
    m_weekTotalText = review.totalText;
    m_weekGoalText = review.goalText;
    m_weekLongestText = review.longestText;
    Q_EMIT weekTextsChanged();

    // A column keeps its segment list for as long as it exists, so a column's delegate stays.
    while (m_weekSegments.size() < review.columns.size())
        m_weekSegments.append(new FigureListModel({"project", "color", "minutes", "height"}, this));
    QList<FigureListModel::Row> columns;
    columns.reserve(review.columns.size());
    for (qsizetype i = 0; i < review.columns.size(); ++i) {
        const ReviewChart::DayColumn &column = review.columns.at(i);
        QList<FigureListModel::Row> segments;
        for (const ReviewChart::BarSegment &segment : column.segments) {
            segments.append(
                {segment.project, projectColor(segment.project), segment.minutes, segment.height});
        }
        m_weekSegments.at(i)->setRows(segments);
        columns.append({column.date, column.weekday, column.minutes, column.minutesText,
            QVariant::fromValue(m_weekSegments.at(i))});
    }
    m_weekColumns->setRows(columns);
    while (m_weekSegments.size() > review.columns.size())
        delete m_weekSegments.takeLast();

    QList<FigureListModel::Row> legend;
    legend.reserve(review.legend.size());
    for (const ReviewChart::LegendRow &row : review.legend) {
        legend.append({row.project, projectColor(row.project), row.minutes, row.percent,
            row.fraction, row.text});
    }
    m_weekLegend->setRows(legend);
}
