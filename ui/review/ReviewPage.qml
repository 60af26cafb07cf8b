// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// The weekly review: key figures, the summary sentence, a stacked bar per day and the project
// shares of the selected week, all from the model's week figures.
Item {
    id: page

    required property TimerModel model

    Flickable {
        id: flick

        anchors.fill: parent
        contentWidth: width
        contentHeight: content.implicitHeight + 60
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        ScrollBar.vertical: ScrollBar {}
        FocusInView {
            flickable: flick
        }

        ColumnLayout {
            id: content

            x: 30
            y: 30
            width: flick.width - 60
            spacing: 22

            // Header ---------------------------------------------------------------------------
            RowLayout {
                Layout.fillWidth: true

                ColumnLayout {
                    spacing: 2

                    Label {
                        text: "REVIEW"
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.captionSize
                        font.letterSpacing: 2
                        color: Theme.secondary
                    }
                    Label {
                        text: "周结构"
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.largeTitleSize
                        font.bold: true
                        color: Theme.ink
                    }
                }
                Item {
                    Layout.fillWidth: true
                }
                RowLayout {
                    spacing: 10

                    ReviewWeekButton {
                        objectName: "reviewPrevious"
                        symbol: "chevron.left"
                        Accessible.name: "上一周"
                        onClicked: page.model.selectWeek(page.model.selectedWeekOffset - 1)
                    }
                    Label {
                        objectName: "reviewWeekLabel"
                        text: page.model.weekLabel
                        font.family: Theme.monoFontFamily
                        font.pixelSize: Theme.subheadlineSize
                        color: Theme.ink
                    }
                    ReviewWeekButton {
                        objectName: "reviewNext"
                        symbol: "chevron.right"
                        Accessible.name: "下一周"
                        onClicked: page.model.selectWeek(page.model.selectedWeekOffset + 1)
                    }
                }
            }

            // Key figures ----------------------------------------------------------------------
            Row {
                id: metrics

                readonly property real cardWidth: (width - 2 * spacing) / 3

                Layout.fillWidth: true
                spacing: 12

                ReviewMetricCard {
                    width: metrics.cardWidth
                    title: "本周专注"
                    symbol: "clock"
                    value: page.model.weekTotalText
                    valueName: "reviewTotal"
                }
                ReviewMetricCard {
                    width: metrics.cardWidth
                    title: "目标达成"
                    symbol: "target"
                    value: page.model.weekGoalText
                    valueName: "reviewGoal"
                }
                ReviewMetricCard {
                    width: metrics.cardWidth
                    title: "最长单段"
                    symbol: "hourglass"
                    value: page.model.weekLongestText
                    valueName: "reviewLongest"
                }
            }

            // Summary --------------------------------------------------------------------------
            Rectangle {
                Layout.fillWidth: true
                implicitHeight: summary.implicitHeight + 32
                color: Theme.card
                radius: 12

                Label {
                    id: summary

                    objectName: "reviewSummary"
                    anchors.fill: parent
                    anchors.margins: 16
                    text: page.model.weekSummary
                    wrapMode: Text.Wrap
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.subheadlineSize
                    color: Theme.ink
                }
            }

            // Chart ----------------------------------------------------------------------------
            Rectangle {
                Layout.fillWidth: true
                implicitHeight: chart.implicitHeight + 40
                color: Theme.card
                radius: 14

                ColumnLayout {
                    id: chart

                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 14

                    Label {
                        text: "每天由哪些项目组成"
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.headlineSize
                        font.bold: true
                        color: Theme.ink
                    }
                    Row {
                        id: days

                        readonly property real columnWidth: (width - 6 * spacing) / 7

                        Layout.fillWidth: true
                        spacing: 12

                        Repeater {
                            model: page.model.weekColumns

                            ReviewDayColumn {
                                objectName: "reviewColumn"
                                width: days.columnWidth
                            }
                        }
                    }
                    Repeater {
                        model: page.model.weekLegend

                        ReviewLegendRow {
                            objectName: "reviewLegendRow"
                            Layout.fillWidth: true
                        }
                    }
                }
            }

            Label {
                text: "统计基于已完成的专注记录。"
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                color: Theme.secondary
            }
        }
    }
}
