// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// The push button of the settings page and the project editor; prominent for a sheet's
// confirming action.
Button {
    id: button

    property bool prominent: false

    hoverEnabled: true
    leftPadding: 14
    rightPadding: 14
    topPadding: 6
    bottomPadding: 6
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize
    Accessible.name: text

    contentItem: Label {
        text: button.text
        font: button.font
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        color: button.prominent ? "white" : Theme.ink
        opacity: button.enabled ? 1 : 0.45
    }
    background: Rectangle {
        implicitWidth: 64
        implicitHeight: 30
        radius: 7
        color: {
            if (button.prominent)
                return button.enabled ? (button.down ? Qt.darker(Theme.blue, 1.15) : Theme.blue)
                                      : Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.35);
            return button.down ? Theme.pale : button.hovered && button.enabled
                    ? Qt.rgba(Theme.pale.r, Theme.pale.g, Theme.pale.b, 0.6) : "white";
        }
        border.width: button.prominent ? 0 : 1
        border.color: Theme.inkAlpha(button.enabled ? 0.18 : 0.1)

        FocusFrame {
            shown: button.visualFocus
            radius: parent.radius + outset
        }
    }
}
