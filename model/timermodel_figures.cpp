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

QVariantMap TimerModel::todayDistribution() const
{
    const ReviewChart::TodayDistribution distribution
        = ReviewChart::todayDistribution(m_stats, liveSession());
    QVariantList slices;
    for (const ReviewChart::Slice &slice : distribution.slices) {
        slices.append(QVariantMap{
            {QStringLiteral("key"), slice.key},
            {QStringLiteral("color"), projectColor(slice.colorProject)},
            {QStringLiteral("seconds"), slice.seconds},
            {QStringLiteral("start"), slice.start},
            {QStringLiteral("end"), slice.end},
            {QStringLiteral("startAngle"), slice.startAngle},
            {QStringLiteral("sweepAngle"), slice.sweepAngle},
            {QStringLiteral("text"), slice.text},
        });
    }
    return {{QStringLiteral("total"), distribution.total}, {QStringLiteral("slices"), slices}};
}

QVariantMap TimerModel::weekReview() const
{
    const ReviewChart::WeekReview review
        = ReviewChart::weekReview(m_stats, m_catalog.projects(), m_dailyGoalHours);
    QVariantList columns;
    for (const ReviewChart::DayColumn &column : review.columns) {
        QVariantList segments;
        for (const ReviewChart::BarSegment &segment : column.segments) {
            segments.append(QVariantMap{
                {QStringLiteral("project"), segment.project},
                {QStringLiteral("color"), projectColor(segment.project)},
                {QStringLiteral("minutes"), segment.minutes},
                {QStringLiteral("height"), segment.height},
            });
        }
        columns.append(QVariantMap{
            {QStringLiteral("date"), column.date},
            {QStringLiteral("weekday"), column.weekday},
            {QStringLiteral("segments"), segments},
            {QStringLiteral("minutes"), column.minutes},
            {QStringLiteral("minutesText"), column.minutesText},
        });
    }
    QVariantList legend;
    for (const ReviewChart::LegendRow &row : review.legend) {
        legend.append(QVariantMap{
            {QStringLiteral("project"), row.project},
            {QStringLiteral("color"), projectColor(row.project)},
            {QStringLiteral("minutes"), row.minutes},
            {QStringLiteral("percent"), row.percent},
            {QStringLiteral("fraction"), row.fraction},
            {QStringLiteral("text"), row.text},
        });
    }
    return {
        {QStringLiteral("label"), review.label},
        {QStringLiteral("summary"), review.summary},
        {QStringLiteral("totalText"), review.totalText},
        {QStringLiteral("goalText"), review.goalText},
        {QStringLiteral("longestText"), review.longestText},
        {QStringLiteral("columns"), columns},
        {QStringLiteral("legend"), legend},
    };
}
