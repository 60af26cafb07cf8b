// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// A colour picker without opacity: a labelled well that opens a saturation–brightness square
// and a hue strip. Every change made with it is reported through picked().
RowLayout {
    id: picker

    property alias label: caption.text
    property color color

    signal picked(color color)

    spacing: 10

    Label {
        id: caption

        font.family: Theme.fontFamily
        font.pixelSize: Theme.bodySize
        color: Theme.ink
    }
    AbstractButton {
        id: well

        objectName: "editorColorWell"
        implicitWidth: 44
        implicitHeight: 24
        Accessible.role: Accessible.Button
        Accessible.name: caption.text
        onClicked: chooser.open()

        background: Rectangle {
            radius: 6
            color: "white"
            border.width: 1
            border.color: Theme.inkAlpha(well.down ? 0.4 : 0.2)

            Rectangle {
                anchors.fill: parent
                anchors.margins: 3
                radius: 4
                color: picker.color
            }

            FocusFrame {
                shown: well.visualFocus
                radius: parent.radius + outset
            }
        }
    }

    Popup {
        id: chooser

        // Hue, saturation and brightness, each 0 … 1, as the user left them; the hue survives
        // a trip through grey.
        property real hue: 0
        property real saturation: 0
        property real brightness: 1

        function report() {
            picker.picked(Qt.hsva(hue, saturation, brightness, 1));
        }

        y: well.y + well.height + 6
        x: well.x
        padding: 12
        // Modal, so that Escape and outside presses close the picker and not the sheet below.
        modal: true
        dim: false
        focus: true
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
        onAboutToShow: {
            hue = Math.max(0, picker.color.hsvHue);
            saturation = picker.color.hsvSaturation;
            brightness = picker.color.hsvValue;
        }

        background: Rectangle {
            radius: 10
            color: "white"
            border.width: 1
            border.color: Theme.inkAlpha(0.15)
        }

        contentItem: Column {
            spacing: 10

            // Saturation grows to the right, brightness upwards.
            Rectangle {
                id: field

                objectName: "editorColorField"
                width: 200
                height: 140
                radius: 4
                color: Qt.hsva(chooser.hue, 1, 1, 1)

                Rectangle {
                    anchors.fill: parent
                    radius: 4
                    gradient: Gradient {
                        orientation: Gradient.Horizontal
                        GradientStop { position: 0; color: "white" }
                        GradientStop { position: 1; color: "#00ffffff" }
                    }
                }
                Rectangle {
                    anchors.fill: parent
                    radius: 4
                    gradient: Gradient {
                        GradientStop { position: 0; color: "#00000000" }
                        GradientStop { position: 1; color: "black" }
                    }
                }
                Rectangle {
                    x: chooser.saturation * field.width - width / 2
                    y: (1 - chooser.brightness) * field.height - height / 2
                    width: 12
                    height: 12
                    radius: 6
                    color: "transparent"
                    border.width: 2
                    border.color: chooser.brightness > 0.5 && chooser.saturation < 0.4 ? Theme.ink : "white"
                }
                MouseArea {
                    anchors.fill: parent
                    preventStealing: true
                    function place(mouse) {
                        chooser.saturation = Math.min(1, Math.max(0, mouse.x / width));
                        chooser.brightness = 1 - Math.min(1, Math.max(0, mouse.y / height));
                        chooser.report();
                    }
                    onPressed: mouse => place(mouse)
                    onPositionChanged: mouse => place(mouse)
                }
            }
            Rectangle {
                id: strip

                objectName: "editorHueStrip"
                width: 200
                height: 14
                radius: 7
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0 / 6; color: "#ff0000" }
                    GradientStop { position: 1 / 6; color: "#ffff00" }
                    GradientStop { position: 2 / 6; color: "#00ff00" }
                    GradientStop { position: 3 / 6; color: "#00ffff" }
                    GradientStop { position: 4 / 6; color: "#0000ff" }
                    GradientStop { position: 5 / 6; color: "#ff00ff" }
                    GradientStop { position: 6 / 6; color: "#ff0000" }
                }

                Rectangle {
                    x: chooser.hue * strip.width - width / 2
                    anchors.verticalCenter: parent.verticalCenter
                    width: 16
                    height: 16
                    radius: 8
                    color: Qt.hsva(chooser.hue, 1, 1, 1)
                    border.width: 2
                    border.color: "white"
                }
                MouseArea {
                    anchors.fill: parent
                    anchors.margins: -4
                    preventStealing: true
                    function place(mouse) {
                        chooser.hue = Math.min(1, Math.max(0, (mouse.x - 4) / strip.width));
                        chooser.report();
                    }
                    onPressed: mouse => place(mouse)
                    onPositionChanged: mouse => place(mouse)
                }
            }
        }
    }
}
