// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelmorFocus

// Today's focus by project and subproject: a ring of slices with today's total in the middle and
// a legend of minutes and shares.
Rectangle {
    id: card

    required property TimerModel model

    readonly property bool empty: model.todayChartEmpty

    implicitHeight: content.implicitHeight + 36
    radius: 14
    color: Theme.card

    ColumnLayout {
        id: content

        anchors.fill: parent
        anchors.margins: 18
        spacing: 16

        RowLayout {
            Layout.fillWidth: true

            Label {
                text: "今日专注结构"
                font.family: Theme.fontFamily
                font.pixelSize: Theme.headlineSize
                font.bold: true
                color: Theme.ink
            }
            Item {
                Layout.fillWidth: true
            }
            Label {
                text: "按项目占比"
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                color: Theme.secondary
            }
        }

        Label {
            objectName: "todayEmptyText"
            Layout.fillWidth: true
            Layout.minimumHeight: 56
            visible: card.empty
            text: "今天还没有专注记录，开始计时后这里会展示各项目的时间占比。"
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignLeft
            verticalAlignment: Text.AlignTop
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            color: Theme.secondary
        }

        // Built once today has a record: until then it would only hide, and its figures need a
        // font face of their own.
        Loader {
            Layout.fillWidth: true
            active: !card.empty
            visible: active
            sourceComponent: RowLayout {
                spacing: 24

                Item {
                    objectName: "todayRing"
                    Layout.alignment: Qt.AlignTop
                    implicitWidth: 174
                    implicitHeight: 174

                    // The background circle, 22 wide on the circle inscribed in the square; the arc
                    // is grown to hold the half of the width that lies outside the square. Its tint
                    // is that of two circles of 8 % and 12 % laid one over the other, drawn once:
                    // each painted circle keeps two full-size images in memory.
                    RingArc {
                        objectName: "todayTrack"
                        anchors.fill: parent
                        anchors.margins: -11
                        radius: 87
                        lineWidth: 22
                        color: Qt.rgba(0.0, 0.478, 1.0, 1 - 0.92 * 0.88)
                    }

                    DonutSegments {
                        objectName: "todaySegments"
                        anchors.fill: parent
                        slices: card.model.todaySlices
                    }

                    Column {
                        anchors.centerIn: parent
                        spacing: 4

                        Label {
                            objectName: "todayRingTotal"
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: card.model.todayDisplay
                            font.family: Theme.monoFontFamily
                            font.pixelSize: Theme.title2Size
                            font.bold: true
                            color: Theme.ink
                        }
                        Label {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: "今日专注"
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.captionSize
                            color: Theme.secondary
                        }
                    }
                }

                ColumnLayout {
                    objectName: "todayLegend"
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignVCenter
                    spacing: 10

                    Repeater {
                        model: card.model.todaySlices

                        RowLayout {
                            id: legendRow

                            required property string key
                            required property color color
                            required property string text

                            objectName: "legendRow"
                            Layout.fillWidth: true
                            spacing: 8

                            Rectangle {
                                implicitWidth: 9
                                implicitHeight: 9
                                radius: 4.5
                                color: legendRow.color
                            }
                            Label {
                                objectName: "legendKey"
                                Layout.fillWidth: true
                                text: legendRow.key
                                elide: Text.ElideRight
                                maximumLineCount: 1
                                font.family: Theme.fontFamily
                                font.pixelSize: Theme.captionSize
                                color: Theme.ink
                            }
                            Label {
                                objectName: "legendValue"
                                Layout.leftMargin: 6
                                text: legendRow.text
                                font.family: Theme.monoFontFamily
                                font.pixelSize: Theme.captionSize
                                color: Theme.secondary
                            }
                        }
                    }
                }
            }
        }
    }
}
