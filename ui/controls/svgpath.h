// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QStringView>

// The outline described by SVG path data ("M5 12.5 L10 17.5 A9 9 0 1 1 3 12 Z"): the commands
// M, L, H, V, C, Q, A and Z, absolute in capitals and relative in lower case, with implicit
// repetition of a command's coordinates. Reading stops at the first malformed command; what came
// before it is kept, as SVG viewers do.
QPainterPath svgPath(QStringView data);
