// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// A waste bin: lid with handle, and a tapered can with two ribs.
PathSymbol {
    id: icon

    property color color: "red"

    width: 16
    height: 16
    gridSize: 16
    // The lid with its handle, the can, and the two ribs.
    strokePath: "M2 4 L14 4 M6 4 L6 2.5 Q6 1.7 6.8 1.7 L9.2 1.7 Q10 1.7 10 2.5 L10 4 "
                + "M3.5 4 L4.4 13.8 Q4.5 15 5.6 15 L10.4 15 Q11.5 15 11.6 13.8 L12.5 4 "
                + "M6.6 6.5 L6.9 12.5 M9.4 6.5 L9.1 12.5"
    strokeColor: icon.color
    lineWidth: 1.3
}
