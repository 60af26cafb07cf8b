pragma Singleton
import QtQuick

// The window's colours and sizes, in one place.
QtObject {
    readonly property color ink: Qt.rgba(0.20, 0.28, 0.38, 1)
    readonly property color pale: Qt.rgba(0.91, 0.94, 0.97, 1)
    readonly property color canvas: Qt.rgba(0.96, 0.97, 0.985, 1)
    readonly property color card: "white"
    readonly property color secondary: Qt.rgba(0.20, 0.28, 0.38, 0.62)
    readonly property color blue: Qt.rgba(0.0, 0.478, 1.0, 1)
    readonly property color orange: Qt.rgba(1.0, 0.584, 0.0, 1)
    readonly property color red: Qt.rgba(1.0, 0.231, 0.188, 1)
    readonly property string fontFamily: "Noto Sans CJK SC"
    readonly property int sidebarWidth: 220
    // Text styles, in pixels: the large title of a page down to the smallest caption.
    readonly property int largeTitleSize: 26
    readonly property int titleSize: 22
    readonly property int title2Size: 18
    readonly property int headlineSize: 15
    readonly property int bodySize: 14
    readonly property int subheadlineSize: 13
    readonly property int captionSize: 12
    readonly property int caption2Size: 11
    // Digits of equal width, for figures that change in place.
    readonly property string monoFontFamily: "Noto Sans Mono CJK SC"
}
