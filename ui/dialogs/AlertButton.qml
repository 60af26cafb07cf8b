import QtQuick
import VelmorFocus

// A full-width button of an alert.
WindowButton {
    width: parent ? parent.width : implicitWidth
    large: true
    topPadding: 7
    bottomPadding: 7
}
