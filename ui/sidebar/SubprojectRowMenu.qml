// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The menu of a subproject row, built the first time it opens.
RowMenu {
    required property SubprojectRow row

    objectName: "subprojectMenu"

    RowMenuItem {
        objectName: "editSubprojectItem"
        text: "编辑子项目…"
        onTriggered: row.rows.edit(row.index)
    }
    RowMenuItem {
        objectName: "moveUpItem"
        text: "上移"
        enabled: !row.first
        onTriggered: row.rows.move(row.index, -1)
    }
    RowMenuItem {
        objectName: "moveDownItem"
        text: "下移"
        enabled: !row.last
        onTriggered: row.rows.move(row.index, 1)
    }
    RowMenuItem {
        objectName: "deleteSubprojectItem"
        text: "删除子项目"
        destructive: true
        onTriggered: row.rows.remove(row.index)
    }
}
