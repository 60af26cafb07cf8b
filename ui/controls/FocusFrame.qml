// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The keyboard focus ring of a control, drawn just outside the item it is put in: shown while
// the control has the keyboard from Tab, Backtab or an arrow key, not after a click. The ring is
// made only while it shows: a window has dozens of controls and at most one ring.
Loader {
    id: frame

    property bool shown: false
    // How far the ring stands outside its item.
    property real outset: 3
    property real radius: 0

    objectName: "focusFrame"
    anchors.fill: parent
    anchors.margins: -outset
    visible: shown
    active: shown

    sourceComponent: Rectangle {
        color: "transparent"
        radius: frame.radius
        border.width: 2
        border.color: Theme.focusRing
    }
}
