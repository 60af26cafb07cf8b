// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// One key figure of the week: its title with a symbol, and the value.
Rectangle {
    id: card

    property string title
    property string symbol
    property string value
    property string valueName

    color: Theme.card
    radius: 14
    implicitHeight: content.implicitHeight + 36

    ColumnLayout {
        id: content

        anchors.fill: parent
        anchors.margins: 18
        spacing: 12

        RowLayout {
            spacing: 5

            ReviewSymbol {
                name: card.symbol
                size: 14
                lineWidth: 1.3
                color: Theme.secondary
            }
            Label {
                text: card.title
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                color: Theme.secondary
            }
        }
        Label {
            objectName: card.valueName
            Layout.fillWidth: true
            text: card.value
            elide: Text.ElideRight
            font.family: Theme.monoFontFamily
            font.pixelSize: Theme.titleSize
            font.bold: true
            color: Theme.ink
        }
    }
}
