// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// Everything above the tree: title and export, filters, the summary, the undo banner, and the
// empty state when no record is shown.
Column {
    id: header

    required property TimerModel model
    required property int recordCount

    function focusSearch() {
        filters.focusSearch();
    }

    spacing: 22
    bottomPadding: 22

    RowLayout {
        width: header.width

        Label {
            text: "专注记录"
            color: Theme.ink
            font.family: Theme.fontFamily
            font.pixelSize: 26
            font.bold: true
        }
        Item {
            Layout.fillWidth: true
        }
        HistoryButton {
            objectName: "historyExportButton"
            text: "导出 CSV"
            onClicked: header.model.exportCSV()
        }
    }

    HistoryFilterRow {
        id: filters

        width: header.width
        model: header.model
    }

    Label {
        objectName: "historySummary"
        width: header.width
        text: "已完成的专注 · " + header.recordCount + " 次；按完成日期归档，时长不含暂停。"
        color: Theme.secondary
        font.family: Theme.fontFamily
        font.pixelSize: 13
        wrapMode: Text.Wrap
    }

    HistoryUndoBanner {
        width: header.width
        model: header.model
        visible: header.model.deletedRecord ? true : false
    }

    HistoryEmptyState {
        width: header.width
        visible: header.recordCount === 0
    }
}
