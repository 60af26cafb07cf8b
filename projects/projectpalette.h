// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QVariantList>

// The 16 named project colours. A position in this list is a palette index.
class ProjectPalette {
public:
    struct Entry {
        QString name;
        // sRGB components as chosen, opacity 1.
        double red = 0;
        double green = 0;
        double blue = 0;

        QColor color() const;
    };

    static constexpr int size = 16;

    static const QList<Entry> &entries();
    // Any index, negative ones included, wrapped into 0 … 15: 17 → 1, -1 → 15.
    static int wrapped(qint64 index);
    static QColor color(qint64 index) { return entries().at(wrapped(index)).color(); }
    static QString name(qint64 index) { return entries().at(wrapped(index)).name; }
    // [{"name": …, "color": QColor}, …] for the views.
    static QVariantList toVariantList();

    // A colour from components 0 … 1, kept at full 16-bit precision so that components read from
    // a colour come back unchanged. Components outside 0 … 1 are clamped, NaN reads as 0.
    static QColor colorFromComponents(double red, double green, double blue, double alpha = 1.0);
};
