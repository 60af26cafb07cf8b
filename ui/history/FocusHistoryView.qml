// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// The records page: filters, search, export, delete with undo, and the history by year, month
// and day. The list creates rows only for open groups and delegates only for rows on screen.
Rectangle {
    id: page

    required property TimerModel model

    // Ctrl+F: the search field takes the keyboard, scrolled into view.
    function focusSearch() {
        list.positionViewAtBeginning();
        list.headerItem.focusSearch();
    }

    color: Theme.canvas

    // Shown again after another page: every group starts closed, as on a fresh page.
    onVisibleChanged: if (visible) treeModel.collapseAll()

    HistoryTreeModel {
        id: treeModel
        model: page.model
    }

    ListView {
        id: list

        // The header grows and shrinks above the first row (the undo banner comes and goes);
        // while the page's top is in view it stays in view, title and filters included.
        property bool showsTop: true

        objectName: "historyList"
        anchors.fill: parent
        topMargin: 30
        bottomMargin: 30
        leftMargin: 30
        rightMargin: 30
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        reuseItems: true
        model: treeModel
        onContentYChanged: showsTop = contentY <= originY - topMargin + 1
        onOriginYChanged: if (showsTop) contentY = originY - topMargin

        header: HistoryHeader {
            width: list.width - list.leftMargin - list.rightMargin
            model: page.model
            recordCount: treeModel.recordCount
        }

        delegate: HistoryTreeRow {
            width: list.width - list.leftMargin - list.rightMargin
            tree: treeModel
        }

        ScrollBar.vertical: ScrollBar {}
        FocusInView {
            flickable: list
        }
    }
}
