// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/history/historytreemodel.h"

#include "model/timermodel.h"
#include "records/instant.h"
#include "records/recordqueries.h"
#include "ui/controls/colorcontrast.h"
#include "ui/controls/modelrebind.h"

#include <QDateTime>
#include <QHash>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// No date gives this key: years end far short of it.
constexpr qint64 undatedKey = std::numeric_limits<qint64>::min();

// What makes a row the same row across two groupings: its group, or a record's id in its day.
struct RowIdentity {
    int kind = 0;
    qint64 key = 0;
    QUuid id;
    friend bool operator==(const RowIdentity &, const RowIdentity &) = default;
};

size_t qHash(const RowIdentity &identity, size_t seed = 0)
{
    return qHashMulti(seed, identity.kind, identity.key, identity.id);
}

QString timeOfDay(double instant)
{
    const QDateTime local = Instant::toDateTime(instant);
    return local.isValid() ? local.toString(u"HH:mm"_s) : u"--:--"_s;
}

} // namespace

HistoryTreeModel::HistoryTreeModel(QObject *parent) : QAbstractListModel(parent) { }

void HistoryTreeModel::setModel(TimerModel *model)
{
    if (!rebindModel(*this, m_model, model))
        return;
    if (m_model) {
        connect(m_model, &TimerModel::recordsChanged, this, &HistoryTreeModel::rebuild);
        connect(m_model, &TimerModel::recordRangeChanged, this, &HistoryTreeModel::rebuild);
        connect(m_model, &TimerModel::recordProjectChanged, this, &HistoryTreeModel::rebuild);
        connect(m_model, &TimerModel::recordSearchChanged, this, &HistoryTreeModel::rebuild);
        // Midnight and the review page's week choice move "今天" and "本周".
        connect(m_model, &TimerModel::weekChanged, this, [this] {
            const QString range = m_model->recordRange();
            if (range == RecordQueries::rangeToday() || range == RecordQueries::rangeWeek())
                rebuild();
        });
        const auto recolour = [this] {
            if (!m_rows.empty())
                Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1),
                    {ProjectColorRole, ProjectTextColorRole});
        };
        connect(m_model, &TimerModel::projectColorIndicesChanged, this, recolour);
        connect(m_model, &TimerModel::customProjectColorsChanged, this, recolour);
    }
    // Every group starts closed for a new model.
    const int before = recordCount();
    beginResetModel();
    m_expanded.clear();
    m_current = {};
    m_rows.clear();
    endResetModel();
    if (recordCount() != before)
        Q_EMIT recordCountChanged();
    Q_EMIT modelChanged();
    rebuild();
}

void HistoryTreeModel::rebuild()
{
    setRecords(m_model ? m_model->visibleRecords() : FocusRecordList());
}

void HistoryTreeModel::setRecords(const FocusRecordList &records)
{
    const int before = recordCount();
    Snapshot next {records, HistoryGrouping::build(records)};
    std::vector<Row> nextRows = visibleRows(next);
    if (m_rows.empty() || nextRows.empty() || !applyByDiff(next, nextRows)) {
        beginResetModel();
        m_current = std::move(next);
        m_rows = std::move(nextRows);
        endResetModel();
    }
    if (recordCount() != before)
        Q_EMIT recordCountChanged();
}

bool HistoryTreeModel::applyByDiff(Snapshot &next, const std::vector<Row> &nextRows)
{
    const auto identityOf = [this](const Row &row, const Snapshot &from) {
        if (row.kind != RecordRow)
            return RowIdentity {row.kind, keyOf(row, from), {}};
        return RowIdentity {row.kind, keyOf(row, from),
            from.records.at(from.grouping.order.at(size_t(row.index))).id};
    };

    QHash<RowIdentity, int> nextIndex;
    nextIndex.reserve(qsizetype(nextRows.size()));
    for (int j = 0; j < int(nextRows.size()); ++j) {
        const RowIdentity identity = identityOf(nextRows[size_t(j)], next);
        if (nextIndex.contains(identity))
            return false; // records sharing an id cannot be told apart
        nextIndex.insert(identity, j);
    }
    std::vector<int> targets(m_rows.size(), -1);
    int lastTarget = -1;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int target = nextIndex.value(identityOf(m_rows[i], m_current), -1);
        if (target < 0)
            continue;
        if (target <= lastTarget)
            return false;
        targets[i] = lastTarget = target;
    }

    // Surviving rows read the new grouping from now on; the others read the old one until they
    // are gone.
    m_previous = std::move(m_current);
    m_current = std::move(next);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (targets[i] >= 0)
            m_rows[i] = nextRows[size_t(targets[i])];
        else
            m_rows[i].stale = true;
    }
    for (int last = int(m_rows.size()) - 1; last >= 0;) {
        if (!m_rows[size_t(last)].stale) {
            --last;
            continue;
        }
        int first = last;
        while (first > 0 && m_rows[size_t(first - 1)].stale)
            --first;
        beginRemoveRows(QModelIndex(), first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        last = first - 1;
    }
    m_previous = {};

    int position = 0;
    const auto insertUpTo = [&](int end) {
        if (end <= position)
            return;
        beginInsertRows(QModelIndex(), position, end - 1);
        m_rows.insert(
            m_rows.begin() + position, nextRows.begin() + position, nextRows.begin() + end);
        endInsertRows();
    };
    for (const int target : targets) {
        if (target < 0)
            continue;
        insertUpTo(target);
        position = target + 1;
    }
    insertUpTo(int(nextRows.size()));

    // Counts, labels and the ends of the cards may have changed under rows that stayed.
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1));
    return true;
}

