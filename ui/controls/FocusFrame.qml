// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The keyboard focus ring of a control, drawn just outside the item it is put in: shown while
// the control has the keyboard from Tab, Backtab or an arrow key, not after a click.
Rectangle {
    property bool shown: false
    // How far the ring stands outside its item.
    property real outset: 3

    objectName: "focusFrame"
    anchors.fill: parent
    anchors.margins: -outset
    visible: shown
    color: "transparent"
    border.width: 2
    border.color: Theme.focusRing
}
