import QtQuick
import QtQuick.Controls
import VelmorFocus

// Text in the window's font and ink.
Label {
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize
    color: Theme.ink
}
