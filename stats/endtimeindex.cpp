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
        if (std::isfinite(records.at(position).endedAt))
            m_byEnd.push_back(quint32(position));
    }
    const auto earlier = [&records](quint32 a, quint32 b) {
        return records.at(a).endedAt < records.at(b).endedAt;
    };
    if (!std::is_sorted(m_byEnd.begin(), m_byEnd.end(), earlier))
        std::stable_sort(m_byEnd.begin(), m_byEnd.end(), earlier);
}

std::vector<qsizetype> EndTimeIndex::between(
    const FocusRecordList &records, double from, double to, bool toIncluded) const
{
    const auto end = [&records](quint32 position) {
        return records.at(position).endedAt;
    };
    const auto first = std::partition_point(
        m_byEnd.begin(), m_byEnd.end(), [&](quint32 p) { return end(p) < from; });
    const auto last = toIncluded
        ? std::partition_point(first, m_byEnd.end(), [&](quint32 p) { return end(p) <= to; })
        : std::partition_point(first, m_byEnd.end(), [&](quint32 p) { return end(p) < to; });
    std::vector<qsizetype> positions(first, last);
    if (std::is_sorted(positions.begin(), positions.end()))
        return positions;
    if (std::is_sorted(positions.rbegin(), positions.rend()))
        std::reverse(positions.begin(), positions.end());
    else
        std::sort(positions.begin(), positions.end());
    return positions;
}
