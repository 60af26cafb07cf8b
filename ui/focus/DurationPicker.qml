// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// A caption in small secondary text above an 80-wide picker of two-digit values.
Column {
    id: picker

    property string caption
    property int value
    property var choices: []

    signal chosen(int value)

    spacing: 5

    Label {
        text: picker.caption
        font.family: Theme.fontFamily
        font.pixelSize: Theme.caption2Size
        color: Theme.secondary
    }

    ComboBox {
        id: box

        objectName: "picker"
        width: 80
        implicitHeight: 34
        model: picker.choices
        currentIndex: picker.value
        Accessible.name: picker.caption
        font.family: Theme.monoFontFamily
        font.pixelSize: Theme.bodySize
        opacity: enabled ? 1 : 0.45
        onActivated: index => picker.chosen(index)

        contentItem: Label {
            leftPadding: 12
            text: box.displayText
            font: box.font
            color: Theme.ink
            verticalAlignment: Text.AlignVCenter
        }

        indicator: WindowSymbol {
            x: box.width - width - 10
            anchors.verticalCenter: parent.verticalCenter
            name: "chevron.down"
            size: 10
            lineWidth: 1.6
            color: Theme.secondary
        }

        background: Rectangle {
            radius: 8
            color: box.down ? Theme.inkAlpha(0.08) : "white"
            border.color: box.visualFocus ? Theme.blue : Theme.inkAlpha(0.2)

            FocusFrame {
                shown: box.visualFocus
                radius: parent.radius + outset
            }
        }

        delegate: ItemDelegate {
            id: choice

            required property int index
            required property string modelData

            width: box.width
            implicitHeight: 28
            leftPadding: 12
            highlighted: box.highlightedIndex === index
            Accessible.name: modelData

            contentItem: Label {
                text: choice.modelData
                font.family: Theme.monoFontFamily
                font.pixelSize: Theme.bodySize
                font.bold: box.currentIndex === choice.index
                color: choice.highlighted ? "white" : Theme.ink
                verticalAlignment: Text.AlignVCenter
            }
            background: Rectangle {
                color: choice.highlighted ? Theme.blue : "transparent"
                radius: 5
            }
        }

        popup: Popup {
            y: box.height + 4
            width: box.width
            implicitHeight: Math.min(contentItem.implicitHeight + 8, 252)
            padding: 4

            contentItem: ListView {
                clip: true
                implicitHeight: contentHeight
                model: box.popup.visible ? box.delegateModel : null
                currentIndex: box.highlightedIndex
                highlightMoveDuration: 0
                boundsBehavior: Flickable.StopAtBounds
                ScrollIndicator.vertical: ScrollIndicator {}
                Component.onCompleted: positionViewAtIndex(box.currentIndex, ListView.Center)
            }
            background: Rectangle {
                radius: 9
                color: "white"
                border.color: Theme.inkAlpha(0.16)
            }
        }
    }
}
