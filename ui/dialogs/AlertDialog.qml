// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import VelmorFocus

// A modal alert in the middle of the window: a title, a message, then the items of the
// particular alert (fields and a column of buttons). It opens while `shown` holds and reports
// every close, by a button, by Escape or by the window, through `dismissed`, so the owner clears
// its flag. As desktop alerts do, Return presses the default button, even from a text field, and
// Escape the cancel button when there is one.
Dialog {
    id: alert

    property bool shown: false
    property string message
    property T.AbstractButton cancelButton
    property T.AbstractButton defaultButton
    default property alias body: bodyColumn.data

    signal dismissed

    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: 340
    modal: true
    focus: true
    closePolicy: Popup.NoAutoClose
    padding: 22
    topPadding: 22
    bottomPadding: 18

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown)
        open()
    onAboutToHide: dismissed()

    Shortcut {
        sequence: StandardKey.Cancel
        enabled: alert.opened
        onActivated: alert.cancelButton ? alert.cancelButton.clicked() : alert.close()
    }
    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: alert.opened && alert.defaultButton !== null && alert.defaultButton.enabled
        onActivated: alert.defaultButton.clicked()
    }

    header: null
    footer: null

    contentItem: Column {
        spacing: 14

        Label {
            width: parent.width
            text: alert.title
            visible: text !== ""
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.family: Theme.fontFamily
            font.pixelSize: Theme.headlineSize
            font.bold: true
            color: Theme.ink
        }
        Label {
            width: parent.width
            text: alert.message
            visible: text !== ""
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.family: Theme.fontFamily
            font.pixelSize: Theme.subheadlineSize
            color: Theme.secondary
        }
        Column {
            id: bodyColumn

            width: parent.width
            topPadding: 4
            spacing: 8
        }
    }

    background: Rectangle {
        radius: 14
        color: "white"
        border.color: Theme.inkAlpha(0.14)
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0.12, 0.16, 0.22, 0.28)
    }
}
