// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// A week step of the review header, showing its chevron.
AbstractButton {
    id: button

    property string symbol

    implicitWidth: 28
    implicitHeight: 28
    hoverEnabled: true
    Accessible.role: Accessible.Button
    Accessible.name: symbol

    background: Rectangle {
        radius: 7
        color: button.down ? Theme.pale : button.hovered ? Qt.rgba(Theme.pale.r, Theme.pale.g, Theme.pale.b, 0.6) : "transparent"
        border.width: 1
        border.color: Theme.inkAlpha(0.12)

        FocusFrame {
            shown: button.visualFocus
            radius: parent.radius + outset
        }
    }
    contentItem: Item {
        ReviewSymbol {
            anchors.centerIn: parent
            name: button.symbol
            size: 14
            lineWidth: 1.8
            color: Theme.ink
        }
    }
}
