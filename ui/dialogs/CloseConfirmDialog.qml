// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// Asked when the window is closed on a desktop without a tray item while a session is started:
// nothing could bring the window back, so closing it ends the application and the session.
AlertDialog {
    id: dialog

    required property MainWindowKeeper keeper

    objectName: "closeConfirmDialog"
    cancelButton: cancel
    defaultButton: quitNow
    title: "关闭窗口将退出 Velmor's Focus"
    message: "本次专注尚未结束，退出后不会被记录。"
    shown: keeper.confirmingClose
    onDismissed: if (keeper.confirmingClose)
        keeper.confirmingClose = false

    AlertButton {
        id: quitNow

        objectName: "quitButton"
        text: "退出"
        kind: "prominent"
        destructive: true
        onClicked: dialog.keeper.quit()
    }
    AlertButton {
        id: cancel

        objectName: "cancelCloseButton"
        text: "取消"
        kind: "plain"
        onClicked: dialog.close()
    }
}
