// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Layouts
import VelmorFocus

// A white card of the settings page: a title with its symbol, then the card's own parts.
Rectangle {
    id: card

    property string title
    property string symbol
    property alias spacing: parts.spacing
    default property alias content: parts.data

    color: Theme.card
    radius: 14
    implicitHeight: parts.implicitHeight + 36

    ColumnLayout {
        id: parts

        anchors.fill: parent
        anchors.margins: 18

        RowLayout {
            spacing: 7

            ReviewSymbol {
                name: card.symbol
                size: 17
                lineWidth: 1.7
                color: Theme.ink
            }
            SettingsText {
                text: card.title
                font.pixelSize: Theme.headlineSize
                font.bold: true
            }
        }
    }
}
