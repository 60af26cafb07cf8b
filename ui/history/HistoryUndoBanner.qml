// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// Offers the way back after a delete, while the model holds the deleted record.
Rectangle {
    id: banner

    required property TimerModel model

    objectName: "historyUndoBanner"
    implicitHeight: content.implicitHeight + 24
    radius: 10
    color: Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.06)

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 12
        spacing: 12

        Label {
            objectName: "historyUndoText"
            Layout.fillWidth: true
            text: banner.model.deletedRecord ? "已删除：" + banner.model.deletedRecord.title : ""
            elide: Text.ElideRight
            maximumLineCount: 1
            textFormat: Text.PlainText
            color: Theme.ink
            font.family: Theme.fontFamily
            font.pixelSize: 14
        }
        HistoryButton {
            objectName: "historyUndoButton"
            text: "撤销删除"
            onClicked: banner.model.undoDelete()
        }
    }
}