bool HistoryTreeModel::isUndated(const Row &row) const
{
    return row.kind == YearRow && row.index < 0;
}

qint64 HistoryTreeModel::keyOf(const Row &row, const Snapshot &from) const
{
    const HistoryGrouping &grouping = from.grouping;
    switch (row.kind) {
    case YearRow:
        return row.index < 0 ? undatedKey : grouping.years.at(size_t(row.index)).key();
    case MonthRow:
        return grouping.months.at(size_t(row.index)).key();
    case DayRow:
        return grouping.days.at(size_t(row.index)).key();
    case RecordRow:
        return row.parent < 0 ? undatedKey : grouping.days.at(size_t(row.parent)).key();
    }
    return undatedKey;
}

int HistoryTreeModel::depthOf(const Row &row) const
{
    return int(row.kind); // years, months, days, records: one level each
}

bool HistoryTreeModel::isExpanded(const Row &row, const Snapshot &from) const
{
    return row.kind != RecordRow && m_expanded.contains(keyOf(row, from));
}

std::vector<HistoryTreeModel::Row> HistoryTreeModel::visibleRows(const Snapshot &from) const
{
    std::vector<Row> rows;
    const auto addGroup = [&](const Row &group) {
        rows.push_back(group);
        if (isExpanded(group, from))
            appendChildren(group, from, rows);
    };
    for (int y = 0; y < int(from.grouping.years.size()); ++y)
        addGroup(Row {YearRow, y, -1, false});
    if (from.grouping.undatedCount() > 0)
        addGroup(Row {YearRow, -1, -1, false});
    return rows;
}

void HistoryTreeModel::appendChildren(
    const Row &row, const Snapshot &from, std::vector<Row> &out) const
{
    const HistoryGrouping &grouping = from.grouping;
    const auto addGroup = [&](const Row &group) {
        out.push_back(group);
        if (isExpanded(group, from))
            appendChildren(group, from, out);
    };
    if (isUndated(row)) {
        for (int i = int(grouping.datedCount); i < int(grouping.order.size()); ++i)
            out.push_back(Row {RecordRow, i, -1, false});
        return;
    }
    switch (row.kind) {
    case YearRow: {
        const HistoryGrouping::Group &year = grouping.years.at(size_t(row.index));
        for (int m = year.first; m < year.last; ++m)
            addGroup(Row {MonthRow, m, row.index, false});
        break;
    }
    case MonthRow: {
        const HistoryGrouping::Group &month = grouping.months.at(size_t(row.index));
        for (int d = month.first; d < month.last; ++d)
            addGroup(Row {DayRow, d, row.index, false});
        break;
    }
    case DayRow: {
        const HistoryGrouping::Group &day = grouping.days.at(size_t(row.index));
        for (int i = day.first; i < day.last; ++i)
            out.push_back(Row {RecordRow, i, row.index, false});
        break;
    }
    case RecordRow:
        break;
    }
}

void HistoryTreeModel::toggle(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    setExpanded(row, !isExpanded(m_rows[size_t(row)], m_current));
}

void HistoryTreeModel::setExpanded(int row, bool expanded)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    const Row group = m_rows[size_t(row)];
    if (group.kind == RecordRow || group.stale || isExpanded(group, m_current) == expanded)
        return;
    const qint64 key = keyOf(group, m_current);
    if (expanded) {
        m_expanded.insert(key);
        std::vector<Row> children;
        appendChildren(group, m_current, children);
        if (!children.empty()) {
            beginInsertRows(QModelIndex(), row + 1, row + int(children.size()));
            m_rows.insert(m_rows.begin() + row + 1, children.begin(), children.end());
            endInsertRows();
        }
    } else {
        // Groups inside stay open or closed as they were, for when this one opens again.
        m_expanded.remove(key);
        int end = row + 1;
        while (end < int(m_rows.size()) && depthOf(m_rows[size_t(end)]) > depthOf(group))
            ++end;
        if (end > row + 1) {
            beginRemoveRows(QModelIndex(), row + 1, end - 1);
            m_rows.erase(m_rows.begin() + row + 1, m_rows.begin() + end);
            endRemoveRows();
        }
    }
    Q_EMIT dataChanged(index(row), index(row), {ExpandedRole, CardEndRole});
}

