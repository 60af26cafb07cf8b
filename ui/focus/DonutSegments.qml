// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The slices of today's ring: one flat-ended arc per slice, 22 wide on a circle inset 15 from the
// square, from 12 o'clock clockwise.
Item {
    id: donut

    // Today's slices: their color, startAngle and sweepAngle, in degrees clockwise from 12
    // o'clock.
    property FigureListModel slices

    readonly property real radius: Math.min(width, height) / 2 - 15

    Repeater {
        model: donut.slices

        // The list changes its rows in place, so an arc stays and only moves.
        Item {
            id: slice

            required property color color
            required property real startAngle
            required property real sweepAngle

            anchors.fill: parent

            RingArc {
                anchors.fill: parent
                radius: donut.radius
                lineWidth: 22
                color: slice.color
                startAngle: -90 + slice.startAngle
                sweepAngle: slice.sweepAngle
            }
        }
    }
}
