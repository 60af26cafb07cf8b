// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/figurelistmodel.h"

#include <QPointer>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// The slices of a figure list (their "color", and their "startAngle" and "sweepAngle" in degrees
// clockwise from twelve o'clock) as arcs of one band around the item's centre, drawn again when
// slices come and go or their colours or angles change. One item for all of them: a painted item
// keeps two images of its size, and a day can have a slice for each of many projects. Not final:
// QML creates it through a derived wrapper.
class RingSlices : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(FigureListModel *slices READ slices WRITE setSlices NOTIFY slicesChanged FINAL)
    // Of the band's middle line.
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged FINAL)
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged FINAL)

public:
    explicit RingSlices(QQuickItem *parent = nullptr);

    FigureListModel *slices() const { return m_slices; }
    void setSlices(FigureListModel *slices);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    qreal lineWidth() const { return m_lineWidth; }
    void setLineWidth(qreal width);

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void slicesChanged();
    void radiusChanged();
    void lineWidthChanged();

private:
    QPointer<FigureListModel> m_slices;
    QList<QMetaObject::Connection> m_watching;
    qreal m_radius = 0;
    qreal m_lineWidth = 1;
};
