// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelmorFocus

// The focus page: today's date and total, the session card with the ring and the controls, and
// today's distribution.
ScrollView {
    id: page

    required property TimerModel model

    contentWidth: availableWidth
    clip: true

    FocusPageState {
        id: focusState

        model: page.model
    }
    FocusInView {
        flickable: page.contentItem
    }

    Item {
        width: page.availableWidth
        implicitHeight: column.implicitHeight + 56

        ColumnLayout {
            id: column

            x: 28
            y: 28
            width: parent.width - 56
            spacing: 22

            RowLayout {
                Layout.fillWidth: true

                Label {
                    objectName: "dateHeader"
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignBottom
                    text: focusState.dateText
                    elide: Text.ElideRight
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.titleSize
                    font.bold: true
                    color: Theme.ink
                }
                ColumnLayout {
                    Layout.alignment: Qt.AlignBottom
                    spacing: 0

                    Label {
                        Layout.alignment: Qt.AlignRight
                        text: "今日专注"
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.captionSize
                        color: Theme.secondary
                    }
                    Label {
                        objectName: "todayTotal"
                        Layout.alignment: Qt.AlignRight
                        text: page.model.todayDisplay
                        font.family: Theme.monoFontFamily
                        font.pixelSize: Theme.title2Size
                        font.bold: true
                        color: Theme.ink
                    }
                }
            }

            Rectangle {
                objectName: "sessionCard"
                Layout.fillWidth: true
                implicitHeight: Math.max(ring.Layout.preferredHeight, controls.implicitHeight) + 48
                radius: 18
                color: Theme.card

                RowLayout {
                    anchors.fill: parent
                    anchors.margins: 24
                    spacing: 26

                    FocusRing {
                        id: ring

                        objectName: "sessionRing"
                        // Narrow windows give the controls room by shrinking the ring a little.
                        Layout.preferredWidth: Math.max(190, Math.min(240, parent.width * 0.4))
                        Layout.preferredHeight: Layout.preferredWidth
                        Layout.alignment: Qt.AlignVCenter
                        model: page.model
                        pageState: focusState
                        // What a screen reader reads for the ring: the time left as text.
                        Accessible.role: Accessible.StaticText
                        Accessible.name: "剩余时间 " + page.model.display
                    }

                    ColumnLayout {
                        id: controls

                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignVCenter
                        spacing: 10

                        Label {
                            text: "专注计时"
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.title2Size
                            font.bold: true
                            color: Theme.ink
                        }
                        Label {
                            objectName: "attribution"
                            Layout.fillWidth: true
                            Layout.bottomMargin: 4
                            text: focusState.attribution
                            elide: Text.ElideRight
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.subheadlineSize
                            color: Theme.secondary
                        }
                        TextField {
                            id: titleField

                            objectName: "titleField"
                            Layout.fillWidth: true
                            implicitHeight: 38
                            placeholderText: "这一轮要做什么？"
                            Accessible.name: placeholderText
                            text: page.model.title
                            enabled: !page.model.started
                            onTextEdited: page.model.title = text
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.bodySize
                            color: Theme.ink
                            placeholderTextColor: Theme.secondary
                            leftPadding: 12
                            rightPadding: 12
                            opacity: enabled ? 1 : 0.55
                            background: Rectangle {
                                radius: 9
                                color: titleField.enabled ? "white" : Theme.inkAlpha(0.04)
                                border.width: titleField.activeFocus ? 2 : 1
                                border.color: titleField.activeFocus ? Qt.rgba(0.0, 0.478, 1.0, 0.7)
                                                                     : Theme.inkAlpha(0.2)
                            }
                        }

                        Label {
                            Layout.topMargin: 4
                            text: "自定义时长"
                            font.family: Theme.fontFamily
                            font.pixelSize: Theme.captionSize
                            font.bold: true
                            color: Theme.secondary
                        }
                        Row {
                            objectName: "durationPickers"
                            spacing: 10
                            enabled: !page.model.started

                            DurationPicker {
                                objectName: "hoursPicker"
                                caption: "时"
                                choices: focusState.choices(100)
                                value: page.model.hours
                                onChosen: value => page.model.hours = value
                            }
                            DurationPicker {
                                objectName: "minutesPicker"
                                caption: "分"
                                choices: focusState.choices(60)
                                value: page.model.minutes
                                onChosen: value => page.model.minutes = value
                            }
                            DurationPicker {
                                objectName: "secondsPicker"
                                caption: "秒"
                                choices: focusState.choices(60)
                                value: page.model.seconds
                                onChosen: value => page.model.seconds = value
                            }
                        }

                        Flow {
                            Layout.fillWidth: true
                            Layout.topMargin: 8
                            spacing: 8

                            WindowButton {
                                objectName: "stopButton"
                                text: "中止"
                                symbol: "stop.fill"
                                large: true
                                onClicked: page.model.requestReset()
                            }
                            WindowButton {
                                objectName: "startPauseButton"
                                text: focusState.startLabel
                                symbol: page.model.running ? "pause.fill" : "play.fill"
                                kind: "prominent"
                                large: true
                                ToolTip.text: "空格"
                                ToolTip.visible: hovered
                                ToolTip.delay: 800
                                enabled: focusState.startEnabled
                                onClicked: focusState.startOrPause()
                            }
                            WindowButton {
                                objectName: "finishButton"
                                text: "结束并记录"
                                large: true
                                visible: page.model.started
                                onClicked: page.model.finishEarly()
                            }
                        }
                    }
                }
            }

            TodayCard {
                objectName: "todayCard"
                Layout.fillWidth: true
                model: page.model
            }
        }
    }
}
