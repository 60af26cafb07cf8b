// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// One palette colour of the project editor; the chosen one wears a ring.
AbstractButton {
    id: swatch

    property color swatchColor
    property string colorName
    property bool chosen: false

    implicitWidth: 30
    implicitHeight: 24
    hoverEnabled: true
    Accessible.role: Accessible.Button
    Accessible.name: colorName
    ToolTip.text: colorName
    ToolTip.visible: hovered
    ToolTip.delay: 500

    background: Item {
        FocusFrame {
            anchors.fill: undefined
            anchors.centerIn: parent
            width: 38
            height: 38
            shown: swatch.visualFocus
            radius: 19
        }
    }
    contentItem: Item {
        Rectangle {
            anchors.centerIn: parent
            width: 24
            height: 24
            radius: 12
            color: swatch.swatchColor
            scale: swatch.down ? 0.9 : 1
        }
        // 2 wide, centred 4 outside the circle's edge.
        Rectangle {
            objectName: "editorSwatchRing"
            anchors.centerIn: parent
            width: 34
            height: 34
            radius: 17
            visible: swatch.chosen
            color: "transparent"
            border.width: 2
            border.color: Theme.ink
        }
    }
}
