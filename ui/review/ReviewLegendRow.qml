// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// One project's share of the week: its name and time, and a bar of the share.
ColumnLayout {
    id: row

    // The roles of a row of the week's legend.
    required property string project
    required property color color
    required property real fraction
    required property string text

    spacing: 5

    RowLayout {
        Layout.fillWidth: true
        spacing: 8

        Rectangle {
            implicitWidth: 8
            implicitHeight: 8
            radius: 4
            color: row.color
        }
        Label {
            objectName: "reviewLegendName"
            Layout.fillWidth: true
            text: row.project
            elide: Text.ElideRight
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            color: Theme.ink
        }
        Label {
            objectName: "reviewLegendText"
            text: row.text
            font.family: Theme.fontFamily
            font.pixelSize: Theme.captionSize
            color: Theme.ink
        }
    }
    Rectangle {
        objectName: "reviewLegendTrack"
        Layout.fillWidth: true
        implicitHeight: 6
        radius: 3
        color: Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.08)

        Rectangle {
            objectName: "reviewLegendFill"
            width: parent.width * row.fraction
            height: parent.height
            radius: 3
            color: row.color
        }
    }
}
