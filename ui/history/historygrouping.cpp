// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/history/historygrouping.h"

#include "records/instant.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// One local calendar day as a span of Unix milliseconds, start included, end excluded.
struct DaySpan {
    double startMs = 0;
    double endMs = 0;
    QDate date;

    bool contains(double ms) const { return startMs <= ms && ms < endMs; }
};

// The same millisecond that Instant::toDateTime converts, so that a span holds exactly the
// instants whose local date is its date.
double unixMsecs(double instant)
{
    return std::floor(Instant::toUnixSeconds(instant) * 1000.0);
}

std::optional<DaySpan> daySpanOf(double instant)
{
    const QDateTime local = Instant::toDateTime(instant);
    if (!local.isValid() || !local.date().isValid())
        return {};
    const QDate date = local.date();
    const QDateTime start = date.startOfDay();
    const QDateTime end = date.addDays(1).startOfDay();
    if (!start.isValid() || !end.isValid()) {
        // Near the ends of the calendar: a span of this millisecond alone is still right.
        const double ms = unixMsecs(instant);
        return DaySpan {ms, ms + 1, date};
    }
    return DaySpan {double(start.toMSecsSinceEpoch()), double(end.toMSecsSinceEpoch()), date};
}

} // namespace

HistoryGrouping HistoryGrouping::build(const FocusRecordList &records)
{
    HistoryGrouping grouping;
    std::vector<qsizetype> dated;
    std::vector<qsizetype> undated;
    dated.reserve(size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (std::isfinite(records.at(i).endedAt))
            dated.push_back(i);
        else
            undated.push_back(i);
    }

    // The list is kept newest first, so the sort is usually skipped; a stable sort keeps records
    // that ended at the same instant in list order.
    const auto endsLater = [&records](qsizetype a, qsizetype b) {
        return records.at(a).endedAt > records.at(b).endedAt;
    };
    if (!std::is_sorted(dated.begin(), dated.end(), endsLater))
        std::stable_sort(dated.begin(), dated.end(), endsLater);

    // Records in end order fall into a handful of days, so the local date is converted once per
    // day rather than once per record.
    std::optional<DaySpan> span;
    grouping.order.reserve(size_t(records.size()));
    for (const qsizetype position : dated) {
        const double instant = records.at(position).endedAt;
        if (!span || !span->contains(unixMsecs(instant))) {
            span = daySpanOf(instant);
            if (!span) {
                undated.push_back(position);
                continue;
            }
        }
        const QDate &date = span->date;

        bool newYear = false;
        if (grouping.years.empty() || grouping.years.back().year != date.year()) {
            const int next = int(grouping.months.size());
            grouping.years.push_back({date.year(), 0, 0, next, next, 0});
            newYear = true;
        }
        bool newMonth = false;
        if (newYear || grouping.months.back().month != date.month()) {
            const int next = int(grouping.days.size());
            grouping.months.push_back({date.year(), date.month(), 0, next, next, 0});
            grouping.years.back().last = int(grouping.months.size());
            newMonth = true;
        }
        if (newMonth || grouping.days.back().day != date.day()) {
            const int next = int(grouping.order.size());
            grouping.days.push_back({date.year(), date.month(), date.day(), next, next, 0});
            grouping.months.back().last = int(grouping.days.size());
        }
        grouping.order.push_back(position);
        Group &day = grouping.days.back();
        day.last = int(grouping.order.size());
        ++day.recordCount;
        ++grouping.months.back().recordCount;
        ++grouping.years.back().recordCount;
    }

    grouping.datedCount = qsizetype(grouping.order.size());
    std::sort(undated.begin(), undated.end());
    grouping.order.insert(grouping.order.end(), undated.begin(), undated.end());
    return grouping;
}
