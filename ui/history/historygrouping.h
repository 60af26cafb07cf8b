// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <QtGlobal>

#include <vector>

// The records of the history archived by the local calendar day on which each one ended: years,
// months and days, newest first, and the records of each day by end, latest first. The groups
// are flat vectors whose children are index ranges into the next level, so that a view can show
// one group without touching the others.
class HistoryGrouping {
public:
    struct Group {
        int year = 0;
        int month = 0; // 0 for a year
        int day = 0; // 0 for a year or a month
        int first = 0; // children: months of a year, days of a month, positions in order of a day
        int last = 0; // one past the last child
        qsizetype recordCount = 0;

        // Unique among all groups of every level; stable while the group exists.
        qint64 key() const { return qint64(year) * 10000 + month * 100 + day; }
    };

    static HistoryGrouping build(const FocusRecordList &records);

    std::vector<Group> years;
    std::vector<Group> months;
    std::vector<Group> days;
    // Positions into the list: the dated records day after day, then the undated ones.
    std::vector<qsizetype> order;
    // Records whose end has no local date (only an edited record file holds one) are kept apart
    // at the end of order, in list order, so that none is lost from view.
    qsizetype datedCount = 0;
    qsizetype undatedCount() const { return qsizetype(order.size()) - datedCount; }
};
