import QtQuick
import QtQuick.Shapes
import VelmorFocus

// A clock face with a check mark badge: the empty history's symbol.
Shape {
    id: icon

    readonly property color tint: Qt.rgba(Theme.ink.r, Theme.ink.g, Theme.ink.b, 0.45)

    width: 52
    height: 52
    layer.enabled: true
    layer.samples: 4

    ShapePath {
        strokeColor: icon.tint
        strokeWidth: 3
        fillColor: "transparent"
        capStyle: ShapePath.RoundCap
        joinStyle: ShapePath.RoundJoin
        PathAngleArc {
            centerX: 23
            centerY: 23
            radiusX: 19
            radiusY: 19
            startAngle: 0
            sweepAngle: 360
        }
        PathMove { x: 23; y: 11 }
        PathLine { x: 23; y: 23 }
        PathLine { x: 31; y: 27 }
    }
    ShapePath {
        strokeColor: Theme.card
        strokeWidth: 3
        fillColor: Theme.blue
        PathAngleArc {
            centerX: 39
            centerY: 39
            radiusX: 11
            radiusY: 11
            startAngle: 0
            sweepAngle: 360
        }
    }
    ShapePath {
        strokeColor: "white"
        strokeWidth: 2.6
        fillColor: "transparent"
        capStyle: ShapePath.RoundCap
        joinStyle: ShapePath.RoundJoin
        startX: 34
        startY: 39.5
        PathLine { x: 37.8; y: 43 }
        PathLine { x: 44; y: 35.5 }
    }
}
