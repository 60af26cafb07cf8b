// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/colorcontrast.h"

#include <cmath>

namespace ColorContrast {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor scaled(const QColor &color, double factor)
{
    return QColor::fromRgbF(float(color.redF() * factor), float(color.greenF() * factor),
        float(color.blueF() * factor), color.alphaF());
}

} // namespace

double relativeLuminance(const QColor &color)
{
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF())
        + 0.0722 * linear(color.blueF());
}

QColor over(const QColor &color, const QColor &background)
{
    const double alpha = color.alphaF();
    const auto mix = [alpha](double top, double bottom) {
        return float(alpha * top + (1 - alpha) * bottom);
    };
    return QColor::fromRgbF(mix(color.redF(), background.redF()),
        mix(color.greenF(), background.greenF()), mix(color.blueF(), background.blueF()));
}

double ratio(const QColor &text, const QColor &background)
{
    const double a = relativeLuminance(over(text, background)) + 0.05;
    const double b = relativeLuminance(background) + 0.05;
    return a > b ? a / b : b / a;
}

QColor readable(const QColor &text, const QColor &background, double minimum)
{
    if (ratio(text, background) >= minimum)
        return text;
    // Darker is monotonically more contrast on a light background: halve the interval.
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 20; ++step) {
        const double middle = (low + high) / 2;
        if (ratio(scaled(text, middle), background) >= minimum)
            low = middle;
        else
            high = middle;
    }
    return scaled(text, low);
}

} // namespace ColorContrast
