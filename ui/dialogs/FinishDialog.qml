// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// "记录收尾": offered when a session of at least a minute is finished early.
AlertDialog {
    id: dialog

    required property TimerModel model

    objectName: "finishDialog"
    cancelButton: cancel
    defaultButton: saveAndFinish
    title: "记录收尾"
    message: "记录本次实际专注时长。"
    shown: model.pendingFinish
    onDismissed: if (model.pendingFinish)
        model.pendingFinish = false
    // The note is what is asked for: the keyboard starts in its field.
    onOpened: wrapField.forceActiveFocus()

    TextField {
        id: wrapField

        objectName: "wrapField"
        width: parent.width
        implicitHeight: 36
        placeholderText: "做到哪 / 下一步（可稍后补）"
        Accessible.name: placeholderText
        text: dialog.model.wrapDraft
        onTextEdited: dialog.model.wrapDraft = text
        font.family: Theme.fontFamily
        font.pixelSize: Theme.subheadlineSize
        color: Theme.ink
        placeholderTextColor: Theme.secondary
        leftPadding: 10
        background: Rectangle {
            radius: 8
            border.width: wrapField.activeFocus ? 2 : 1
            border.color: wrapField.activeFocus ? Qt.rgba(0.0, 0.478, 1.0, 0.7)
                                                : Theme.inkAlpha(0.2)
        }
    }
    Item {
        width: 1
        height: 4
    }
    AlertButton {
        id: saveAndFinish

        objectName: "saveAndFinishButton"
        text: "保存并结束"
        kind: "prominent"
        onClicked: {
            dialog.model.commitEarly(dialog.model.wrapDraft);
            dialog.close();
        }
    }
    AlertButton {
        objectName: "laterButton"
        text: "稍后补"
        onClicked: {
            dialog.model.commitEarly();
            dialog.close();
        }
    }
    AlertButton {
        id: cancel

        objectName: "keepTimingButton"
        text: "继续计时"
        kind: "plain"
        onClicked: {
            dialog.model.start();
            dialog.close();
        }
    }
}
