// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordrepair.h"

#include <QAbstractListModel>
#include <QLocale>
#include <QtQml/qqmlregistration.h>

// The repair sheet's list: every source with the texts it shows, the chosen one, and what that
// choice holds against the largest source.
class RepairSourceList : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The model owns the list of repair sources.")

    // The sources are being read; the list is empty meanwhile.
    Q_PROPERTY(bool reading READ reading NOTIFY readingChanged FINAL)
    // The chosen row, -1 for none; only a usable row can be chosen.
    Q_PROPERTY(
        int selectedRow READ selectedRow WRITE setSelectedRow NOTIFY selectedRowChanged FINAL)
    Q_PROPERTY(bool canRepair READ canRepair NOTIFY selectedRowChanged FINAL)
    // "所选来源有 2 条记录，最多的来源有 5 条。" and the sessions that come along.
    Q_PROPERTY(QString summary READ summary NOTIFY summaryChanged FINAL)
    // Why the last repair failed.
    Q_PROPERTY(QString failure READ failure NOTIFY failureChanged FINAL)

public:
    enum Role {
        LabelRole = Qt::UserRole + 1, // "第二份副本", "备份 2026/3/4 10:00"
        DetailRole, // where it is
        UsableRole,
        ReasonRole, // why it cannot be used
        CountTextRole, // "12 条记录"
        RangeTextRole, // "2024/3/5 至 2026/3/4"
        NewestRole, // up to three lines "title · project · end"
    };

    explicit RepairSourceList(QObject *parent = nullptr);

    // Empties the list while the sources are read.
    void startReading();
    // Shows the sources and chooses the first usable one.
    void setSources(QList<RepairSource> sources);
    // How many finished sessions wait to be written with the repair.
    void setWaiting(qsizetype count);
    void setFailure(const QString &failure);
    void clear();

    bool reading() const { return m_reading; }
    int selectedRow() const { return m_selected; }
    void setSelectedRow(int row);
    bool canRepair() const { return selectedSource() != nullptr; }
    QString summary() const { return m_summary; }
    QString failure() const { return m_failure; }
    const RepairSource *selectedSource() const;
    const QList<RepairSource> &sources() const { return m_sources; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void readingChanged();
    void selectedRowChanged();
    void summaryChanged();
    void failureChanged();

private:
    void updateSummary();
    QString label(const RepairSource &source) const;
    QString rangeText(const FocusRecordList &records) const;
    QStringList newestLines(const FocusRecordList &records) const;

    QList<RepairSource> m_sources;
    int m_selected = -1;
    qsizetype m_waiting = 0;
    bool m_reading = false;
    QString m_summary;
    QString m_failure;
    QLocale m_locale = QLocale::system();
};
