// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// A labelled pop-up picker of texts.
Row {
    id: picker

    required property string label
    required property int pickerWidth
    required property var options
    required property string current

    signal chosen(string option)

    spacing: 8

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: picker.label
        color: Theme.ink
        font.family: Theme.fontFamily
        font.pixelSize: 14
    }

    ComboBox {
        id: box
        objectName: picker.objectName + "Box"
        width: picker.pickerWidth
        implicitHeight: 34
        model: picker.options
        currentIndex: picker.options.indexOf(picker.current)
        displayText: currentIndex >= 0 ? currentText : picker.current
        onActivated: index => picker.chosen(picker.options[index])
        Accessible.name: picker.label
        font.family: Theme.fontFamily
        font.pixelSize: 14
        leftPadding: 10
        palette.buttonText: Theme.ink
        palette.text: Theme.ink
        background: Rectangle {
            radius: 7
            color: box.pressed ? Theme.pale : "white"
            border.width: 1
            border.color: Theme.inkAlpha(0.18)

            FocusFrame {
                shown: box.visualFocus
                radius: parent.radius + outset
            }
        }
    }
}
