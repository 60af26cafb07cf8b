// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The line symbols of the review and settings pages, drawn on a 24-unit grid:
// "chevron.left", "chevron.right", "clock", "target", "hourglass" and "bell".
Item {
    id: symbol

    property string name
    property color color: Theme.ink
    property real size: 16
    property real lineWidth: 1.6

    readonly property var paths: ({
        "chevron.left": "M15 5 L8 12 L15 19",
        "chevron.right": "M9 5 L16 12 L9 19",
        "clock": "M21 12 A9 9 0 1 1 3 12 A9 9 0 1 1 21 12 M12 7 L12 12 L15.5 14.5",
        "target": "M21 12 A9 9 0 1 1 3 12 A9 9 0 1 1 21 12 M16 12 A4 4 0 1 1 8 12 A4 4 0 1 1 16 12 "
                  + "M12.4 12 A0.4 0.4 0 1 1 11.6 12 A0.4 0.4 0 1 1 12.4 12",
        "hourglass": "M6 3 L18 3 M6 21 L18 21 M7.5 3 C7.5 9 11.5 10 11.5 12 C11.5 14 7.5 15 7.5 21 "
                     + "M16.5 3 C16.5 9 12.5 10 12.5 12 C12.5 14 16.5 15 16.5 21",
        "bell": "M6 16.5 L6 11 C6 7.6 8.6 5 12 5 C15.4 5 18 7.6 18 11 L18 16.5 L19.5 18 L4.5 18 Z "
                + "M10 20.5 C10.6 21.6 13.4 21.6 14 20.5 M12 3 L12 5"
    })

    implicitWidth: size
    implicitHeight: size

    PathSymbol {
        anchors.centerIn: parent
        width: symbol.size
        height: symbol.size
        strokePath: symbol.paths[symbol.name] ?? ""
        strokeColor: symbol.color
        lineWidth: symbol.lineWidth
    }
}
