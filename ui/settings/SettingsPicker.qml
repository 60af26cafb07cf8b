// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// A pop-up picker in the look of the settings page's buttons.
ComboBox {
    id: picker

    implicitHeight: 30
    leftPadding: 10
    rightPadding: 30
    hoverEnabled: true
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize

    background: Rectangle {
        implicitWidth: 160
        radius: 7
        color: picker.down ? Theme.pale : "white"
        border.width: 1
        border.color: picker.visualFocus ? Theme.blue
                                         : Theme.inkAlpha(0.18)

        FocusFrame {
            shown: picker.visualFocus
            radius: parent.radius + outset
        }
    }
    contentItem: Label {
        text: picker.displayText
        font: picker.font
        color: Theme.ink
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    indicator: Column {
        x: picker.width - width - 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: -4

        ReviewSymbol {
            name: "chevron.left"
            size: 10
            lineWidth: 1.5
            rotation: 90
        }
        ReviewSymbol {
            name: "chevron.right"
            size: 10
            lineWidth: 1.5
            rotation: 90
        }
    }
    delegate: ItemDelegate {
        id: option

        required property var modelData
        required property int index

        width: ListView.view ? ListView.view.width : implicitWidth
        implicitHeight: 28
        leftPadding: 26
        text: modelData.label
        font: picker.font
        highlighted: picker.highlightedIndex === index

        contentItem: Label {
            text: option.text
            font: option.font
            color: option.highlighted ? "white" : Theme.ink
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        background: Rectangle {
            radius: 5
            color: option.highlighted ? Theme.blue : "transparent"

            Label {
                x: 9
                anchors.verticalCenter: parent.verticalCenter
                visible: picker.currentIndex === option.index
                text: "✓"
                font.pixelSize: Theme.captionSize
                color: option.highlighted ? "white" : Theme.ink
            }
        }
    }
    popup: Popup {
        y: picker.height + 4
        width: Math.max(picker.width, 180)
        implicitHeight: contentItem.implicitHeight + 10
        padding: 5

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: picker.popup.visible ? picker.delegateModel : null
            currentIndex: picker.highlightedIndex
            interactive: false
        }
        background: Rectangle {
            radius: 8
            color: "white"
            border.width: 1
            border.color: Theme.inkAlpha(0.15)
        }
    }
}
