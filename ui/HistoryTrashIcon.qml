import QtQuick
import QtQuick.Shapes

// A waste bin: lid with handle, and a tapered can with two ribs.
Shape {
    id: icon

    property color color: "red"

    width: 16
    height: 16
    layer.enabled: true
    layer.samples: 4

    ShapePath {
        strokeColor: icon.color
        strokeWidth: 1.3
        fillColor: "transparent"
        capStyle: ShapePath.RoundCap
        joinStyle: ShapePath.RoundJoin

        // lid
        startX: 2
        startY: 4
        PathLine { x: 14; y: 4 }
        // handle
        PathMove { x: 6; y: 4 }
        PathLine { x: 6; y: 2.5 }
        PathQuad { x: 6.8; y: 1.7; controlX: 6; controlY: 1.7 }
        PathLine { x: 9.2; y: 1.7 }
        PathQuad { x: 10; y: 2.5; controlX: 10; controlY: 1.7 }
        PathLine { x: 10; y: 4 }
        // can
        PathMove { x: 3.5; y: 4 }
        PathLine { x: 4.4; y: 13.8 }
        PathQuad { x: 5.6; y: 15; controlX: 4.5; controlY: 15 }
        PathLine { x: 10.4; y: 15 }
        PathQuad { x: 11.6; y: 13.8; controlX: 11.5; controlY: 15 }
        PathLine { x: 12.5; y: 4 }
        // ribs
        PathMove { x: 6.6; y: 6.5 }
        PathLine { x: 6.9; y: 12.5 }
        PathMove { x: 9.4; y: 6.5 }
        PathLine { x: 9.1; y: 12.5 }
    }
}
