// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"
#include "stats/endtimeindex.h"
#include "stats/focuscalendar.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QUuid>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The session being counted down; it adds to today's figures only while running.
struct FocusLiveSession {
    bool running = false;
    double elapsed = 0; // total − remaining, in seconds
    QString project;
    std::optional<QString> subproject;
};

// The figures about finished focus work: today's total and its distribution, and the selected
// week's records, minutes per day and project, goal days, longest session, label and summary.
//
// Records belong to the day and the week in which they ended. The records are indexed by end
// time once per change of the list, and today's and the selected week's sums are kept until the
// list, the day or the week changes, so the screens can read every figure on every tick. Sums run
// in list order, as a plain pass over the list would add them; a duration that is not finite
// counts as 0, and whole values are clamped to 64 bits.
class FocusStats {
public:
    using Clock = std::function<double()>;
    using Interval = FocusCalendar::Interval;

    using LiveSession = FocusLiveSession;

    // Sums over a set of records, by project.
    struct Totals {
        double seconds = 0;
        QHash<QString, double> projectSeconds;
        qint64 projectMinutes(const QString &project) const;
    };

    // now: the model's clock, which places the selected week. todayClock: the system's clock,
    // which decides what "today" is. Empty clocks read the system's wall clock.
    FocusStats(Clock now, Clock todayClock, FocusCalendar calendar = FocusCalendar());

    // Call whenever the record list changes; the indexes are rebuilt at the next read.
    void setRecords(const FocusRecordList &records);
    const FocusRecordList &records() const { return m_records; }

    // Any offset is accepted; weeks the calendar cannot reach are empty.
    void selectWeek(int offset);
    int selectedWeekOffset() const { return m_weekOffset; }

    const FocusCalendar &calendar() const { return m_calendar; }
    double now() const;
    double systemNow() const;

    // Today: the local day of the system's clock.
    std::optional<Interval> today() const;
    FocusRecordList todayRecords() const;
    double todayRecordedSeconds() const;
    // Recorded seconds plus the part of a running session already counted down.
    double todayTotal(const LiveSession &live = {}) const;
    // "H:MM" of todayTotal, truncated.
    QString todayDisplay(const LiveSession &live = {}) const;
    qint64 todayProjectMinutes(const QString &project) const;
    // Recorded seconds by "project" or "project / subproject", keys in ascending order.
    const QMap<QString, double> &todaySecondsByKey() const;

    // The selected week: the week of now() moved by the offset, both ends included.
    std::optional<Interval> week() const;
    FocusRecordList weekRecords() const;
    const QSet<QUuid> &weekIds() const;
    qint64 weekProjectMinutes(const QString &project) const;
    // The week's durations, each truncated to whole seconds, added up.
    qint64 weekTotalSeconds() const;
    // The week's durations, each truncated to whole minutes, added up.
    qint64 weekWholeMinutes() const;
    // All records (not only the week's) that ended on the local day of the instant.
    qint64 dailyMinutes(double dayInstant) const;
    // The week's records that ended on the local day of the instant.
    Totals weekDayTotals(double dayInstant) const;
    // Days of the selected week with at least goalHours × 60 minutes.
    int dailyGoalReached(int goalHours) const;
    // The longest single record of the week, in whole minutes.
    qint64 longestSession() const;
    // "03/04 – 03/10"; "本周" when the calendar cannot place the week.
    QString weekLabel() const;
    // "本周3段、共1小时5分钟；学习占76%；最长一段25分钟。"
    QString weekSummary() const;

    // The minutes of one project (exact name) among the given records.
    static qint64 projectMinutes(const QString &project, const FocusRecordList &records);
    // Seconds to whole minutes, truncated; a sum that overflowed is clamped.
    static qint64 wholeMinutes(double seconds);
    // A double truncated toward zero and clamped to 64 bits; NaN gives 0.
    static qint64 truncated(double value);
    // "H:MM" of whole seconds: 3900 s gives "1:05", 90000 s gives "25:00".
    static QString clockText(double seconds);
    // "学习" or "学习 / 阅读".
    static QString distributionKey(
        const QString &project, const std::optional<QString> &subproject);

private:
    struct TodayCache {
        bool valid = false;
        std::optional<Interval> day;
        std::vector<qsizetype> positions;
        std::optional<FocusRecordList> records; // made on first request
        Totals totals;
        QMap<QString, double> keySeconds;
    };
    struct WeekCache {
        bool valid = false;
        int offset = 0;
        std::optional<Interval> nowWeek; // reused while now() stays in this week
        std::optional<Interval> week;
        std::vector<qsizetype> positions;
        std::optional<FocusRecordList> records; // made on first request
        std::optional<QSet<QUuid>> ids;
        Totals totals;
        qint64 totalSeconds = 0;
        // Each project's part of totalSeconds, summed over the same truncated seconds, so no
        // share of it passes the whole.
        QHash<QString, qint64> projectWholeSeconds;
        qint64 wholeMinutes = 0;
        double longest = 0;
        // The seven days that the goal count looks at, with all their records' seconds and the
        // part of them that lies in the week.
        std::array<std::optional<Interval>, 7> days;
        std::array<double, 7> daySeconds {};
        std::array<Totals, 7> dayInWeek;
        QString label;
        QString summary;
    };

    void ensureIndex() const;
    const TodayCache &ensureToday() const;
    const WeekCache &ensureWeek() const;
    void buildWeek(WeekCache &cache, double clock) const;
    // Positions of the records that ended in [from, to) or [from, to], in list order.
    std::vector<qsizetype> positionsBetween(double from, double to, bool toIncluded) const;
    std::vector<qsizetype> positionsInDayOfWeek(const Interval &day, const Interval &week) const;
    double secondsOf(const std::vector<qsizetype> &positions) const;
    Totals totalsOf(const std::vector<qsizetype> &positions) const;
    FocusRecordList recordsAt(const std::vector<qsizetype> &positions) const;
    QString summaryOf(const WeekCache &cache) const;

    Clock m_now;
    Clock m_todayClock;
    FocusCalendar m_calendar;
    FocusRecordList m_records;
    int m_weekOffset = 0;

    mutable bool m_indexValid = false;
    mutable EndTimeIndex m_index;
    mutable TodayCache m_today;
    mutable WeekCache m_week;
};
