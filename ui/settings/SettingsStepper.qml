// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// A label with a pair of step buttons at its right end.
RowLayout {
    id: stepper

    property alias text: label.text
    property bool canDecrease: true
    property bool canIncrease: true

    signal decrease
    signal increase

    spacing: 12

    SettingsText {
        id: label

        objectName: "settingsGoalLabel"
        Layout.fillWidth: true
    }
    Rectangle {
        implicitWidth: 64
        implicitHeight: 26
        radius: 6
        color: "white"
        border.width: 1
        border.color: Theme.inkAlpha(0.18)

        Row {
            anchors.fill: parent

            Repeater {
                model: [
                    { name: "settingsGoalDecrease", glyph: "−", label: "减少" },
                    { name: "settingsGoalIncrease", glyph: "+", label: "增加" }
                ]

                AbstractButton {
                    id: step

                    required property var modelData
                    required property int index

                    objectName: modelData.name
                    width: parent.width / 2
                    height: parent.height
                    autoRepeat: true
                    enabled: index === 0 ? stepper.canDecrease : stepper.canIncrease
                    Accessible.role: Accessible.Button
                    Accessible.name: modelData.label
                    onClicked: index === 0 ? stepper.decrease() : stepper.increase()

                    background: Rectangle {
                        anchors.fill: parent
                        anchors.margins: 2
                        radius: 4
                        color: step.down ? Theme.pale : "transparent"

                        FocusFrame {
                            shown: step.visualFocus
                            radius: parent.radius + outset
                        }
                    }
                    contentItem: Label {
                        text: step.modelData.glyph
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        font.family: Theme.fontFamily
                        font.pixelSize: 16
                        color: Theme.ink
                        opacity: step.enabled ? 1 : 0.3
                    }
                }
            }
        }
        Rectangle {
            anchors.centerIn: parent
            width: 1
            height: parent.height - 10
            color: parent.border.color
        }
    }
}
