// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <vector>

// The positions of a record list ordered by end time, so that the records of a day or a week are
// found by two binary searches instead of a pass over the whole history. Records whose end is not
// finite belong to no span and are left out.
class EndTimeIndex {
public:
    void rebuild(const FocusRecordList &records);

    // Positions of the records that ended in [from, to), or [from, to] when toIncluded, in list
    // order, so that sums over them add up exactly as a pass over the list would.
    std::vector<qsizetype> between(double from, double to, bool toIncluded) const;

    qsizetype size() const { return qsizetype(m_byEnd.size()); }

private:
    struct Entry {
        double end;
        qsizetype position;
    };
    std::vector<Entry> m_byEnd; // by end, ascending
};
