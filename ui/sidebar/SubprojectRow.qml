// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelmorFocus

// One subproject under its project: the select button and the subproject's menu, both disabled
// while a session is started.
Rectangle {
    id: row

    required property SidebarRows rows
    required property bool locked
    required property int index
    required property string name
    required property color dotColor
    required property bool selected
    required property bool first
    required property bool last

    objectName: "subprojectRow:" + name
    implicitHeight: 32
    radius: 8
    color: selected ? Qt.rgba(1, 1, 1, 0.8)
                    : hover.hovered && !locked ? Qt.rgba(1, 1, 1, 0.4) : "transparent"

    HoverHandler {
        id: hover
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 24
        anchors.rightMargin: 4
        spacing: 2

        AbstractButton {
            id: selectButton

            objectName: "selectButton"
            Layout.fillWidth: true
            Layout.fillHeight: true
            text: row.name
            Accessible.name: row.name
            Accessible.role: Accessible.Button
            enabled: !row.locked
            opacity: enabled ? 1 : 0.5
            onClicked: row.rows.select(row.index)

            contentItem: RowLayout {
                spacing: 7

                WindowSymbol {
                    name: "arrow.turn.down.right"
                    size: 12
                    lineWidth: 1.6
                    color: Theme.secondary
                }
                Rectangle {
                    implicitWidth: 8
                    implicitHeight: 8
                    radius: 4
                    color: row.dotColor
                }
                Label {
                    Layout.fillWidth: true
                    text: row.name
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.subheadlineSize
                    font.bold: row.selected
                    color: Theme.ink
                }
                WindowSymbol {
                    objectName: "checkmark"
                    visible: row.selected
                    name: "checkmark"
                    size: 12
                    lineWidth: 2.2
                    color: Theme.blue
                }
            }
            background: Item {
                FocusFrame {
                    shown: selectButton.visualFocus
                    outset: 1
                    radius: 8
                }
            }
        }

        SymbolButton {
            id: menuButton

            objectName: "menuButton"
            symbol: "ellipsis"
            text: "子项目操作"
            symbolSize: 14
            color: Theme.secondary
            enabled: !row.locked
            onClicked: menu.popup()
        }
    }

    RowMenuLoader {
        id: menu

        button: menuButton
        menu: "SubprojectRowMenu.qml"
        entry: row
    }
}
