// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// One row of the history list: a group header or a record, drawn on its slice of the year's
// white card (rounded on top for the year, at the bottom for the card's last row).
Item {
    id: row

    required property int index
    required property int kind
    required property string label
    required property bool expanded
    required property bool cardEnd
    required property string recordId
    required property string title
    required property string projectText
    required property color projectColor
    required property color projectTextColor
    required property bool hasWrapUp
    required property string wrapUp
    required property string timeText
    required property string durationText
    required property bool early
    required property HistoryTreeModel tree

    readonly property bool isYear: kind === HistoryTreeModel.YearRow
    readonly property int gapAbove: isYear && index > 0 ? 16 : 0
    readonly property int cardBottom: cardEnd ? (isYear ? 18 : 14) : 0

    height: gapAbove + loader.height + cardBottom

    // A delegate waiting in the reuse pool is only culled by the view; hiding it keeps it out of
    // the accessibility tree too.
    ListView.onPooled: visible = false
    ListView.onReused: visible = true

    Rectangle {
        y: row.gapAbove
        width: row.width
        height: row.height - row.gapAbove
        radius: row.isYear || row.cardEnd ? 14 : 0
        color: Theme.card

        // Squares off the corners where the card continues into the next or previous row.
        Rectangle {
            visible: row.isYear && !row.cardEnd
            anchors.bottom: parent.bottom
            width: parent.width
            height: parent.height / 2
            color: Theme.card
        }
        Rectangle {
            visible: row.cardEnd && !row.isYear
            width: parent.width
            height: parent.height / 2
            color: Theme.card
        }
    }

    Loader {
        id: loader
        y: row.gapAbove
        width: row.width
        height: item ? item.implicitHeight : 0
        sourceComponent: row.kind === HistoryTreeModel.RecordRow ? recordRow : groupHeader
    }

    Component {
        id: groupHeader

        HistoryGroupHeader {
            level: row.kind
            label: row.label
            expanded: row.expanded
            onClicked: row.tree.toggle(row.index)
        }
    }

    Component {
        id: recordRow

        HistoryRecordRow {
            leftInset: 18 + 2 * 16
            rightInset: 18
            recordId: row.recordId
            title: row.title
            projectText: row.projectText
            projectColor: row.projectColor
            projectTextColor: row.projectTextColor
            hasWrapUp: row.hasWrapUp
            wrapUp: row.wrapUp
            timeText: row.timeText
            durationText: row.durationText
            early: row.early
            onDeleteRequested: row.tree.deleteRecord(row.index)
        }
    }
}
