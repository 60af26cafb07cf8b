// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/figurelistmodel.h"

FigureListModel::FigureListModel(QByteArrayList roles, QObject *parent)
    : QAbstractListModel(parent), m_roles(std::move(roles))
{
}

QVariant FigureListModel::value(int row, const QByteArray &role) const
{
    const qsizetype column = m_roles.indexOf(role);
    if (row < 0 || row >= m_rows.size() || column < 0)
        return {};
    return m_rows.at(row).value(column);
}

void FigureListModel::setRows(const QList<Row> &rows)
{
    const qsizetype kept = std::min(m_rows.size(), rows.size());
    for (qsizetype i = 0; i < kept; ++i) {
        QList<int> changed;
        for (qsizetype column = 0; column < m_roles.size(); ++column) {
            if (m_rows.at(i).value(column) != rows.at(i).value(column))
                changed.append(Qt::UserRole + int(column));
        }
        if (changed.isEmpty())
            continue;
        m_rows[i] = rows.at(i);
        const QModelIndex at = index(int(i));
        Q_EMIT dataChanged(at, at, changed);
    }
    if (rows.size() > m_rows.size()) {
        beginInsertRows({}, int(m_rows.size()), int(rows.size()) - 1);
        m_rows.append(rows.mid(m_rows.size()));
        endInsertRows();
        Q_EMIT countChanged();
    } else if (rows.size() < m_rows.size()) {
        beginRemoveRows({}, int(rows.size()), int(m_rows.size()) - 1);
        m_rows.resize(rows.size());
        endRemoveRows();
        Q_EMIT countChanged();
    }
}

int FigureListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant FigureListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    return m_rows.at(index.row()).value(role - Qt::UserRole);
}

QHash<int, QByteArray> FigureListModel::roleNames() const
{
    QHash<int, QByteArray> names;
    for (qsizetype column = 0; column < m_roles.size(); ++column)
        names.insert(Qt::UserRole + int(column), m_roles.at(column));
    return names;
}
