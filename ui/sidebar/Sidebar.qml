// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelmorFocus

// The sidebar: the record error banner, the title, the page entries, the project list and the
// settings entry.
Rectangle {
    id: sidebar

    required property TimerModel model
    required property ProjectDraft projectDraft
    required property PageNavigation navigation

    implicitWidth: Theme.sidebarWidth
    color: Theme.pale

    SidebarRows {
        id: sidebarRows

        model: sidebar.model
        draft: sidebar.projectDraft
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 16
        anchors.bottomMargin: 12
        spacing: 6

        // Everything above the footer: it fills the height when there is room, and scrolls as
        // one when the screen is too short, so the footer's "设置" always stays in view.
        Flickable {
            id: upper

            objectName: "sidebarScroll"
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: width
            contentHeight: Math.max(height, upperColumn.implicitHeight)
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            ScrollBar.vertical: ScrollBar {
                policy: ScrollBar.AsNeeded
            }
            FocusInView {
                flickable: upper
            }

            ColumnLayout {
                id: upperColumn

                width: upper.width
                height: upper.contentHeight
                spacing: 6

                // Built when there is a message to show, not hidden from the start.
                Loader {
                    Layout.fillWidth: true
                    Layout.bottomMargin: 6
                    active: sidebar.model.recordError !== ""
                    visible: active
                    sourceComponent: Rectangle {
                        objectName: "recordErrorBanner"
                        implicitHeight: bannerContent.implicitHeight + 22
                        radius: 10
                        color: Qt.rgba(1.0, 0.231, 0.188, 0.12)
                        border.color: Qt.rgba(1.0, 0.231, 0.188, 0.25)

                        ColumnLayout {
                            id: bannerContent

                            anchors.fill: parent
                            anchors.margins: 11
                            spacing: 9

                            Label {
                                objectName: "recordErrorText"
                                Layout.fillWidth: true
                                text: sidebar.model.recordError
                                wrapMode: Text.Wrap
                                font.family: Theme.fontFamily
                                font.pixelSize: Theme.captionSize
                                color: Qt.rgba(0.62, 0.12, 0.09, 1)
                            }
                            Label {
                                objectName: "waitingSessionsText"
                                Layout.fillWidth: true
                                visible: text !== ""
                                text: sidebar.model.waitingText
                                wrapMode: Text.Wrap
                                font.family: Theme.fontFamily
                                font.pixelSize: Theme.captionSize
                                font.bold: true
                                color: Qt.rgba(0.62, 0.12, 0.09, 1)
                            }
                            Flow {
                                Layout.fillWidth: true
                                spacing: 6

                                WindowButton {
                                    objectName: "viewBackupButton"
                                    text: "查看备份"
                                    onClicked: sidebar.model.openStorageFolder()
                                }
                                WindowButton {
                                    objectName: "repairButton"
                                    visible: !sidebar.model.recordsReadable
                                    text: "修复…"
                                    onClicked: sidebar.model.prepareRepair()
                                }
                                WindowButton {
                                    objectName: "dismissRecordErrorButton"
                                    text: "我知道了"
                                    kind: "plain"
                                    onClicked: sidebar.model.recordError = ""
                                }
                            }
                        }
                    }
                }

                Label {
                    Layout.leftMargin: 8
                    Layout.topMargin: 2
                    Layout.bottomMargin: 10
                    text: "Velmor's Focus"
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.title2Size
                    font.bold: true
                    color: Theme.ink
                }

                NavButton {
                    objectName: "navFocus"
                    Layout.fillWidth: true
                    text: "开始专注"
                    symbol: "timer"
                    selected: sidebar.navigation.focusSelected
                    onClicked: sidebar.navigation.open(PageNavigation.Focus)
                }
                NavButton {
                    objectName: "navReview"
                    Layout.fillWidth: true
                    text: "每周复盘"
                    symbol: "chart.bar.xaxis"
                    selected: sidebar.model.showReview
                    onClicked: sidebar.navigation.open(PageNavigation.Review)
                }
                NavButton {
                    objectName: "navRecords"
                    Layout.fillWidth: true
                    text: "专注记录"
                    symbol: "list.bullet.rectangle"
                    selected: sidebar.model.showRecords
                    onClicked: sidebar.navigation.open(PageNavigation.Records)
                }

                Rectangle {
                    Layout.fillWidth: true
                    Layout.topMargin: 8
                    Layout.bottomMargin: 6
                    implicitHeight: 1
                    color: Theme.inkAlpha(0.12)
                }

                RowLayout {
                    Layout.fillWidth: true
                    Layout.leftMargin: 8

                    Label {
                        text: "项目"
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.captionSize
                        font.bold: true
                        color: Theme.secondary
                    }
                    Item {
                        Layout.fillWidth: true
                    }
                    SymbolButton {
                        objectName: "newProjectButton"
                        symbol: "plus.circle"
                        text: "新建项目"
                        symbolSize: 17
                        color: Theme.secondary
                        onClicked: sidebar.projectDraft.prepareNewProject()
                    }
                }

                ListView {
                    id: list

                    objectName: "projectList"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    // A few rows at least: on a short screen the sidebar scrolls instead.
                    Layout.minimumHeight: 150
                    clip: true
                    spacing: 2
                    boundsBehavior: Flickable.StopAtBounds
                    model: sidebarRows

                    ScrollBar.vertical: ScrollBar {
                        policy: ScrollBar.AsNeeded
                    }
                    FocusInView {
                        flickable: list
                    }

                    delegate: Loader {
                        id: entry

                        required property int index
                        required property bool isProject
                        required property string name
                        required property string detail
                        required property color dotColor
                        required property bool selected
                        required property bool collapsed
                        required property bool expandable
                        required property bool first
                        required property bool last
                        required property bool deletable

                        width: ListView.view.width
                        sourceComponent: isProject ? projectRow : subprojectRow

                        Component {
                            id: projectRow

                            ProjectRow {
                                rows: sidebarRows
                                index: entry.index
                                name: entry.name
                                detail: entry.detail
                                dotColor: entry.dotColor
                                selected: entry.selected
                                collapsed: entry.collapsed
                                expandable: entry.expandable
                                first: entry.first
                                last: entry.last
                                deletable: entry.deletable
                            }
                        }
                        Component {
                            id: subprojectRow

                            SubprojectRow {
                                rows: sidebarRows
                                locked: sidebar.model.started
                                index: entry.index
                                name: entry.name
                                dotColor: entry.dotColor
                                selected: entry.selected
                                first: entry.first
                                last: entry.last
                            }
                        }
                    }
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.inkAlpha(0.12)
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 8
            Layout.topMargin: 4

            Label {
                text: "VELMOR'S DAILY"
                font.family: Theme.fontFamily
                font.pixelSize: Theme.caption2Size
                font.letterSpacing: 1.2
                color: Theme.secondary
            }
            Item {
                Layout.fillWidth: true
            }
            WindowButton {
                objectName: "settingsButton"
                text: "设置"
                symbol: "gearshape"
                kind: "plain"
                selected: sidebar.model.showSettings
                onClicked: sidebar.navigation.open(PageNavigation.Settings)
            }
        }
    }
}
