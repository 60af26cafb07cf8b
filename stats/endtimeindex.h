// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <vector>

// The positions of a record list ordered by end time, so that the records of a day or a week are
// found by two binary searches instead of a pass over the whole history. Records whose end is not
// finite belong to no span and are left out. Only positions are kept (4 bytes a record, not 16):
// the searches read the ends from the list the index was built from, which the caller passes.
class EndTimeIndex {
public:
    void rebuild(const FocusRecordList &records);

    // Positions of the records that ended in [from, to), or [from, to] when toIncluded, in list
    // order, so that sums over them add up exactly as a pass over the list would. records is the
    // list given to the last rebuild.
    std::vector<qsizetype> between(
        const FocusRecordList &records, double from, double to, bool toIncluded) const;

    qsizetype size() const { return qsizetype(m_byEnd.size()); }

private:
    std::vector<quint32> m_byEnd; // positions, by end ascending; a list never nears 2^32 records
};
