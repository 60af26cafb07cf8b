// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractListModel>
#include <QByteArrayList>
#include <QList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// A short list of figures for a view to repeat: today's slices, the week's columns, a column's
// segments, the week's legend. Each row holds one value per role. New rows are taken in place:
// an unchanged row is left alone, a changed one reports only the roles that changed, and only
// the tail is inserted or removed, so a tick of a running session rebuilds no delegate.
class FigureListModel final : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The model creates its figure lists.")

    Q_PROPERTY(int count READ count NOTIFY countChanged FINAL)

public:
    using Row = QVariantList; // one value per role, in the order of the role names

    explicit FigureListModel(QByteArrayList roles, QObject *parent = nullptr);

    int count() const { return int(m_rows.size()); }
    // The value of a row under a role name; invalid outside the list or for an unknown role.
    QVariant value(int row, const QByteArray &role) const;
    void setRows(const QList<Row> &rows);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    QByteArrayList m_roles;
    QList<Row> m_rows;
};
