// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// The sheet that creates and changes projects and subprojects. It is open while draft.showing;
// when the window dismisses it (a press outside), only showing is cleared.
Popup {
    id: editor

    required property ProjectDraft draft

    function cancel() {
        draft.closeProjectEditor();
    }

    function confirm() {
        if (draft.canConfirm)
            draft.save();
    }

    anchors.centerIn: Overlay.overlay
    modal: true
    focus: true
    padding: 24
    contentWidth: 360
    closePolicy: Popup.CloseOnPressOutside
    onOpened: nameField.forceActiveFocus()
    onClosed: {
        if (draft.showing)
            draft.showing = false;
    }
    Component.onCompleted: {
        if (draft.showing)
            open();
    }

    Connections {
        target: editor.draft

        function onShowingChanged() {
            if (editor.draft.showing)
                editor.open();
            else
                editor.close();
        }
    }

    Shortcut {
        sequence: "Escape"
        enabled: editor.visible
        onActivated: editor.cancel()
    }
    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: editor.visible && editor.draft.canConfirm
        onActivated: editor.confirm()
    }

    background: Rectangle {
        radius: 12
        color: "white"
        border.width: 1
        border.color: Theme.inkAlpha(0.12)
    }

    contentItem: ColumnLayout {
        spacing: 18

        Label {
            objectName: "editorTitle"
            text: editor.draft.title
            font.family: Theme.fontFamily
            font.pixelSize: Theme.largeTitleSize
            font.bold: true
            color: Theme.ink
        }

        TextField {
            id: nameField

            objectName: "editorName"
            Layout.fillWidth: true
            placeholderText: "项目名称"
            text: editor.draft.name
            font.family: Theme.fontFamily
            font.pixelSize: Theme.bodySize
            color: Theme.ink
            selectByMouse: true
            leftPadding: 10
            rightPadding: 10
            Accessible.name: placeholderText

            background: Rectangle {
                implicitHeight: 34
                radius: 7
                color: "white"
                border.width: nameField.activeFocus ? 2 : 1
                border.color: nameField.activeFocus
                              ? Theme.blue : Theme.inkAlpha(0.2)
            }
            onTextEdited: editor.draft.name = text
            onAccepted: editor.confirm()
        }

        Label {
            visible: editor.draft.showsPalette
            text: "项目颜色"
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            color: Theme.secondary
        }

        Grid {
            objectName: "editorPalette"
            visible: editor.draft.showsPalette
            columns: 8
            columnSpacing: 13
            rowSpacing: 14

            Repeater {
                model: editor.draft.palette

                EditorSwatch {
                    required property var modelData
                    required property int index

                    objectName: "editorSwatch"
                    swatchColor: modelData.color
                    colorName: modelData.name
                    chosen: editor.draft.colorIndex === index
                    onClicked: editor.draft.pickPaletteColor(index)
                }
            }
        }

        RowLayout {
            objectName: "editorCustomRow"
            Layout.fillWidth: true
            visible: editor.draft.showsPalette

            EditorColorPicker {
                label: "自选颜色"
                color: editor.draft.customColor
                onPicked: color => editor.draft.pickCustomColor(color)
            }
            Item {
                Layout.fillWidth: true
            }
            Rectangle {
                objectName: "editorPreview"
                implicitWidth: 20
                implicitHeight: 20
                radius: 10
                color: editor.draft.previewColor
                border.width: 1
                border.color: Qt.rgba(0, 0, 0, 0.08)
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: 10

            Item {
                Layout.fillWidth: true
            }
            SettingsButton {
                objectName: "editorCancel"
                text: "取消"
                onClicked: editor.cancel()
            }
            SettingsButton {
                objectName: "editorConfirm"
                text: editor.draft.confirmLabel
                prominent: true
                enabled: editor.draft.canConfirm
                onClicked: editor.confirm()
            }
        }
    }
}
