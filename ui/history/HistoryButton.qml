// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// A bordered push button.
Button {
    id: button

    Accessible.name: text
    font.family: Theme.fontFamily
    font.pixelSize: 13
    leftPadding: 14
    rightPadding: 14
    topPadding: 6
    bottomPadding: 6

    contentItem: Text {
        text: button.text
        font: button.font
        color: Theme.ink
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        implicitHeight: 30
        radius: 7
        color: button.down ? Theme.pale : button.hovered ? Qt.rgba(0.97, 0.98, 0.99, 1) : "white"
        border.width: 1
        border.color: Theme.inkAlpha(0.22)

        FocusFrame {
            shown: button.visualFocus
            radius: parent.radius + outset
        }
    }
}
