// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// Shown when no record passes the filters, or none exists yet.
Rectangle {
    objectName: "historyEmptyState"
    implicitHeight: Math.max(360, content.implicitHeight + 60)
    radius: 14
    color: Theme.card

    Column {
        id: content
        anchors.centerIn: parent
        width: parent.width - 60
        spacing: 10

        HistoryClockBadgeIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 52
            height: 52
        }
        Item {
            width: 1
            height: 4
        }
        Label {
            objectName: "historyEmptyTitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "还没有专注记录"
            color: Theme.ink
            font.family: Theme.fontFamily
            font.pixelSize: 20
            font.bold: true
        }
        Label {
            objectName: "historyEmptyDescription"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: "完成一次专注计时后，事项和时长会自动保存在这里。"
            color: Theme.secondary
            font.family: Theme.fontFamily
            font.pixelSize: 14
        }
    }
}
