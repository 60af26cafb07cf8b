// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

pragma Singleton
import QtQuick

// The window's colours and sizes, in one place.
QtObject {
    readonly property color ink: Qt.rgba(0.20, 0.28, 0.38, 1)
    readonly property color pale: Qt.rgba(0.91, 0.94, 0.97, 1)
    readonly property color canvas: Qt.rgba(0.96, 0.97, 0.985, 1)
    readonly property color card: "white"
    // Every text colour reads at 4.5:1 or more on every background below (the tests check it).
    readonly property color secondary: inkAlpha(0.84)
    readonly property color accentText: Qt.rgba(0.0, 0.36, 0.78, 1)
    readonly property color warningText: Qt.rgba(0.66, 0.30, 0.0, 1)
    // Fills that carry white text, and marks.
    readonly property color blue: Qt.rgba(0.0, 0.40, 0.85, 1)
    readonly property color red: Qt.rgba(0.76, 0.12, 0.10, 1)
    readonly property color orange: Qt.rgba(1.0, 0.584, 0.0, 1)
    // The tint of a selected entry.
    readonly property color selection: Qt.rgba(0.0, 0.40, 0.85, 0.12)
    // The keyboard focus ring.
    readonly property color focusRing: Qt.rgba(0.0, 0.40, 0.85, 1)
    // The ink at an opacity: hairlines, borders and the tints of pressed and hovered controls.
    function inkAlpha(opacity: real): color {
        return Qt.rgba(ink.r, ink.g, ink.b, opacity)
    }
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
