// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The disclosure arrow of a group: pointing right when closed, down when open.
PathSymbol {
    id: chevron

    property bool expanded: false
    property color color: "black"

    width: 12
    height: 12
    gridSize: 12
    rotation: expanded ? 90 : 0
    strokePath: "M4.5 2 L8.5 6 L4.5 10"
    strokeColor: chevron.color
    lineWidth: 1.8

    Behavior on rotation {
        NumberAnimation {
            duration: 120
        }
    }
}
