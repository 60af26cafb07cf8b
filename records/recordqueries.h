// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <QLocale>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>
#include <utility>

// The list operations behind the history: the filtered list it shows, and the lists that a
// delete and its undo hand to the store.
namespace RecordQueries {

inline QString rangeToday()
{
    return QStringLiteral("今天");
}
inline QString rangeWeek()
{
    return QStringLiteral("本周");
}
inline QString rangeAll()
{
    return QStringLiteral("全部");
}
inline QString allProjects()
{
    return QStringLiteral("全部项目");
}

struct Filter {
    QString range = rangeAll(); // "今天", "本周"; anything else keeps every time
    QString project = allProjects(); // "全部项目" or an exact project name
    QString search; // trimmed, then matched ignoring case
    std::optional<std::pair<double, double>> today; // today's local day [start, end), for "今天"
    QSet<QUuid> weekIds; // ids of the selected week's records, for "本周"
    QLocale locale = QLocale::system(); // whose letter case the search ignores
};

// The records that pass all three tests, in list order. Without any filter it is the list itself.
FocusRecordList visibleRecords(const FocusRecordList &records, const Filter &filter);

// The list without the one record: of those carrying its id (an edited file may repeat one), the
// first equal to it in every field, else the first. Absent when no record has the id.
std::optional<FocusRecordList> withoutRecord(
    const FocusRecordList &records, const FocusRecord &record);

// The restored record put back, then the whole list ordered by end, later first; records with
// equal ends keep their order, so the restored one comes before them. Ends that are not a number
// go last.
FocusRecordList withRestored(const FocusRecordList &records, const FocusRecord &restored);

} // namespace RecordQueries
