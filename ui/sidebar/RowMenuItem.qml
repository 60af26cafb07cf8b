// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// An entry of a row menu; a destructive entry is drawn in red.
MenuItem {
    id: item

    property bool destructive: false

    Accessible.name: text
    implicitHeight: 30
    leftPadding: 14
    rightPadding: 14
    font.family: Theme.fontFamily
    font.pixelSize: Theme.subheadlineSize

    contentItem: Label {
        text: item.text
        font: item.font
        opacity: item.enabled ? 1 : 0.35
        color: item.highlighted && item.enabled ? "white" : item.destructive ? Theme.red : Theme.ink
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        x: 5
        width: item.width - 10
        radius: 5
        color: item.highlighted && item.enabled ? (item.destructive ? Theme.red : Theme.blue)
                                                : "transparent"
    }
}
