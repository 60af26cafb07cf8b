// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/pathsymbol.h"

#include "ui/controls/svgpath.h"

#include <QCache>
#include <QPainter>

namespace {

// The same few symbols are drawn many times over (each sidebar row has its chevron and its
// menu's dots), and reading the numbers of the path data is most of a symbol's set-up: each
// distinct path is read once.
QPainterPath readPath(const QString &data)
{
    static QCache<QString, QPainterPath> read(64);
    if (const QPainterPath *path = read.object(data))
        return *path;
    const QPainterPath path = svgPath(data);
    read.insert(data, new QPainterPath(path));
    return path;
}

} // namespace

PathSymbol::PathSymbol(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void PathSymbol::setStrokePath(const QString &data)
{
    if (data == m_strokeData)
        return;
    m_strokeData = data;
    m_stroke = readPath(data);
    update();
    Q_EMIT strokePathChanged();
}

void PathSymbol::setStrokeColor(const QColor &color)
{
    if (color == m_strokeColor)
        return;
    m_strokeColor = color;
    update();
    Q_EMIT strokeColorChanged();
}

void PathSymbol::setLineWidth(qreal width)
{
    if (width == m_lineWidth)
        return;
    m_lineWidth = width;
    update();
    Q_EMIT lineWidthChanged();
}

void PathSymbol::setFillPath(const QString &data)
{
    if (data == m_fillData)
        return;
    m_fillData = data;
    m_fill = readPath(data);
    m_fill.setFillRule(Qt::OddEvenFill);
    update();
    Q_EMIT fillPathChanged();
}

void PathSymbol::setFillColor(const QColor &color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    update();
    Q_EMIT fillColorChanged();
}

void PathSymbol::setGridSize(qreal size)
{
    if (size == m_gridSize)
        return;
    m_gridSize = size;
    update();
    Q_EMIT gridSizeChanged();
}

void PathSymbol::paint(QPainter *painter)
{
    if (m_gridSize <= 0)
        return;
    const qreal side = drawnSide();
    const qreal scale = side / m_gridSize;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate((width() - side) / 2, (height() - side) / 2);
    painter->scale(scale, scale);
    if (m_fillColor.alpha() > 0 && !m_fill.isEmpty())
        painter->fillPath(m_fill, m_fillColor);
    if (m_strokeColor.alpha() > 0 && m_lineWidth > 0 && !m_stroke.isEmpty()) {
        painter->strokePath(
            m_stroke, QPen(m_strokeColor, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
}
