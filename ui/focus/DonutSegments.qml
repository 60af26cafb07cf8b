import QtQuick
import VelmorFocus

// The slices of today's ring: one flat-ended arc per slice, 22 wide on a circle inset 15 from the
// square, from 12 o'clock clockwise.
Item {
    id: donut

    // [{key, color, startAngle, sweepAngle}] in degrees clockwise from 12 o'clock.
    property var slices: []

    readonly property real radius: Math.min(width, height) / 2 - 15

    Repeater {
        model: donut.slices.length

        RingArc {
            id: slice

            required property int index
            // Bound by position, so a new list of the same length keeps the arcs and only moves them.
            readonly property var modelData: donut.slices[index] ?? {
                "color": "transparent",
                "startAngle": 0,
                "sweepAngle": 0
            }

            anchors.fill: parent
            radius: donut.radius
            lineWidth: 22
            color: slice.modelData.color
            startAngle: -90 + slice.modelData.startAngle
            sweepAngle: slice.modelData.sweepAngle
        }
    }
}
