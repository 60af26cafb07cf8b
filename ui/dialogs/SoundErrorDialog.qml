// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// "音频提示": a reminder sound could not be played or imported.
AlertDialog {
    id: dialog

    required property TimerModel model

    objectName: "soundErrorDialog"
    defaultButton: ok
    title: "音频提示"
    message: model.error
    shown: model.error !== ""
    onDismissed: if (model.error !== "")
        model.error = ""

    AlertButton {
        id: ok

        objectName: "okButton"
        text: "好"
        kind: "prominent"
        onClicked: dialog.close()
    }
}
