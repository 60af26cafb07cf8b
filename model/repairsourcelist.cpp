// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/repairsourcelist.h"

#include "records/instant.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

RepairSourceList::RepairSourceList(QObject *parent) : QAbstractListModel(parent) { }

void RepairSourceList::startReading()
{
    clear();
    m_reading = true;
    Q_EMIT readingChanged();
}

void RepairSourceList::setSources(QList<RepairSource> sources)
{
    beginResetModel();
    m_sources = std::move(sources);
    m_selected = -1;
    const auto usable = std::find_if(m_sources.cbegin(), m_sources.cend(),
        [](const RepairSource &source) { return source.usable(); });
    if (usable != m_sources.cend())
        m_selected = int(usable - m_sources.cbegin());
    endResetModel();
    if (m_reading) {
        m_reading = false;
        Q_EMIT readingChanged();
    }
    Q_EMIT selectedRowChanged();
    updateSummary();
}

void RepairSourceList::setWaiting(qsizetype count)
{
    m_waiting = count;
    updateSummary();
}

void RepairSourceList::setFailure(const QString &failure)
{
    m_failure = failure;
    Q_EMIT failureChanged();
}

void RepairSourceList::clear()
{
    beginResetModel();
    m_sources.clear();
    endResetModel();
    m_selected = -1;
    m_reading = false;
    Q_EMIT readingChanged();
    Q_EMIT selectedRowChanged();
    setFailure({});
    updateSummary();
}

void RepairSourceList::setSelectedRow(int row)
{
    if (row < 0 || row >= m_sources.size() || !m_sources.at(row).usable())
        row = -1;
    m_selected = row;
    Q_EMIT selectedRowChanged();
    updateSummary();
}

const RepairSource *RepairSourceList::selectedSource() const
{
    if (m_selected < 0 || m_selected >= m_sources.size() || !m_sources.at(m_selected).usable())
        return nullptr;
    return &m_sources.at(m_selected);
}

void RepairSourceList::updateSummary()
{
    QString summary;
    qsizetype largest = -1;
    for (const RepairSource &source : std::as_const(m_sources)) {
        if (source.usable())
            largest = std::max(largest, source.records->size());
    }
    if (const RepairSource *chosen = selectedSource()) {
        const qsizetype count = chosen->records->size();
        summary = count < largest
            ? u"所选来源有 %1 条记录，最多的来源有 %2 条。"_s.arg(count).arg(largest)
            : u"所选来源的记录最多，共 %1 条。"_s.arg(count);
        if (m_waiting > 0)
            summary += u"另有 %1 段暂存的专注一并写入。"_s.arg(m_waiting);
    } else if (!m_reading && largest < 0 && !m_sources.isEmpty()) {
        summary = u"没有能读取的来源，请查看备份后手动修复。"_s;
    }
    if (summary != m_summary) {
        m_summary = summary;
        Q_EMIT summaryChanged();
    }
}

QString RepairSourceList::label(const RepairSource &source) const
{
    if (source.isDefaultsCopy())
        return u"第二份副本"_s;
    if (!source.unixSeconds)
        return u"备份"_s;
    const QDateTime time = QDateTime::fromSecsSinceEpoch(*source.unixSeconds);
    return u"备份 "_s + m_locale.toString(time, QLocale::ShortFormat);
}

QString RepairSourceList::rangeText(const FocusRecordList &records) const
{
    if (records.isEmpty())
        return u"没有记录"_s;
    QDate first;
    QDate last;
    for (const FocusRecord &record : records) {
        const QDate day = Instant::toDateTime(record.endedAt).date();
        if (!day.isValid())
            continue;
        if (!first.isValid() || day < first)
            first = day;
        if (!last.isValid() || day > last)
            last = day;
    }
    if (!first.isValid())
        return u"日期不详"_s;
    const QString from = m_locale.toString(first, QLocale::ShortFormat);
    return first == last ? from : from + u" 至 "_s + m_locale.toString(last, QLocale::ShortFormat);
}

QStringList RepairSourceList::newestLines(const FocusRecordList &records) const
{
    QStringList lines;
    for (const FocusRecord &record : records.first(std::min<qsizetype>(3, records.size()))) {
        const QString title = record.title.isEmpty() ? u"未命名专注"_s : record.title;
        QString project = record.project;
        if (record.subproject)
            project += u" / "_s + *record.subproject;
        const QDateTime ended = Instant::toDateTime(record.endedAt);
        const QString end = ended.isValid() ? m_locale.toString(ended.date(), QLocale::ShortFormat)
                + u' ' + ended.time().toString(u"HH:mm"_s)
                                            : u"时间不详"_s;
        lines.append(title + u" · "_s + project + u" · "_s + end);
    }
    return lines;
}

int RepairSourceList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sources.size());
}

QVariant RepairSourceList::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RepairSource &source = m_sources.at(index.row());
    switch (role) {
    case LabelRole:
        return label(source);
    case DetailRole:
        return source.isDefaultsCopy() ? u"设置存储中的 focus-records"_s
                                       : QFileInfo(source.path).fileName();
    case UsableRole:
        return source.usable();
    case ReasonRole:
        return source.reason;
    case CountTextRole:
        return source.records ? u"%1 条记录"_s.arg(source.records->size()) : QString();
    case RangeTextRole:
        return source.records ? rangeText(*source.records) : QString();
    case NewestRole:
        return source.records ? newestLines(*source.records) : QStringList();
    default:
        return {};
    }
}

QHash<int, QByteArray> RepairSourceList::roleNames() const
{
    return {{LabelRole, "label"}, {DetailRole, "detail"}, {UsableRole, "usable"},
        {ReasonRole, "reason"}, {CountTextRole, "countText"}, {RangeTextRole, "rangeText"},
        {NewestRole, "newest"}};
}
