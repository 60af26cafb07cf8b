// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelmorFocus

// One project of the sidebar: the fold chevron, the select button with today's minutes, and the
// project's menu.
Rectangle {
    id: row

    required property SidebarRows rows
    required property int index
    required property string name
    required property string detail
    required property color dotColor
    required property bool selected
    required property bool collapsed
    required property bool expandable
    required property bool first
    required property bool last
    required property bool deletable

    objectName: "projectRow:" + name
    implicitHeight: 48
    radius: 9
    color: selected ? Qt.rgba(1, 1, 1, 0.8)
                    : hover.hovered ? Qt.rgba(1, 1, 1, 0.4) : "transparent"

    HoverHandler {
        id: hover
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 2
        anchors.rightMargin: 4
        spacing: 2

        SymbolButton {
            objectName: "chevronButton"
            symbol: row.collapsed ? "chevron.right" : "chevron.down"
            text: row.collapsed ? "展开" : "收起"
            symbolSize: 12
            implicitWidth: 22
            color: Theme.secondary
            enabled: row.expandable
            onClicked: row.rows.toggle(row.index)
        }

        AbstractButton {
            id: selectButton

            objectName: "selectButton"
            Layout.fillWidth: true
            Layout.fillHeight: true
            text: row.name
            Accessible.name: row.name
            Accessible.role: Accessible.Button
            onClicked: row.rows.select(row.index)

            contentItem: RowLayout {
                spacing: 9

                Rectangle {
                    implicitWidth: 10
                    implicitHeight: 10
                    radius: 5
                    color: row.dotColor
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 1

                    Label {
                        Layout.fillWidth: true
                        text: row.name
                        elide: Text.ElideRight
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.bodySize
                        font.bold: row.selected
                        color: Theme.ink
                    }
                    Label {
                        objectName: "todayMinutes"
                        Layout.fillWidth: true
                        text: row.detail
                        elide: Text.ElideRight
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.caption2Size
                        color: Theme.secondary
                    }
                }
                WindowSymbol {
                    objectName: "checkmark"
                    visible: row.selected
                    name: "checkmark"
                    size: 13
                    lineWidth: 2.2
                    color: Theme.blue
                }
            }
            background: Item {
                FocusFrame {
                    shown: selectButton.visualFocus
                    outset: 1
                    radius: 9
                }
            }
        }

        SymbolButton {
            id: menuButton

            objectName: "menuButton"
            symbol: "ellipsis"
            text: "项目操作"
            symbolSize: 15
            color: Theme.secondary
            onClicked: menu.popup()
        }
    }

    RowMenuLoader {
        id: menu

        button: menuButton
        menu: "ProjectRowMenu.qml"
        entry: row
    }
}
