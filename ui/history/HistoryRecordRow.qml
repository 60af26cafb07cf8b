// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// One focus record: project, title and badge; the wrap-up note; start and end; the duration and
// the delete button.
Item {
    id: record

    required property int leftInset
    required property int rightInset
    required property string recordId
    required property string title
    required property string projectText
    required property color projectColor
    required property color projectTextColor
    required property bool hasWrapUp
    required property string wrapUp
    required property string timeText
    required property string durationText
    required property bool early

    signal deleteRequested

    implicitHeight: card.implicitHeight + 8

    Rectangle {
        id: card
        x: record.leftInset
        y: 4
        width: record.width - record.leftInset - record.rightInset
        implicitHeight: content.implicitHeight + 24
        height: implicitHeight
        radius: 8
        color: Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.04)

        RowLayout {
            id: content
            anchors.fill: parent
            anchors.margins: 12
            spacing: 12

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 5

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 6

                    // Dot, project and badge stay on the title's first line when a long title wraps.
                    Rectangle {
                        Layout.alignment: Qt.AlignTop
                        Layout.topMargin: 8
                        Layout.preferredWidth: 7
                        Layout.preferredHeight: 7
                        radius: 3.5
                        color: record.projectColor
                    }
                    Label {
                        objectName: "historyRecordProject"
                        Layout.alignment: Qt.AlignTop
                        Layout.topMargin: 3
                        Layout.maximumWidth: 160
                        text: record.projectText
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        color: record.projectTextColor
                        font.family: Theme.fontFamily
                        font.pixelSize: 12
                    }
                    TextEdit {
                        objectName: "historyRecordTitle"
                        Layout.alignment: Qt.AlignTop
                        Layout.fillWidth: true
                        Layout.maximumWidth: implicitWidth
                        text: record.title
                        textFormat: TextEdit.PlainText
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.Wrap
                        color: Theme.ink
                        selectionColor: Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.3)
                        selectedTextColor: Theme.ink
                        font.family: Theme.fontFamily
                        font.pixelSize: 15
                        font.weight: Font.DemiBold
                    }
                    Rectangle {
                        visible: record.early
                        Layout.alignment: Qt.AlignTop
                        Layout.topMargin: 3
                        Layout.preferredWidth: badge.implicitWidth + 10
                        Layout.preferredHeight: badge.implicitHeight + 4
                        radius: 4
                        color: Qt.rgba(Theme.orange.r, Theme.orange.g, Theme.orange.b, 0.12)

                        Label {
                            id: badge
                            objectName: "historyEarlyBadge"
                            anchors.centerIn: parent
                            text: "提前结束"
                            color: Theme.warningText
                            font.family: Theme.fontFamily
                            font.pixelSize: 10
                            font.weight: Font.DemiBold
                        }
                    }
                }

                Label {
                    objectName: "historyRecordWrapUp"
                    Layout.fillWidth: true
                    text: record.hasWrapUp ? record.wrapUp : "收尾未补"
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    color: Theme.secondary
                    // Set apart from a written note by its slant: faded, it would not be legible.
                    font.italic: !record.hasWrapUp
                    font.family: Theme.fontFamily
                    font.pixelSize: 12
                }

                Label {
                    objectName: "historyRecordTime"
                    text: record.timeText
                    color: Theme.secondary
                    font.family: Theme.fontFamily
                    font.pixelSize: 12
                }
            }

            Label {
                objectName: "historyRecordDuration"
                Layout.alignment: Qt.AlignVCenter
                text: record.durationText
                color: record.projectTextColor
                font.family: "Noto Sans Mono CJK SC"
                font.pixelSize: 14
                font.weight: Font.DemiBold
            }

            AbstractButton {
                id: trash
                objectName: "historyDeleteButton"
                Layout.alignment: Qt.AlignVCenter
                implicitWidth: 30
                implicitHeight: 30
                hoverEnabled: true
                Accessible.role: Accessible.Button
                Accessible.name: "删除专注记录：" + record.title
                ToolTip.text: "删除这条专注记录"
                ToolTip.visible: hovered
                ToolTip.delay: 500
                onClicked: record.deleteRequested()

                contentItem: Item {
                    HistoryTrashIcon {
                        anchors.centerIn: parent
                        color: Theme.red
                    }
                }
                background: Rectangle {
                    radius: 15
                    color: trash.down ? Qt.rgba(Theme.red.r, Theme.red.g, Theme.red.b, 0.16)
                                      : trash.hovered ? Qt.rgba(Theme.red.r, Theme.red.g, Theme.red.b, 0.08)
                                                      : "transparent"

                    FocusFrame {
                        shown: trash.visualFocus
                        radius: parent.radius + outset
                    }
                }
            }
        }
    }
}
