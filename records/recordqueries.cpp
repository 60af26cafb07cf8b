// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordqueries.h"

#include <QStringMatcher>

#include <algorithm>
#include <cmath>

namespace RecordQueries {

namespace {

// Substring search that ignores letter case. Qt's case folding is the same in every locale except
// those with a dotless i, where the locale's own lower case decides.
class CaseInsensitiveSearch {
public:
    CaseInsensitiveSearch(const QString &query, const QLocale &locale)
        : m_localeLowering(
            locale.language() == QLocale::Turkish || locale.language() == QLocale::Azerbaijani),
          m_locale(locale),
          m_query(m_localeLowering ? locale.toLower(query) : query),
          m_matcher(query, Qt::CaseInsensitive)
    {
    }

    bool foundIn(const QString &text) const
    {
        if (m_localeLowering)
            return m_locale.toLower(text).contains(m_query);
        return m_matcher.indexIn(text) >= 0;
    }

private:
    bool m_localeLowering;
    QLocale m_locale;
    QString m_query;
    QStringMatcher m_matcher;
};

// Later ends first; an end that is not a number sorts after every other, so the order is total.
bool endsLater(const FocusRecord &a, const FocusRecord &b)
{
    if (std::isnan(a.endedAt))
        return false;
    if (std::isnan(b.endedAt))
        return true;
    return a.endedAt > b.endedAt;
}

} // namespace

FocusRecordList visibleRecords(const FocusRecordList &records, const Filter &filter)
{
    const bool byToday = filter.range == rangeToday();
    const bool byWeek = filter.range == rangeWeek();
    const bool byProject = filter.project != allProjects();
    const QString query = filter.search.trimmed();
    if (!byToday && !byWeek && !byProject && query.isEmpty())
        return records;
    if (byToday && !filter.today)
        return {};

    const CaseInsensitiveSearch search(query, filter.locale);
    FocusRecordList visible;
    for (const FocusRecord &record : records) {
        if (byToday
            && !(filter.today->first <= record.endedAt && record.endedAt < filter.today->second))
            continue;
        if (byWeek && !filter.weekIds.contains(record.id))
            continue;
        if (byProject && record.project != filter.project)
            continue;
        if (!query.isEmpty() && !search.foundIn(record.title)
            && !(record.wrapUp && search.foundIn(*record.wrapUp)))
            continue;
        visible.append(record);
    }
    return visible;
}

std::optional<FocusRecordList> withoutRecord(
    const FocusRecordList &records, const FocusRecord &record)
{
    qsizetype found = -1;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const FocusRecord &candidate = records.at(i);
        if (candidate.id != record.id)
            continue;
        if (found < 0)
            found = i;
        if (candidate == record) {
            found = i;
            break;
        }
    }
    if (found < 0)
        return {};
    FocusRecordList remaining = records;
    remaining.removeAt(found);
    return remaining;
}

FocusRecordList withRestored(const FocusRecordList &records, const FocusRecord &restored)
{
    FocusRecordList list;
    list.reserve(records.size() + 1);
    list.append(restored);
    list.append(records);
    std::stable_sort(list.begin(), list.end(), endsLater);
    return list;
}

} // namespace RecordQueries
