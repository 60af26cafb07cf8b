// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The slices of today's ring, drawn together: flat-ended arcs 22 wide on a circle inset 15 from
// the square, from 12 o'clock clockwise.
RingSlices {
    radius: Math.min(width, height) / 2 - 15
    lineWidth: 22
}
