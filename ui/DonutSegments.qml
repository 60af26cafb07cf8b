import QtQuick
import QtQuick.Shapes
import VelmorFocus

// The slices of today's ring: one flat-ended arc per slice, 22 wide on a circle inset 15 from the
// square, from 12 o'clock clockwise.
Item {
    id: donut

    // [{key, color, startAngle, sweepAngle}] in degrees clockwise from 12 o'clock.
    property var slices: []

    readonly property real radius: Math.min(width, height) / 2 - 15

    layer.enabled: true
    layer.samples: 4
    layer.smooth: true

    Repeater {
        model: donut.slices.length

        Shape {
            id: slice

            required property int index
            // Bound by position, so a new list of the same length keeps the shapes and only moves them.
            readonly property var modelData: donut.slices[index] ?? {
                "color": "transparent",
                "startAngle": 0,
                "sweepAngle": 0
            }

            anchors.fill: parent

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
                    startAngle: -90 + slice.modelData.startAngle
                    sweepAngle: slice.modelData.sweepAngle
                }
            }
        }
    }
}
