// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// The session ring: the track, today's progress towards the daily goal, and inside them the
// session's progress in the project's colour; in the middle the time left and the state.
Item {
    id: ring

    required property TimerModel model
    required property FocusPageState pageState

    readonly property real outerWidth: 13
    readonly property real sessionWidth: 8
    readonly property real outerRadius: width / 2 - outerWidth / 2
    readonly property real sessionRadius: outerRadius - outerWidth / 2 - 5 - sessionWidth / 2

    implicitWidth: 236
    implicitHeight: 236

    RingArc {
        objectName: "ringTrack"
        anchors.fill: parent
        radius: ring.outerRadius
        lineWidth: ring.outerWidth
        color: Qt.rgba(0.0, 0.478, 1.0, 0.1)
    }

    RingArc {
        id: goalArc

        objectName: "goalArc"

        readonly property real fraction: ring.pageState.goalFraction

        anchors.fill: parent
        visible: fraction > 0
        radius: ring.outerRadius
        lineWidth: ring.outerWidth
        color: Qt.rgba(0.0, 0.478, 1.0, 0.28)
        roundCap: true
        startAngle: -90
        sweepAngle: Math.round(720 * goalArc.fraction) / 2
    }

    RingArc {
        objectName: "sessionArc"
        anchors.fill: parent
        visible: ring.model.currentProgress > 0
        radius: ring.sessionRadius
        lineWidth: ring.sessionWidth
        color: ring.pageState.sessionColor
        roundCap: true
        startAngle: -90
        sweepAngle: Math.round(720 * Math.min(1, ring.model.currentProgress)) / 2
    }

    Column {
        anchors.centerIn: parent
        width: 2 * ring.sessionRadius - 24
        spacing: 4

        Label {
            objectName: "ringDisplay"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: ring.model.display
            // A light face whose digits all have the same width, so the time does not jitter.
            font.family: "DejaVu Sans"
            font.weight: Font.ExtraLight
            font.pixelSize: ring.width * (ring.model.display.length > 5 ? 0.15 : 0.2)
            color: Theme.ink
        }
        Label {
            objectName: "ringState"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: ring.pageState.stateText
            font.family: Theme.fontFamily
            font.pixelSize: Theme.subheadlineSize
            color: Theme.secondary
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 6

            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 8
                height: 8
                radius: 4
                color: ring.pageState.sessionColor
            }
            Label {
                objectName: "ringProject"
                width: Math.min(implicitWidth, ring.sessionRadius * 2 - 60)
                text: ring.pageState.sessionLabel
                elide: Text.ElideRight
                maximumLineCount: 1
                font.family: Theme.fontFamily
                font.pixelSize: Theme.captionSize
                color: Theme.ink
            }
        }
    }
}