void HistoryTreeModel::collapseAll()
{
    beginResetModel();
    m_expanded.clear();
    m_rows = visibleRows(m_current);
    endResetModel();
}

void HistoryTreeModel::deleteRecord(int row)
{
    if (!m_model || row < 0 || row >= int(m_rows.size()))
        return;
    const Row &found = m_rows[size_t(row)];
    if (found.kind != RecordRow || found.stale)
        return;
    // A copy: the delete replaces the list that the row points into.
    const FocusRecord record =
        m_current.records.at(m_current.grouping.order.at(size_t(found.index)));
    m_model->deleteRecord(record);
}

int HistoryTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

bool HistoryTreeModel::isCardEnd(int row) const
{
    return row + 1 >= int(m_rows.size()) || m_rows[size_t(row + 1)].kind == YearRow;
}

QVariant HistoryTreeModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows[size_t(index.row())];
    const Snapshot &from = row.stale ? m_previous : m_current;
    switch (role) {
    case KindRole:
        return int(row.kind);
    case CardEndRole:
        return isCardEnd(index.row());
    case ExpandedRole:
        return isExpanded(row, from);
    default:
        break;
    }
    if (row.kind != RecordRow)
        return groupData(row, from, role);
    return recordData(from.records.at(from.grouping.order.at(size_t(row.index))), role);
}

QVariant HistoryTreeModel::groupData(const Row &row, const Snapshot &from, int role) const
{
    if (role != LabelRole && role != Qt::DisplayRole)
        return emptyValue(role);
    if (isUndated(row))
        return u"日期未知"_s;
    const HistoryGrouping &grouping = from.grouping;
    switch (row.kind) {
    case YearRow:
        return QString(QString::number(grouping.years.at(size_t(row.index)).year) + u"年"_s);
    case MonthRow:
        return QString(QString::number(grouping.months.at(size_t(row.index)).month) + u"月"_s);
    case DayRow: {
        const HistoryGrouping::Group &day = grouping.days.at(size_t(row.index));
        return QString(
            QString::number(day.day) + u"日 · "_s + QString::number(day.recordCount) + u"次专注"_s);
    }
    case RecordRow:
        break;
    }
    return QString();
}

QVariant HistoryTreeModel::recordData(const FocusRecord &record, int role) const
{
    switch (role) {
    case RecordIdRole:
        return record.idText();
    case Qt::DisplayRole:
    case TitleRole:
        return record.title;
    case ProjectTextRole:
        return record.subproject ? QString(record.project + u" / "_s + *record.subproject)
                                 : record.project;
    case ProjectColorRole:
        return m_model ? m_model->projectColor(record.project) : QColor(Qt::gray);
    case ProjectTextColorRole:
        // On the record's card: the sidebar's pale blue is the darkest background a row can
        // be read on, so a colour that reads there reads everywhere.
        return ColorContrast::readable(recordData(record, ProjectColorRole).value<QColor>(),
            QColor::fromRgbF(0.91f, 0.94f, 0.97f));
    case HasWrapUpRole:
        return record.wrapUp.has_value();
    case WrapUpRole:
        return record.wrapUpText();
    case TimeTextRole:
        return QString(timeOfDay(record.startedAt) + u" – "_s + timeOfDay(record.endedAt));
    case DurationTextRole:
        return record.durationText();
    case EarlyRole:
        return record.early;
    default:
        return emptyValue(role);
    }
}

// Every row answers every role with a value of the role's type, so that a delegate's typed
// properties never receive undefined.
QVariant HistoryTreeModel::emptyValue(int role)
{
    switch (role) {
    case ExpandedRole:
    case CardEndRole:
    case HasWrapUpRole:
    case EarlyRole:
        return false;
    case ProjectColorRole:
    case ProjectTextColorRole:
        return QColor(Qt::transparent);
    case KindRole:
        return int(YearRow);
    case LabelRole:
    case RecordIdRole:
    case TitleRole:
    case ProjectTextRole:
    case WrapUpRole:
    case TimeTextRole:
    case DurationTextRole:
        return QString();
    default:
        return {};
    }
}

QHash<int, QByteArray> HistoryTreeModel::roleNames() const
{
    return {
        {KindRole, "kind"},
        {LabelRole, "label"},
        {ExpandedRole, "expanded"},
        {CardEndRole, "cardEnd"},
        {RecordIdRole, "recordId"},
        {TitleRole, "title"},
        {ProjectTextRole, "projectText"},
        {ProjectColorRole, "projectColor"},
        {ProjectTextColorRole, "projectTextColor"},
        {HasWrapUpRole, "hasWrapUp"},
        {WrapUpRole, "wrapUp"},
        {TimeTextRole, "timeText"},
        {DurationTextRole, "durationText"},
        {EarlyRole, "early"},
    };
}
