// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// "重置当前计时？": asked before a session of more than a minute is thrown away.
AlertDialog {
    id: dialog

    required property TimerModel model

    objectName: "resetDialog"
    cancelButton: cancel
    defaultButton: finishAndRecord
    title: "重置当前计时？"
    message: "已专注超过 1 分钟。"
    shown: model.pendingReset
    onDismissed: if (model.pendingReset)
        model.pendingReset = false

    AlertButton {
        id: finishAndRecord

        objectName: "finishAndRecordButton"
        text: "结束并记录"
        kind: "prominent"
        onClicked: {
            dialog.close();
            dialog.model.finishEarly();
        }
    }
    AlertButton {
        objectName: "discardButton"
        text: "丢弃这段"
        destructive: true
        onClicked: {
            dialog.close();
            dialog.model.reset();
        }
    }
    AlertButton {
        id: cancel

        objectName: "keepTimingButton"
        text: "继续计时"
        kind: "plain"
        onClicked: {
            dialog.close();
            dialog.model.start();
        }
    }
}
