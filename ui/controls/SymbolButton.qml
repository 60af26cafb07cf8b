// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// A small borderless button that shows only a symbol; its accessible name says what it does.
AbstractButton {
    id: control

    property string symbol
    property real symbolSize: 14
    property color color: Theme.ink

    Accessible.name: text
    Accessible.role: Accessible.Button
    hoverEnabled: true
    implicitWidth: 26
    implicitHeight: 26
    opacity: enabled ? 1 : 0.3

    contentItem: Item {
        WindowSymbol {
            anchors.centerIn: parent
            name: control.symbol
            size: control.symbolSize
            color: control.color
        }
    }

    background: Rectangle {
        radius: 6
        color: control.down ? Theme.inkAlpha(0.14)
                            : control.hovered ? Theme.inkAlpha(0.07) : "transparent"

        FocusFrame {
            shown: control.visualFocus
            radius: parent.radius + outset
        }
    }
}
