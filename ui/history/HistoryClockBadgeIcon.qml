// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// A clock face with a check mark badge: the empty history's symbol.
Item {
    id: icon

    readonly property color tint: Theme.inkAlpha(0.45)

    width: 52
    height: 52

    // The face and its hands.
    PathSymbol {
        anchors.fill: parent
        gridSize: 52
        strokePath: "M42 23 A19 19 0 1 1 4 23 A19 19 0 1 1 42 23 Z M23 11 L23 23 L31 27"
        strokeColor: icon.tint
        lineWidth: 3
    }
    // The badge, rimmed in the card's colour so it stands off the face.
    PathSymbol {
        anchors.fill: parent
        gridSize: 52
        strokePath: "M50 39 A11 11 0 1 1 28 39 A11 11 0 1 1 50 39 Z"
        strokeColor: Theme.card
        lineWidth: 3
        fillPath: strokePath
        fillColor: Theme.blue
    }
    PathSymbol {
        anchors.fill: parent
        gridSize: 52
        strokePath: "M34 39.5 L37.8 43 L44 35.5"
        strokeColor: "white"
        lineWidth: 2.6
    }
}
