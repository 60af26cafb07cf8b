// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import VelmorFocus

// The sheet that restores records that failed to load: every source with what it holds, the
// chosen one against the largest, and the repair. It is open while model.pendingRepair; when the
// window dismisses it (a press outside, Escape), only pendingRepair is cleared.
Popup {
    id: sheet

    required property TimerModel model
    readonly property RepairSourceList sources: model.repairSources

    objectName: "repairSheet"
    anchors.centerIn: T.Overlay.overlay
    modal: true
    focus: true
    padding: 24
    contentWidth: 440
    closePolicy: Popup.CloseOnPressOutside | Popup.CloseOnEscape
    onClosed: {
        if (sheet.model.pendingRepair)
            sheet.model.pendingRepair = false;
    }
    Component.onCompleted: {
        if (sheet.model.pendingRepair)
            open();
    }

    Connections {
        target: sheet.model

        function onPendingRepairChanged() {
            if (sheet.model.pendingRepair)
                sheet.open();
            else
                sheet.close();
        }
    }

    background: Rectangle {
        radius: 12
        color: "white"
        border.width: 1
        border.color: Theme.inkAlpha(0.12)
    }

    contentItem: ColumnLayout {
        spacing: 14

        Label {
            text: "修复专注记录"
            font.family: Theme.fontFamily
            font.pixelSize: Theme.titleSize
            font.bold: true
            color: Theme.ink
        }
        Label {
            Layout.fillWidth: true
            text: "选择一份能读取的记录，写回记录文件和第二份副本。读取失败的原文留在备份中。"
            wrapMode: Text.Wrap
            font.family: Theme.fontFamily
            font.pixelSize: Theme.subheadlineSize
            color: Theme.secondary
        }
        Label {
            visible: sheet.sources.reading
            text: "正在读取备份…"
            font.family: Theme.fontFamily
            font.pixelSize: Theme.subheadlineSize
            color: Theme.secondary
        }

        ListView {
            id: list

            objectName: "repairSourceList"
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(contentHeight, 380)
            clip: true
            spacing: 8
            model: sheet.sources
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}

            delegate: Rectangle {
                id: row

                required property int index
                required property string label
                required property string detail
                required property bool usable
                required property string reason
                required property string countText
                required property string rangeText
                required property var newest
                readonly property bool chosen: sheet.sources.selectedRow === index

                width: ListView.view.width
                implicitHeight: rowColumn.implicitHeight + 20
                radius: 10
                color: chosen ? Qt.rgba(0.0, 0.478, 1.0, 0.07) : "white"
                border.width: chosen ? 2 : 1
                border.color: chosen ? Theme.blue : Theme.inkAlpha(0.14)
                opacity: usable ? 1 : 0.5

                TapHandler {
                    enabled: row.usable
                    onTapped: sheet.sources.selectedRow = row.index
                }

                ColumnLayout {
                    id: rowColumn

                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.margins: 10
                    spacing: 3

                    RadioButton {
                        id: choice

                        objectName: "repairSource"
                        // Drawn from the chosen row; a press chooses, it never toggles.
                        checkable: false
                        checked: row.chosen
                        enabled: row.usable
                        text: row.label
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.bodySize
                        font.bold: true
                        padding: 0
                        spacing: 10
                        Accessible.name: text
                        onClicked: sheet.sources.selectedRow = row.index

                        indicator: Rectangle {
                            x: choice.leftPadding
                            y: (choice.height - height) / 2
                            implicitWidth: 18
                            implicitHeight: 18
                            radius: 9
                            color: "white"
                            border.width: choice.checked ? 2 : 1
                            border.color: choice.checked
                                          ? Theme.blue : Theme.inkAlpha(0.35)

                            Rectangle {
                                anchors.centerIn: parent
                                width: 8
                                height: 8
                                radius: 4
                                color: Theme.blue
                                visible: choice.checked
                            }
                        }
                    }
                    Label {
                        Layout.leftMargin: 28
                        text: row.detail
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.captionSize
                        color: Theme.secondary
                    }
                    Label {
                        Layout.leftMargin: 28
                        visible: row.usable
                        text: row.countText
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.subheadlineSize
                        font.bold: true
                        color: Theme.ink
                    }
                    Label {
                        Layout.leftMargin: 28
                        visible: row.usable
                        text: row.rangeText
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.captionSize
                        color: Theme.ink
                    }
                    Repeater {
                        model: row.newest

                        Label {
                            required property string modelData

                            Layout.leftMargin: 28
                            Layout.fillWidth: true
                            text: modelData
                            elide: Text.ElideRight
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.captionSize
                            color: Theme.secondary
                        }
                    }
                    Label {
                        Layout.leftMargin: 28
                        visible: !row.usable
                        text: row.reason
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.captionSize
                        color: Theme.red
                    }
                }
            }
        }

        Label {
            objectName: "repairSummary"
            Layout.fillWidth: true
            visible: text !== ""
            text: sheet.sources.summary
            wrapMode: Text.Wrap
            font.family: Theme.fontFamily
            font.pixelSize: Theme.subheadlineSize
            color: Theme.ink
        }
        Label {
            objectName: "repairFailure"
            Layout.fillWidth: true
            visible: text !== ""
            text: sheet.sources.failure
            wrapMode: Text.Wrap
            font.family: Theme.fontFamily
            font.pixelSize: Theme.subheadlineSize
            color: Theme.red
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: 10

            Item {
                Layout.fillWidth: true
            }
            SettingsButton {
                objectName: "repairCancel"
                text: "取消"
                onClicked: sheet.model.pendingRepair = false
            }
            SettingsButton {
                objectName: "repairConfirm"
                text: "修复记录"
                prominent: true
                enabled: sheet.sources.canRepair
                onClicked: sheet.model.repairRecords()
            }
        }
    }
}
