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
    if (m_radius <= 0 || m_lineWidth <= 0 || m_sweepAngle == 0 || m_color.alpha() == 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() / 2, height() / 2);
    if (std::abs(m_sweepAngle) >= 360) {
        // Filled between two circles: a stroked full circle overlaps itself where its ends meet,
        // and a pale colour would show a seam there.
        const qreal outer = m_radius + m_lineWidth / 2;
        const qreal inner = qMax<qreal>(0, m_radius - m_lineWidth / 2);
        QPainterPath band;
        band.setFillRule(Qt::OddEvenFill);
        band.addEllipse(centre, outer, outer);
        band.addEllipse(centre, inner, inner);
        painter->fillPath(band, m_color);
        return;
    }
    // QPainter counts angles counter-clockwise.
    const QRectF circle(centre.x() - m_radius, centre.y() - m_radius, 2 * m_radius, 2 * m_radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, -m_startAngle);
    arc.arcTo(circle, -m_startAngle, -m_sweepAngle);
    painter->strokePath(
        arc, QPen(m_color, m_lineWidth, Qt::SolidLine, m_roundCap ? Qt::RoundCap : Qt::FlatCap));
}
