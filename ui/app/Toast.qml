// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// Shows the model's short confirmation ("已记录25分钟专注。" or the one-minute message) for
// three seconds, then clears it.
Rectangle {
    id: toast

    required property TimerModel model

    readonly property string message: model.toast

    visible: message !== ""
    implicitWidth: label.implicitWidth + 44
    implicitHeight: 42
    radius: height / 2
    color: Qt.rgba(0.13, 0.17, 0.23, 0.92)

    function show() {
        hideTimer.restart();
        fadeIn.restart();
    }

    onMessageChanged: message !== "" ? show() : hideTimer.stop()
    Component.onCompleted: if (message !== "")
        show()

    Label {
        id: label

        objectName: "toastText"
        anchors.centerIn: parent
        text: toast.message
        font.family: Theme.fontFamily
        font.pixelSize: Theme.bodySize
        color: "white"
    }

    Timer {
        id: hideTimer

        objectName: "toastTimer"
        interval: 3000
        onTriggered: toast.model.toast = ""
    }

    NumberAnimation {
        id: fadeIn

        target: toast
        property: "opacity"
        from: 0
        to: 1
        duration: 160
    }
}
