// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/startupfonts.h"

#include <QFontMetricsF>

namespace {

QFont font(const QString &family, int pixelSize, QFont::Weight weight)
{
    QFont result(family);
    result.setPixelSize(pixelSize);
    result.setWeight(weight);
    return result;
}

} // namespace

QList<QFont> StartupFonts::fonts()
{
    // In the order the window first lays them out.
    const QString text = family();
    const QString figures = figuresFamily();
    return {font(text, 14, QFont::Normal), font(text, 12, QFont::Normal),
        font(text, 15, QFont::Bold), font(text, 14, QFont::Bold), font(figures, 14, QFont::Normal),
        font(text, 11, QFont::Normal), font(text, 12, QFont::Bold), font(text, 13, QFont::Normal),
        font(text, 18, QFont::Bold), font(figures, 18, QFont::Bold), font(text, 22, QFont::Bold)};
}

void StartupFonts::open(const std::function<void()> &between)
{
    for (const QFont &font : fonts()) {
        between();
        // Asking for the height opens the font's engine; it stays in the thread's font cache.
        QFontMetricsF(font).height();
    }
}
