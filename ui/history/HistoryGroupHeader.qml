// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// The header of a year (level 0), month (1) or day (2) group; a click opens or closes it.
AbstractButton {
    id: header

    required property int level
    required property string label
    required property bool expanded

    readonly property int indent: 18 + level * 16
    // The year's header carries the card's top margin.
    readonly property int topSpace: level === 0 ? 12 : 0

    objectName: "historyGroupHeader"
    text: label
    Accessible.name: label
    // Screen readers tell an open group from a closed one.
    Accessible.description: expanded ? "已展开" : "已收起"
    hoverEnabled: true
    padding: 0
    implicitHeight: topSpace + (level === 0 ? 40 : level === 1 ? 36 : 32)

    contentItem: Item {
        HistoryChevron {
            x: header.indent
            y: header.topSpace + (parent.height - header.topSpace - height) / 2
            expanded: header.expanded
            color: header.level === 2 ? Theme.secondary : Theme.ink
        }
        Label {
            x: header.indent + 20
            y: header.topSpace + (parent.height - header.topSpace - height) / 2
            text: header.label
            color: Theme.ink
            font.family: Theme.fontFamily
            font.pixelSize: header.level === 0 ? 20 : header.level === 1 ? 16 : 14
            font.weight: header.level === 0 ? Font.Bold : header.level === 1 ? Font.DemiBold
                                                                           : Font.Medium
        }
    }

    background: Rectangle {
        x: header.indent - 8
        y: header.topSpace + 2
        width: header.width - x - 10
        height: header.height - header.topSpace - 4
        radius: 7
        color: header.down ? Theme.inkAlpha(0.08)
                           : header.hovered ? Theme.inkAlpha(0.04)
                                            : "transparent"

        FocusFrame {
            shown: header.visualFocus
            radius: parent.radius + outset
        }
    }
}
