// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The main window's symbols, drawn as vector outlines and fills on a 24 × 24 grid.
Item {
    id: symbol

    property string name
    property color color: Theme.ink
    property real size: 16
    property real lineWidth: 1.9

    readonly property var glyph: SymbolGlyphs.table[name] || ({})

    implicitWidth: size
    implicitHeight: size

    PathSymbol {
        anchors.centerIn: parent
        width: symbol.size
        height: symbol.size
        strokePath: symbol.glyph.stroke || ""
        strokeColor: symbol.color
        lineWidth: symbol.lineWidth
        fillPath: symbol.glyph.fill || ""
        fillColor: symbol.color
    }
}
