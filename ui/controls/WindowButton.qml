// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// A button of the main window: plain, bordered or prominent, with an optional symbol in front.
Button {
    id: control

    property string symbol
    // "plain", "bordered" or "prominent".
    property string kind: "bordered"
    property bool destructive: false
    property bool large: false
    // A plain button that stands for the page on show.
    property bool selected: false

    readonly property color tint: destructive ? Theme.red : Theme.blue
    readonly property color labelColor: kind === "prominent" ? "white"
                                        : destructive ? Theme.red
                                        : selected ? Theme.accentText : Theme.ink

    Accessible.name: text
    // Hidden buttons leave the accessibility tree, so a screen reader offers only what is shown.
    Accessible.ignored: !visible
    hoverEnabled: true
    opacity: enabled ? 1 : 0.4
    font.family: Theme.fontFamily
    font.pixelSize: large ? Theme.bodySize : Theme.subheadlineSize
    font.bold: kind === "prominent" || selected
    topPadding: large ? 9 : 5
    bottomPadding: large ? 9 : 5
    leftPadding: large ? 14 : 11
    rightPadding: large ? 14 : 11

    contentItem: Item {
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight

        Row {
            id: label
            anchors.centerIn: parent
            spacing: 7

            WindowSymbol {
                anchors.verticalCenter: parent.verticalCenter
                visible: control.symbol !== ""
                name: control.symbol
                size: control.large ? 15 : 13
                color: control.labelColor
            }
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                font: control.font
                color: control.labelColor
            }
        }
    }

    background: Rectangle {
        implicitHeight: control.large ? 42 : 30
        radius: control.large ? 11 : 8
        color: {
            if (control.kind === "prominent")
                return control.down ? Qt.darker(control.tint, 1.18)
                                    : control.hovered ? Qt.darker(control.tint, 1.07) : control.tint
            if (control.kind === "bordered")
                return control.down ? Theme.inkAlpha(0.12)
                                    : control.hovered ? Theme.inkAlpha(0.05) : "white"
            if (control.selected)
                return Theme.selection
            return control.down ? Theme.inkAlpha(0.12)
                                : control.hovered ? Theme.inkAlpha(0.06) : "transparent"
        }
        border.width: control.kind === "bordered" ? 1 : 0
        border.color: Theme.inkAlpha(0.18)

        FocusFrame {
            shown: control.visualFocus
            radius: parent.radius + outset
        }
    }
}
