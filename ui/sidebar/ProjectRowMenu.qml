// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// The menu of a project row, built the first time it opens.
RowMenu {
    required property ProjectRow row

    objectName: "projectMenu"

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
    RowMenuSeparator {}
    RowMenuItem {
        objectName: "newSubprojectItem"
        text: "新建子项目…"
        onTriggered: row.rows.addSubproject(row.index)
    }
    RowMenuItem {
        objectName: "editProjectItem"
        text: "编辑项目"
        onTriggered: row.rows.edit(row.index)
    }
    RowMenuItem {
        objectName: "deleteProjectItem"
        text: "删除项目"
        destructive: true
        enabled: row.deletable
        onTriggered: row.rows.remove(row.index)
    }
}
