// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/endtimeindex.h"

#include <algorithm>
#include <cmath>

void EndTimeIndex::rebuild(const FocusRecordList &records)
{
    m_byEnd.clear();
    m_byEnd.reserve(size_t(records.size()));
    // The list is newest first as a rule, so walking it backwards is usually already in order.
    for (qsizetype position = records.size() - 1; position >= 0; --position) {
        const double end = records.at(position).endedAt;
        if (std::isfinite(end))
            m_byEnd.push_back({end, position});
    }
    const auto earlier = [](const Entry &a, const Entry &b) {
        return a.end < b.end;
    };
    if (!std::is_sorted(m_byEnd.begin(), m_byEnd.end(), earlier))
        std::stable_sort(m_byEnd.begin(), m_byEnd.end(), earlier);
}

std::vector<qsizetype> EndTimeIndex::between(double from, double to, bool toIncluded) const
{
    const auto first = std::partition_point(
        m_byEnd.begin(), m_byEnd.end(), [from](const Entry &e) { return e.end < from; });
    const auto last = toIncluded
        ? std::partition_point(first, m_byEnd.end(), [to](const Entry &e) { return e.end <= to; })
        : std::partition_point(first, m_byEnd.end(), [to](const Entry &e) { return e.end < to; });
    std::vector<qsizetype> positions;
    positions.reserve(size_t(last - first));
    for (auto it = first; it != last; ++it)
        positions.push_back(it->position);
    if (std::is_sorted(positions.begin(), positions.end()))
        return positions;
    if (std::is_sorted(positions.rbegin(), positions.rend()))
        std::reverse(positions.begin(), positions.end());
    else
        std::sort(positions.begin(), positions.end());
    return positions;
}
