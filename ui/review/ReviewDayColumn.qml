// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// One day of the week: its bar of project segments, the weekday and the day's minutes.
Column {
    id: column

    // The roles of a row of the week's columns.
    required property string weekday
    required property string minutesText
    required property FigureListModel segments

    spacing: 6

    Rectangle {
        objectName: "reviewBar"
        width: column.width
        height: 150
        color: Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.04)
        // The segments come scaled to fit; only the gaps of very many projects could reach above.
        clip: true

        Column {
            anchors.bottom: parent.bottom
            width: parent.width
            spacing: 2

            Repeater {
                model: column.segments

                Rectangle {
                    required property string project
                    required property int minutes
                    required height
                    required color

                    objectName: "reviewSegment"
                    width: parent.width
                    Accessible.role: Accessible.Graphic
                    Accessible.name: project + " " + minutes + "m"
                }
            }
        }
    }
    Label {
        objectName: "reviewWeekday"
        width: column.width
        horizontalAlignment: Text.AlignHCenter
        text: column.weekday
        font.family: Theme.fontFamily
        font.pixelSize: Theme.captionSize
        color: Theme.ink
    }
    Label {
        objectName: "reviewDayMinutes"
        width: column.width
        horizontalAlignment: Text.AlignHCenter
        text: column.minutesText
        font.family: Theme.fontFamily
        font.pixelSize: Theme.caption2Size
        color: Theme.secondary
    }
}
