// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// Asked before quitting drops the sessions kept while writing is locked.
AlertDialog {
    id: dialog

    required property TimerModel model

    objectName: "quitDialog"
    cancelButton: cancel
    title: "退出 Velmor's Focus？"
    message: model.waitingText + "现在退出，这些专注将不会被记录。"
    shown: model.pendingQuit
    onDismissed: if (model.pendingQuit)
        model.pendingQuit = false

    AlertButton {
        objectName: "quitAnywayButton"
        text: "仍然退出"
        destructive: true
        onClicked: {
            dialog.close();
            dialog.model.confirmQuit();
        }
    }
    AlertButton {
        id: cancel

        objectName: "keepRunningButton"
        text: "取消"
        kind: "plain"
        onClicked: dialog.close()
    }
}
