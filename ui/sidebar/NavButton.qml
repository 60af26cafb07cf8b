// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// A full-width navigation entry of the sidebar: a symbol and a title, highlighted when selected.
AbstractButton {
    id: entry

    property string symbol
    property bool selected: false

    Accessible.name: text
    Accessible.role: Accessible.Button
    hoverEnabled: true
    implicitHeight: 36
    leftPadding: 10
    rightPadding: 10

    contentItem: Row {
        spacing: 10

        WindowSymbol {
            anchors.verticalCenter: parent.verticalCenter
            name: entry.symbol
            size: 17
            color: entry.selected ? Theme.accentText : Theme.ink
        }
        Label {
            anchors.verticalCenter: parent.verticalCenter
            text: entry.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.bodySize
            font.bold: entry.selected
            color: entry.selected ? Theme.accentText : Theme.ink
        }
    }

    background: Rectangle {
        radius: 8
        color: entry.selected ? Theme.selection
                              : entry.down ? Theme.inkAlpha(0.10)
                                           : entry.hovered ? Qt.rgba(1, 1, 1, 0.55) : "transparent"

        FocusFrame {
            shown: entry.visualFocus
            radius: parent.radius + outset
        }
    }
}
