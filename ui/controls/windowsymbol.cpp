// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/windowsymbol.h"

#include <QHash>

namespace {

struct Glyph {
    QStringView stroke;
    QStringView fill;
};

// SVG path data on a 24 × 24 grid.
const QHash<QStringView, Glyph> &glyphs()
{
    static const QHash<QStringView, Glyph> table = {
        {u"timer",
            {u"M20 13.5 A8 8 0 1 1 4 13.5 A8 8 0 1 1 20 13.5 Z M12 13.5 L12 9 "
             u"M9.5 2.5 L14.5 2.5 M12 2.5 L12 5.5",
                u""}},
        {u"chart.bar.xaxis",
            {u"M3 21 L21 21",
                u"M5 11 L8 11 L8 18.5 L5 18.5 Z M10.5 5.5 L13.5 5.5 L13.5 18.5 "
                u"L10.5 18.5 Z M16 8.5 L19 8.5 L19 18.5 L16 18.5 Z"}},
        {u"list.bullet.rectangle",
            {u"M5.5 4 L18.5 4 Q21 4 21 6.5 L21 17.5 Q21 20 18.5 20 L5.5 20 "
             u"Q3 20 3 17.5 L3 6.5 Q3 4 5.5 4 Z M10.5 8.5 L17.5 8.5 M10.5 12 "
             u"L17.5 12 M10.5 15.5 L17.5 15.5",
                u"M6 8.5 A1.2 1.2 0 1 0 8.4 8.5 A1.2 1.2 0 1 0 6 8.5 Z M6 12 "
                u"A1.2 1.2 0 1 0 8.4 12 A1.2 1.2 0 1 0 6 12 Z M6 15.5 "
                u"A1.2 1.2 0 1 0 8.4 15.5 A1.2 1.2 0 1 0 6 15.5 Z"}},
        {u"plus.circle",
            {u"M21 12 A9 9 0 1 1 3 12 A9 9 0 1 1 21 12 Z M12 8.2 L12 15.8 "
             u"M8.2 12 L15.8 12",
                u""}},
        {u"chevron.right", {u"M9.5 5.5 L16 12 L9.5 18.5", u""}},
        {u"chevron.down", {u"M5.5 9.5 L12 16 L18.5 9.5", u""}},
        {u"ellipsis",
            {u"",
                u"M4.2 12 A1.8 1.8 0 1 0 7.8 12 A1.8 1.8 0 1 0 4.2 12 Z M10.2 12 "
                u"A1.8 1.8 0 1 0 13.8 12 A1.8 1.8 0 1 0 10.2 12 Z M16.2 12 "
                u"A1.8 1.8 0 1 0 19.8 12 A1.8 1.8 0 1 0 16.2 12 Z"}},
        {u"checkmark", {u"M5 12.5 L10 17.5 L19 6.5", u""}},
        {u"arrow.turn.down.right",
            {u"M6 4 L6 10.5 Q6 15 10.5 15 L19 15 M15 11 L19 15 L15 19", u""}},
        {u"gearshape",
            {u"",
                u"M9.58 5.01 L9.81 2.04 L14.19 2.04 L14.42 5.01 L15.23 5.34 "
                u"L17.50 3.41 L20.59 6.50 L18.66 8.77 L18.99 9.58 L21.96 9.81 "
                u"L21.96 14.19 L18.99 14.42 L18.66 15.23 L20.59 17.50 "
                u"L17.50 20.59 L15.23 18.66 L14.42 18.99 L14.19 21.96 L9.81 21.96 "
                u"L9.58 18.99 L8.77 18.66 L6.50 20.59 L3.41 17.50 L5.34 15.23 "
                u"L5.01 14.42 L2.04 14.19 L2.04 9.81 L5.01 9.58 L5.34 8.77 "
                u"L3.41 6.50 L6.50 3.41 L8.77 5.34 Z M15.2 12 "
                u"A3.2 3.2 0 1 0 8.8 12 A3.2 3.2 0 1 0 15.2 12 Z"}},
        {u"stop.fill",
            {u"",
                u"M8 6 L16 6 Q18 6 18 8 L18 16 Q18 18 16 18 L8 18 Q6 18 6 16 L6 8 "
                u"Q6 6 8 6 Z"}},
        {u"play.fill",
            {u"",
                u"M7.5 4.5 Q7.5 3.6 8.3 4.1 L19.2 11.2 Q20 11.9 19.2 12.6 "
                u"L8.3 19.8 Q7.5 20.4 7.5 19.4 Z"}},
        {u"pause.fill",
            {u"",
                u"M6.5 5 L10.5 5 L10.5 19 L6.5 19 Z M13.5 5 L17.5 5 L17.5 19 "
                u"L13.5 19 Z"}},
    };
    return table;
}

} // namespace

WindowSymbol::WindowSymbol(QQuickItem *parent) : PathSymbol(parent)
{
    setLineWidth(1.9);
    setSize(16);
}

void WindowSymbol::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    const Glyph glyph = glyphs().value(m_name);
    setStrokePath(glyph.stroke.toString());
    setFillPath(glyph.fill.toString());
    Q_EMIT nameChanged();
}

void WindowSymbol::setColor(const QColor &color)
{
    if (color == strokeColor())
        return;
    setStrokeColor(color);
    setFillColor(color);
    Q_EMIT colorChanged();
}

void WindowSymbol::setSize(qreal size)
{
    if (size == m_size)
        return;
    m_size = size;
    setImplicitSize(size, size);
    update();
    Q_EMIT sizeChanged();
}
