// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>

// Contrast between text and its background as the web content accessibility guidelines measure
// it: from 1 (none) to 21 (black on white). Body text wants 4.5 or more.
namespace ColorContrast {

constexpr double minimumForText = 4.5;

double relativeLuminance(const QColor &color);
// The colour seen where `color`, with its opacity, is drawn over an opaque background.
QColor over(const QColor &color, const QColor &background);
double ratio(const QColor &text, const QColor &background);
// The colour itself when it reads well enough on the background, otherwise the lightest
// darkening of it that does: project colours are chosen for dots and bars, not for letters.
QColor readable(const QColor &text, const QColor &background, double minimum = minimumForText);

} // namespace ColorContrast
