// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/focus/ringslices.h"

#include "ui/focus/ringarc.h"

#include <QColor>

#include <algorithm>

RingSlices::RingSlices(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void RingSlices::setSlices(FigureListModel *slices)
{
    if (slices == m_slices)
        return;
    for (const QMetaObject::Connection &connection : std::as_const(m_watching))
        disconnect(connection);
    m_watching.clear();
    m_slices = slices;
    if (slices) {
        const auto redraw = [this] {
            update();
        };
        // A running session changes other figures of the slices at each tick; only a change of
        // what is drawn draws the ring again.
        QList<int> drawn;
        const QHash<int, QByteArray> names = slices->roleNames();
        for (auto it = names.begin(); it != names.end(); ++it) {
            if (it.value() == "color" || it.value() == "startAngle" || it.value() == "sweepAngle")
                drawn.append(it.key());
        }
        m_watching = {
            connect(slices, &QAbstractItemModel::dataChanged, this,
                [this, drawn](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                    if (roles.isEmpty() || std::any_of(roles.begin(), roles.end(), [&](int role) {
                            return drawn.contains(role);
                        }))
                        update();
                }),
            connect(slices, &QAbstractItemModel::rowsInserted, this, redraw),
            connect(slices, &QAbstractItemModel::rowsRemoved, this, redraw),
            connect(slices, &QAbstractItemModel::rowsMoved, this, redraw),
            connect(slices, &QAbstractItemModel::modelReset, this, redraw),
            connect(slices, &QAbstractItemModel::layoutChanged, this, redraw)};
    }
    update();
    Q_EMIT slicesChanged();
}

void RingSlices::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    update();
    Q_EMIT radiusChanged();
}

void RingSlices::setLineWidth(qreal width)
{
    if (width == m_lineWidth)
        return;
    m_lineWidth = width;
    update();
    Q_EMIT lineWidthChanged();
}

void RingSlices::paint(QPainter *painter)
{
    if (!m_slices)
        return;
    const QPointF centre(width() / 2, height() / 2);
    for (int row = 0; row < m_slices->count(); ++row) {
        // The list's angles start at twelve o'clock, the arc's at three.
        RingArc::draw(painter, centre, m_radius, m_lineWidth,
            m_slices->value(row, "color").value<QColor>(),
            -90 + m_slices->value(row, "startAngle").toDouble(),
            m_slices->value(row, "sweepAngle").toDouble(), false);
    }
}
