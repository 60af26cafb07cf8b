// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "projects/projectpalette.h"

#include <QVariantMap>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

quint16 channel(double component)
{
    if (!(component > 0.0)) // also NaN
        return 0;
    if (component >= 1.0)
        return 0xffff;
    return quint16(std::lround(component * 65535.0));
}

} // namespace

QColor ProjectPalette::Entry::color() const
{
    return colorFromComponents(red, green, blue);
}

const QList<ProjectPalette::Entry> &ProjectPalette::entries()
{
    static const QList<Entry> palette = {
        {u"蓝色"_s, 0.16, 0.46, 0.86},
        {u"天蓝"_s, 0.20, 0.68, 0.88},
        {u"青色"_s, 0.12, 0.64, 0.65},
        {u"薄荷"_s, 0.25, 0.68, 0.50},
        {u"绿色"_s, 0.40, 0.65, 0.25},
        {u"橄榄"_s, 0.61, 0.63, 0.22},
        {u"黄色"_s, 0.88, 0.66, 0.16},
        {u"橙色"_s, 0.91, 0.43, 0.16},
        {u"珊瑚"_s, 0.87, 0.34, 0.36},
        {u"红色"_s, 0.78, 0.22, 0.30},
        {u"粉色"_s, 0.88, 0.39, 0.62},
        {u"玫瑰"_s, 0.73, 0.30, 0.53},
        {u"紫色"_s, 0.51, 0.35, 0.78},
        {u"薰衣草"_s, 0.63, 0.52, 0.84},
        {u"棕色"_s, 0.58, 0.39, 0.27},
        {u"石墨"_s, 0.40, 0.45, 0.51},
    };
    return palette;
}

int ProjectPalette::wrapped(qint64 index)
{
    const qint64 rest = index % size;
    return int(rest < 0 ? rest + size : rest);
}

QVariantList ProjectPalette::toVariantList()
{
    QVariantList list;
    for (const Entry &entry : entries())
        list.append(QVariantMap {{u"name"_s, entry.name}, {u"color"_s, entry.color()}});
    return list;
}

QColor ProjectPalette::colorFromComponents(double red, double green, double blue, double alpha)
{
    return QColor::fromRgba64(channel(red), channel(green), channel(blue), channel(alpha));
}
