// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPainterPath>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

// A symbol drawn from SVG path data on a square grid that is scaled to the item: an outline
// stroked with round caps and joins, and a shape filled (even-odd). QPainter draws it at the
// window's device pixel ratio, again whenever that changes, so it is whole and sharp at every
// display scale and under every scene graph renderer. Not final: QML creates it through a
// derived wrapper, and named symbols derive from it.
class PathSymbol : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(
        QString strokePath READ strokePath WRITE setStrokePath NOTIFY strokePathChanged FINAL)
    Q_PROPERTY(
        QColor strokeColor READ strokeColor WRITE setStrokeColor NOTIFY strokeColorChanged FINAL)
    Q_PROPERTY(qreal lineWidth READ lineWidth WRITE setLineWidth NOTIFY lineWidthChanged FINAL)
    Q_PROPERTY(QString fillPath READ fillPath WRITE setFillPath NOTIFY fillPathChanged FINAL)
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY fillColorChanged FINAL)
    Q_PROPERTY(qreal gridSize READ gridSize WRITE setGridSize NOTIFY gridSizeChanged FINAL)

public:
    explicit PathSymbol(QQuickItem *parent = nullptr);

    QString strokePath() const { return m_strokeData; }
    void setStrokePath(const QString &data);
    QColor strokeColor() const { return m_strokeColor; }
    void setStrokeColor(const QColor &color);
    // In grid units.
    qreal lineWidth() const { return m_lineWidth; }
    void setLineWidth(qreal width);
    QString fillPath() const { return m_fillData; }
    void setFillPath(const QString &data);
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);
    // The side of the square the paths are written on; it fills the item's shorter side.
    qreal gridSize() const { return m_gridSize; }
    void setGridSize(qreal size);

    void paint(QPainter *painter) override;

protected:
    // The side of the square the grid is drawn on, in the middle of the item.
    virtual qreal drawnSide() const { return qMin(width(), height()); }

Q_SIGNALS:
    void strokePathChanged();
    void strokeColorChanged();
    void lineWidthChanged();
    void fillPathChanged();
    void fillColorChanged();
    void gridSizeChanged();

private:
    QString m_strokeData;
    QPainterPath m_stroke;
    QColor m_strokeColor = Qt::transparent;
    qreal m_lineWidth = 1;
    QString m_fillData;
    QPainterPath m_fill;
    QColor m_fillColor = Qt::transparent;
    qreal m_gridSize = 24;
};
