// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// The main window. It is drawn light whatever the system's appearance.
ApplicationWindow {
    id: window

    required property TimerModel model
    required property ProjectDraft projectDraft
    required property MainWindowKeeper keeper

    title: "Velmor's Focus"
    width: 900
    height: 840
    minimumWidth: keeper.minimumSize.width
    minimumHeight: keeper.minimumSize.height
    visible: true
    color: Theme.canvas
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize

    palette.window: Theme.canvas
    palette.windowText: Theme.ink
    palette.base: "white"
    palette.alternateBase: Theme.pale
    palette.text: Theme.ink
    palette.button: "white"
    palette.buttonText: Theme.ink
    palette.highlight: Theme.blue
    palette.highlightedText: "white"
    palette.placeholderText: Theme.secondary
    palette.light: "white"
    palette.midlight: Theme.pale
    palette.mid: Theme.inkAlpha(0.3)
    palette.dark: Theme.inkAlpha(0.5)
    palette.shadow: Qt.rgba(0.12, 0.16, 0.22, 1)
    palette.toolTipBase: "white"
    palette.toolTipText: Theme.ink

    onClosing: close => close.accepted = keeper.mayClose()

    // A desktop application's own keys: Ctrl+Q quits as the tray's "退出" does, Ctrl+W closes
    // the window as its title bar does.
    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: window.keeper.quit()
    }
    Shortcut {
        sequence: "Ctrl+W"
        onActivated: window.close()
    }

    TimerView {
        anchors.fill: parent
        model: window.model
        projectDraft: window.projectDraft
    }

    LazyPopup {
        needed: window.keeper.confirmingClose
        popup: "CloseConfirmDialog.qml"
        properties: ({"keeper": window.keeper})
    }
}
