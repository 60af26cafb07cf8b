// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// The content of each completion alert panel: the symbol, what was completed, and the two ways
// to end the alert.
Rectangle {
    id: view

    required property TimerModel model

    implicitWidth: 440
    implicitHeight: 370
    color: Theme.canvas
    // A hairline edge, so the panel stands apart from the window behind it where the desktop
    // draws no frame around it.
    border.width: 1
    border.color: Theme.inkAlpha(0.18)
    // Return is the panel's default action, "知道了".
    focus: true
    Keys.onReturnPressed: prompt.acknowledge()
    Keys.onEnterPressed: prompt.acknowledge()

    CompletionPrompt {
        id: prompt
        model: view.model
    }

    Column {
        anchors.centerIn: parent
        width: parent.width - 2 * 30
        spacing: 20

        // "checkmark.circle.fill": a filled blue disc with the check cut out in white.
        PathSymbol {
            objectName: "completionSymbol"
            anchors.horizontalCenter: parent.horizontalCenter
            width: 52
            height: 52
            gridSize: 52
            fillPath: "M52 26 A26 26 0 1 1 0 26 A26 26 0 1 1 52 26 Z"
            fillColor: Theme.blue
            strokePath: "M15 27 L23 35 L37 18"
            strokeColor: "white"
            lineWidth: 5
        }

        Label {
            objectName: "completionTitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "专注完成"
            color: Theme.ink
            font.family: Theme.fontFamily
            font.pixelSize: Theme.titleSize
            font.bold: true
        }

        Label {
            objectName: "completionMessage"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: prompt.message
            color: Theme.secondary
            font.family: Theme.fontFamily
            font.pixelSize: Theme.bodySize
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 14

            CompletionButton {
                objectName: "againButton"
                text: "再来一次"
                onClicked: prompt.again()
            }
            CompletionButton {
                objectName: "acknowledgeButton"
                text: "知道了"
                prominent: true
                onClicked: prompt.acknowledge()
            }
        }
    }
}
