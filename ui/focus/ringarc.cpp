// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/focus/ringarc.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

RingArc::RingArc(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void RingArc::setRadius(qreal radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    update();
    Q_EMIT radiusChanged();
}

void RingArc::setLineWidth(qreal width)
{
    if (width == m_lineWidth)
        return;
    m_lineWidth = width;
    update();
    Q_EMIT lineWidthChanged();
}

void RingArc::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
    Q_EMIT colorChanged();
}

void RingArc::setStartAngle(qreal degrees)
{
    if (degrees == m_startAngle)
        return;
    m_startAngle = degrees;
    update();
    Q_EMIT startAngleChanged();
}

void RingArc::setSweepAngle(qreal degrees)
{
    if (degrees == m_sweepAngle)
        return;
    m_sweepAngle = degrees;
    update();
    Q_EMIT sweepAngleChanged();
}

void RingArc::setRoundCap(bool round)
{
    if (round == m_roundCap)
        return;
    m_roundCap = round;
    update();
    Q_EMIT roundCapChanged();
}

void RingArc::paint(QPainter *painter)
{
    draw(painter, QPointF(width() / 2, height() / 2), m_radius, m_lineWidth, m_color, m_startAngle,
        m_sweepAngle, m_roundCap);
}

void RingArc::draw(QPainter *painter, const QPointF &centre, qreal radius, qreal lineWidth,
    const QColor &color, qreal startAngle, qreal sweepAngle, bool roundCap)
{
    if (radius <= 0 || lineWidth <= 0 || sweepAngle == 0 || color.alpha() == 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    if (std::abs(sweepAngle) >= 360) {
        // Filled between two circles: a stroked full circle overlaps itself where its ends meet,
        // and a pale colour would show a seam there.
        const qreal outer = radius + lineWidth / 2;
        const qreal inner = qMax<qreal>(0, radius - lineWidth / 2);
        QPainterPath band;
        band.setFillRule(Qt::OddEvenFill);
        band.addEllipse(centre, outer, outer);
        band.addEllipse(centre, inner, inner);
        painter->fillPath(band, color);
        return;
    }
    // QPainter counts angles counter-clockwise.
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, -startAngle);
    arc.arcTo(circle, -startAngle, -sweepAngle);
    painter->strokePath(
        arc, QPen(color, lineWidth, Qt::SolidLine, roundCap ? Qt::RoundCap : Qt::FlatCap));
}
