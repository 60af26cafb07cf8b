// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// A button of the completion alert: bordered, or filled blue for the default action.
Button {
    id: button

    property bool prominent: false

    hoverEnabled: true
    // The panel never takes the keyboard focus, so a press must not ask for it either.
    focusPolicy: Qt.NoFocus
    leftPadding: 18
    rightPadding: 18
    topPadding: 7
    bottomPadding: 7
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize
    Accessible.name: text

    contentItem: Label {
        text: button.text
        font: button.font
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        color: button.prominent ? "white" : Theme.ink
    }
    background: Rectangle {
        implicitWidth: 96
        implicitHeight: 34
        radius: 8
        color: button.prominent ? (button.down ? Qt.darker(Theme.blue, 1.15) : Theme.blue)
                                : (button.down ? Theme.pale : "white")
        border.width: button.prominent ? 0 : 1
        border.color: Theme.inkAlpha(0.18)
    }
}
