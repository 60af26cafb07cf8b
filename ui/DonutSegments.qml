import QtQuick
import QtQuick.Shapes
import VelmorFocus

// The slices of today's ring: one flat-ended arc per slice, 22 wide on a circle inset 15 from the
// square, from 12 o'clock clockwise.
Item {
    id: donut

    // [{key, color, start, end}] with start and end as fractions of the full turn.
    property var slices: []

    readonly property real radius: Math.min(width, height) / 2 - 15

    Repeater {
        model: donut.slices

        Shape {
            id: slice

            required property var modelData

            anchors.fill: parent
            layer.enabled: true
            layer.samples: 4
            layer.smooth: true

            ShapePath {
                strokeColor: slice.modelData.color
                strokeWidth: 22
                fillColor: "transparent"
                capStyle: ShapePath.FlatCap
                PathAngleArc {
                    centerX: donut.width / 2
                    centerY: donut.height / 2
                    radiusX: donut.radius
                    radiusY: donut.radius
                    startAngle: -90 + 360 * slice.modelData.start
                    sweepAngle: 360 * (slice.modelData.end - slice.modelData.start)
                }
            }
        }
    }
}
