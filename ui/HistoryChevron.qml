import QtQuick
import QtQuick.Shapes

// The disclosure arrow of a group: pointing right when closed, down when open.
Shape {
    id: chevron

    property bool expanded: false
    property color color: "black"

    width: 12
    height: 12
    rotation: expanded ? 90 : 0
    layer.enabled: true
    layer.samples: 4

    Behavior on rotation {
        NumberAnimation {
            duration: 120
        }
    }

    ShapePath {
        strokeColor: chevron.color
        strokeWidth: 1.8
        fillColor: "transparent"
        capStyle: ShapePath.RoundCap
        joinStyle: ShapePath.RoundJoin
        startX: 4.5
        startY: 2
        PathLine { x: 8.5; y: 6 }
        PathLine { x: 4.5; y: 10 }
    }
}
