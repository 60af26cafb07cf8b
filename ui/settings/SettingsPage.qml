// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// The reminder sound and the daily goal. Every control writes the model at once.
Item {
    id: page

    required property TimerModel model

    SettingsForm {
        id: form

        model: page.model
    }

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
            spacing: 20

            SettingsText {
                text: "设置"
                font.pixelSize: Theme.largeTitleSize
                font.bold: true
            }
            SettingsText {
                text: "调整结束提醒和每日专注目标。"
                color: Theme.secondary
            }

            SettingsCard {
                Layout.fillWidth: true
                title: "结束提醒"
                symbol: "bell"
                spacing: 12

                RowLayout {
                    spacing: 10

                    SettingsText {
                        text: "铃声"
                    }
                    SettingsPicker {
                        objectName: "settingsSound"
                        implicitWidth: 170
                        model: form.soundOptions
                        textRole: "label"
                        valueRole: "value"
                        currentIndex: form.soundIndex
                        Accessible.name: "铃声"
                        onActivated: index => form.chooseSound(index)
                    }
                    SettingsButton {
                        objectName: "settingsPreview"
                        text: "试听"
                        enabled: form.canPreview
                        onClicked: page.model.play(false)
                    }
                    SettingsButton {
                        objectName: "settingsChooseAudio"
                        text: "选择音频…"
                        onClicked: page.model.chooseAudio()
                    }
                }
                SettingsText {
                    text: "完成后会弹出置顶提醒。"
                    font.pixelSize: Theme.captionSize
                    color: Theme.secondary
                }
            }

            SettingsCard {
                Layout.fillWidth: true
                title: "每日专注目标"
                symbol: "target"
                spacing: 14

                SettingsStepper {
                    Layout.fillWidth: true
                    Layout.maximumWidth: 360
                    text: form.goalText
                    canDecrease: form.canDecreaseGoal
                    canIncrease: form.canIncreaseGoal
                    onDecrease: form.decreaseGoal()
                    onIncrease: form.increaseGoal()
                }
                SettingsText {
                    text: "当天累计专注达到此时长后，计为目标达成。"
                    font.pixelSize: Theme.captionSize
                    color: Theme.secondary
                }
            }
        }
    }
}
