import QtQuick
import VelmorFocus

// The slices of today's ring: one flat-ended arc per slice, 22 wide on a circle inset 15 from the
// square, from 12 o'clock clockwise.
Item {
    id: donut

    // [{key, color, start, end}] with start and end as fractions of the full turn.
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
                "start": 0,
                "end": 0
            }

            anchors.fill: parent
            radius: donut.radius
            lineWidth: 22
            color: slice.modelData.color
            startAngle: -90 + Math.round(720 * slice.modelData.start) / 2
            sweepAngle: Math.round(720 * (slice.modelData.end - slice.modelData.start)) / 2
        }
    }
}
