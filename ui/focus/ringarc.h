// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// An arc of a circle centred in the item, as a band of the given width: from startAngle
// (degrees, 0 at three o'clock, clockwise) over sweepAngle degrees, with round or flat ends; a
// sweep of a full turn is a closed ring. QPainter draws it at the window's device pixel ratio,
// again whenever that changes. Not final: QML creates it through a derived wrapper.
class RingArc : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged FINAL)
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged FINAL)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged FINAL)
    Q_PROPERTY(qreal startAngle READ startAngle WRITE setStartAngle NOTIFY startAngleChanged FINAL)
    Q_PROPERTY(qreal sweepAngle READ sweepAngle WRITE setSweepAngle NOTIFY sweepAngleChanged FINAL)
    Q_PROPERTY(bool roundCap READ roundCap WRITE setRoundCap NOTIFY roundCapChanged FINAL)

public:
    explicit RingArc(QQuickItem *parent = nullptr);

    // Of the band's middle line.
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal lineWidth() const { return m_lineWidth; }
    void setLineWidth(qreal width);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    qreal startAngle() const { return m_startAngle; }
    void setStartAngle(qreal degrees);
    qreal sweepAngle() const { return m_sweepAngle; }
    void setSweepAngle(qreal degrees);
    bool roundCap() const { return m_roundCap; }
    void setRoundCap(bool round);

    void paint(QPainter *painter) override;

    // Draws such an arc around centre; one without radius, width, sweep or colour draws nothing.
    static void draw(QPainter *painter, const QPointF &centre, qreal radius, qreal lineWidth,
        const QColor &color, qreal startAngle, qreal sweepAngle, bool roundCap);

Q_SIGNALS:
    void radiusChanged();
    void lineWidthChanged();
    void colorChanged();
    void startAngleChanged();
    void sweepAngleChanged();
    void roundCapChanged();

private:
    qreal m_radius = 0;
    qreal m_lineWidth = 1;
    QColor m_color = Qt::black;
    qreal m_startAngle = 0;
    qreal m_sweepAngle = 360;
    bool m_roundCap = false;
};
