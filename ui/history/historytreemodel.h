// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"
#include "ui/history/historygrouping.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QSet>
#include <QtQml/qqmlregistration.h>

#include <vector>

class TimerModel;

// The history tree as the flat list of rows that a ListView shows: year, month and day headers
// and the record rows of the opened days. Only opened groups have rows, so a large history costs
// the view nothing until the user opens it, and opening or closing a group inserts or removes
// just the rows under it. It follows the model's filtered list; when that changes, rows that
// still exist keep their place and identity (groups by date, records by id), so the view keeps
// its scroll position and its open groups.
class HistoryTreeModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(TimerModel *model READ model WRITE setModel NOTIFY modelChanged FINAL)
    // The number of records shown, the filtered list's length.
    Q_PROPERTY(int recordCount READ recordCount NOTIFY recordCountChanged FINAL)

public:
    enum Kind { YearRow, MonthRow, DayRow, RecordRow };
    Q_ENUM(Kind)

    enum Role {
        KindRole = Qt::UserRole + 1,
        LabelRole, // groups: "2024年", "3月", "5日 · 3次专注"
        ExpandedRole,
        CardEndRole, // the last row of a year's card
        RecordIdRole,
        TitleRole,
        ProjectTextRole, // "学习" or "学习 / 数学"
        ProjectColorRole,
        ProjectTextColorRole, // the project colour, darkened where needed to read as text
        HasWrapUpRole,
        WrapUpRole,
        TimeTextRole, // "09:05 – 09:30"
        DurationTextRole,
        EarlyRole,
    };

    explicit HistoryTreeModel(QObject *parent = nullptr);

    TimerModel *model() const { return m_model; }
    void setModel(TimerModel *model);
    int recordCount() const { return int(m_current.records.size()); }

    // Shows these records; a model, when set, hands in its filtered list each time it changes.
    void setRecords(const FocusRecordList &records);

    Q_INVOKABLE void toggle(int row);
    // Closes every group, as when the page is built anew.
    Q_INVOKABLE void collapseAll();
    Q_INVOKABLE void setExpanded(int row, bool expanded);
    // Deletes the record of a record row: that very record, also where an edited file gave
    // another record the same id.
    Q_INVOKABLE void deleteRecord(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void modelChanged();
    void recordCountChanged();

private:
    struct Row {
        Kind kind = YearRow;
        int index = 0; // into the group vector of its kind, or into order for a record
        int parent = -1; // a record's day, or -1 under the undated group
        bool stale = false; // left over from the previous grouping, about to be removed
    };
    // One grouping with the records it points into.
    struct Snapshot {
        FocusRecordList records;
        HistoryGrouping grouping;
    };

    void rebuild();
    bool isUndated(const Row &row) const;
    qint64 keyOf(const Row &row, const Snapshot &from) const;
    int depthOf(const Row &row) const;
    bool isExpanded(const Row &row, const Snapshot &from) const;
    std::vector<Row> visibleRows(const Snapshot &from) const;
    void appendChildren(const Row &row, const Snapshot &from, std::vector<Row> &out) const;
    QVariant groupData(const Row &row, const Snapshot &from, int role) const;
    QVariant recordData(const FocusRecord &record, int role) const;
    static QVariant emptyValue(int role);
    bool isCardEnd(int row) const;
    // Moves from the current rows to the new ones by removals and insertions; false when the
    // surviving rows changed order and only a reset can follow.
    bool applyByDiff(Snapshot &next, const std::vector<Row> &nextRows);

    QPointer<TimerModel> m_model;
    Snapshot m_current;
    Snapshot m_previous; // what stale rows read while they are being removed
    std::vector<Row> m_rows;
    QSet<qint64> m_expanded; // group keys; the undated group has its own key
};
