// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/focusstats.h"

#include "records/instant.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

FocusStats::Clock orWallClock(FocusStats::Clock clock)
{
    return clock ? std::move(clock) : FocusStats::Clock(&Instant::currentWallClock);
}

} // namespace

qint64 FocusStats::Totals::projectMinutes(const QString &project) const
{
    return wholeMinutes(projectSeconds.value(project, 0.0));
}

FocusStats::FocusStats(Clock now, Clock todayClock, FocusCalendar calendar)
    : m_now(orWallClock(std::move(now))),
      m_todayClock(orWallClock(std::move(todayClock))),
      m_calendar(std::move(calendar))
{
}

void FocusStats::setRecords(const FocusRecordList &records)
{
    m_records = records;
    m_indexValid = false;
    m_today.valid = false;
    m_week.valid = false;
}

void FocusStats::selectWeek(int offset)
{
    m_weekOffset = offset;
}

double FocusStats::now() const
{
    return m_now();
}

double FocusStats::systemNow() const
{
    return m_todayClock();
}

// Plain helpers

qint64 FocusStats::truncated(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (value >= limit)
        return std::numeric_limits<qint64>::max();
    if (value <= -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(value);
}

qint64 FocusStats::wholeMinutes(double seconds)
{
    return truncated(seconds / 60.0);
}

QString FocusStats::clockText(double seconds)
{
    const qint64 minutes = truncated(seconds) / 60;
    // An edited file can make the day negative: keep one sign in front, not one per field.
    const quint64 magnitude = minutes < 0 ? 0 - quint64(minutes) : quint64(minutes);
    const QString sign = minutes < 0 ? u"-"_s : QString();
    const quint64 rest = magnitude % 60;
    return sign + QString::number(magnitude / 60) + u':' + (rest < 10 ? u"0"_s : QString())
        + QString::number(rest);
}

QString FocusStats::distributionKey(
    const QString &project, const std::optional<QString> &subproject)
{
    return subproject ? project + u" / " + *subproject : project;
}

qint64 FocusStats::projectMinutes(const QString &project, const FocusRecordList &records)
{
    double seconds = 0;
    for (const FocusRecord &record : records) {
        if (record.project == project)
            seconds += RecordMath::summable(record.duration);
    }
    return wholeMinutes(seconds);
}

// Index

void FocusStats::ensureIndex() const
{
    if (m_indexValid)
        return;
    m_index.rebuild(m_records);
    m_indexValid = true;
}

std::vector<qsizetype> FocusStats::positionsBetween(double from, double to, bool toIncluded) const
{
    ensureIndex();
    return m_index.between(m_records, from, to, toIncluded);
}

std::vector<qsizetype> FocusStats::positionsInDayOfWeek(
    const Interval &day, const Interval &week) const
{
    const double from = std::max(day.start, week.start);
    // The week includes its end; a day reaching past it stops there.
    if (day.end <= week.end)
        return positionsBetween(from, day.end, false);
    return positionsBetween(from, week.end, true);
}

double FocusStats::secondsOf(const std::vector<qsizetype> &positions) const
{
    double seconds = 0;
    for (qsizetype position : positions)
        seconds += RecordMath::summable(m_records.at(position).duration);
    return seconds;
}

FocusStats::Totals FocusStats::totalsOf(const std::vector<qsizetype> &positions) const
{
    Totals totals;
    for (qsizetype position : positions) {
        const FocusRecord &record = m_records.at(position);
        const double seconds = RecordMath::summable(record.duration);
        totals.seconds += seconds;
        totals.projectSeconds[record.project] += seconds;
    }
    return totals;
}

FocusRecordList FocusStats::recordsAt(const std::vector<qsizetype> &positions) const
{
    FocusRecordList list;
    list.reserve(qsizetype(positions.size()));
    for (qsizetype position : positions)
        list.append(m_records.at(position));
    return list;
}

// Today

const FocusStats::TodayCache &FocusStats::ensureToday() const
{
    ensureIndex();
    const double clock = m_todayClock();
    if (m_today.valid && m_today.day && m_today.day->contains(clock))
        return m_today;
    const std::optional<Interval> day = m_calendar.day(clock);
    if (m_today.valid && m_today.day == day)
        return m_today;

    m_today = TodayCache {};
    m_today.valid = true;
    m_today.day = day;
    if (!day)
        return m_today;
    m_today.positions = positionsBetween(day->start, day->end, false);
    m_today.totals = totalsOf(m_today.positions);
    // Keys are few: join the names once per key, not once per record.
    QHash<QString, QHash<QString, QString>> joinedKeys;
    QHash<QString, double> keySeconds;
    for (qsizetype position : m_today.positions) {
        const FocusRecord &record = m_records.at(position);
        const double seconds = RecordMath::summable(record.duration);
        if (!record.subproject) {
            keySeconds[record.project] += seconds;
            continue;
        }
        QString &key = joinedKeys[record.project][*record.subproject];
        if (key.isNull())
            key = distributionKey(record.project, record.subproject);
        keySeconds[key] += seconds;
    }
    for (auto it = keySeconds.cbegin(); it != keySeconds.cend(); ++it)
        m_today.keySeconds.insert(it.key(), it.value());
    return m_today;
}

std::optional<FocusStats::Interval> FocusStats::today() const
{
    return ensureToday().day;
}

FocusRecordList FocusStats::todayRecords() const
{
    ensureToday();
    if (!m_today.records)
        m_today.records = recordsAt(m_today.positions);
    return *m_today.records;
}

double FocusStats::todayRecordedSeconds() const
{
    return ensureToday().totals.seconds;
}

double FocusStats::todayTotal(const LiveSession &live) const
{
    const double recorded = todayRecordedSeconds();
    if (!live.running)
        return recorded;
    return recorded + std::max(0.0, RecordMath::summable(live.elapsed));
}

QString FocusStats::todayDisplay(const LiveSession &live) const
{
    return clockText(todayTotal(live));
}

qint64 FocusStats::todayProjectMinutes(const QString &project) const
{
    return ensureToday().totals.projectMinutes(project);
}

const QMap<QString, double> &FocusStats::todaySecondsByKey() const
{
    return ensureToday().keySeconds;
}

// The selected week

const FocusStats::WeekCache &FocusStats::ensureWeek() const
{
    ensureIndex();
    const double clock = m_now();
    if (m_week.valid && m_week.offset == m_weekOffset && m_week.nowWeek
        && m_week.nowWeek->contains(clock))
        return m_week;
    m_week = WeekCache {};
    m_week.valid = true;
    m_week.offset = m_weekOffset;
    m_week.nowWeek = m_calendar.week(clock);
    buildWeek(m_week, clock);
    return m_week;
}

void FocusStats::buildWeek(WeekCache &cache, double clock) const
{
    const std::optional<double> moved = m_calendar.addWeeks(clock, cache.offset);
    cache.week = moved ? m_calendar.week(*moved) : std::nullopt;

    if (cache.week) {
        cache.positions = positionsBetween(cache.week->start, cache.week->end, true);
        cache.totals = totalsOf(cache.positions);
        bool first = true;
        for (qsizetype position : cache.positions) {
            const FocusRecord &record = m_records.at(position);
            const double duration = record.duration;
            const qint64 whole = RecordMath::wholeSeconds(duration);
            cache.totalSeconds = saturatingAdd(cache.totalSeconds, whole);
            qint64 &projectWhole = cache.projectWholeSeconds[record.project];
            projectWhole = saturatingAdd(projectWhole, whole);
            cache.wholeMinutes =
                saturatingAdd(cache.wholeMinutes, wholeMinutes(RecordMath::summable(duration)));
            const double seconds = RecordMath::summable(duration);
            if (first || seconds > cache.longest)
                cache.longest = seconds;
            first = false;
        }
    }

    // The goal days fall back to the current week when the shift cannot be computed.
    const std::optional<Interval> goalWeek = moved ? cache.week : m_calendar.week(clock);
    if (goalWeek) {
        for (int i = 0; i < 7; ++i) {
            const std::optional<double> dayInstant = m_calendar.addDays(goalWeek->start, i);
            cache.days[size_t(i)] = dayInstant ? m_calendar.day(*dayInstant) : std::nullopt;
            const std::optional<Interval> &day = cache.days[size_t(i)];
            if (!day)
                continue;
            cache.daySeconds[size_t(i)] = secondsOf(positionsBetween(day->start, day->end, false));
            if (cache.week)
                cache.dayInWeek[size_t(i)] = totalsOf(positionsInDayOfWeek(*day, *cache.week));
        }
    }

    if (cache.week) {
        const double lastDay = m_calendar.addDays(cache.week->end, -1).value_or(cache.week->end);
        cache.label =
            m_calendar.monthDay(cache.week->start) + u" – " + m_calendar.monthDay(lastDay);
    } else {
        cache.label = u"本周"_s;
    }
    cache.summary = summaryOf(cache);
}

QString FocusStats::summaryOf(const WeekCache &cache) const
{
    const qint64 total = cache.totalSeconds;
    QString share = u"暂无项目投入"_s;
    if (!cache.positions.empty()) {
        // The greatest sum of whole seconds, the same seconds as the total; on a tie the name
        // that sorts first.
        std::optional<QString> top;
        qint64 topSeconds = 0;
        for (auto it = cache.projectWholeSeconds.cbegin(); it != cache.projectWholeSeconds.cend();
             ++it) {
            const qint64 seconds = it.value();
            if (!top || seconds > topSeconds || (seconds == topSeconds && it.key() < *top)) {
                top = it.key();
                topSeconds = seconds;
            }
        }
        // Only negative durations from an edited file could still lift a part above the whole.
        const qint64 percent = total == 0
            ? 0
            : std::min<qint64>(100, truncated(double(topSeconds) / double(total) * 100.0));
        share = top.value_or(QString()) + u"占" + QString::number(percent) + u"%";
    }
    return u"本周"_s + QString::number(cache.positions.size()) + u"段、共"
        + QString::number(total / 3600) + u"小时" + QString::number((total / 60) % 60) + u"分钟；"
        + share + u"；最长一段" + QString::number(wholeMinutes(cache.longest)) + u"分钟。";
}

std::optional<FocusStats::Interval> FocusStats::week() const
{
    return ensureWeek().week;
}

FocusRecordList FocusStats::weekRecords() const
{
    ensureWeek();
    if (!m_week.records)
        m_week.records = recordsAt(m_week.positions);
    return *m_week.records;
}

const QSet<QUuid> &FocusStats::weekIds() const
{
    ensureWeek();
    if (!m_week.ids) {
        QSet<QUuid> ids;
        ids.reserve(qsizetype(m_week.positions.size()));
        for (qsizetype position : m_week.positions)
            ids.insert(m_records.at(position).id);
        m_week.ids = std::move(ids);
    }
    return *m_week.ids;
}

qint64 FocusStats::weekProjectMinutes(const QString &project) const
{
    return ensureWeek().totals.projectMinutes(project);
}

qint64 FocusStats::weekTotalSeconds() const
{
    return ensureWeek().totalSeconds;
}

qint64 FocusStats::weekWholeMinutes() const
{
    return ensureWeek().wholeMinutes;
}

qint64 FocusStats::dailyMinutes(double dayInstant) const
{
    const std::optional<Interval> day = m_calendar.day(dayInstant);
    if (!day)
        return 0;
    // The days on screen are usually already summed.
    if (m_today.valid && m_today.day == day)
        return wholeMinutes(m_today.totals.seconds);
    if (m_week.valid) {
        for (size_t i = 0; i < m_week.days.size(); ++i) {
            if (m_week.days[i] == day)
                return wholeMinutes(m_week.daySeconds[i]);
        }
    }
    return wholeMinutes(secondsOf(positionsBetween(day->start, day->end, false)));
}

FocusStats::Totals FocusStats::weekDayTotals(double dayInstant) const
{
    const WeekCache &cache = ensureWeek();
    const std::optional<Interval> day = m_calendar.day(dayInstant);
    if (!day || !cache.week)
        return {};
    for (size_t i = 0; i < cache.days.size(); ++i) {
        if (cache.days[i] == day)
            return cache.dayInWeek[i];
    }
    return totalsOf(positionsInDayOfWeek(*day, *cache.week));
}

int FocusStats::dailyGoalReached(int goalHours) const
{
    const WeekCache &cache = ensureWeek();
    const qint64 goalMinutes = qint64(goalHours) * 60;
    int reached = 0;
    for (size_t i = 0; i < cache.days.size(); ++i) {
        if (cache.days[i] && wholeMinutes(cache.daySeconds[i]) >= goalMinutes)
            ++reached;
    }
    return reached;
}

qint64 FocusStats::longestSession() const
{
    return wholeMinutes(ensureWeek().longest);
}

QString FocusStats::weekLabel() const
{
    return ensureWeek().label;
}

QString FocusStats::weekSummary() const
{
    return ensureWeek().summary;
}
