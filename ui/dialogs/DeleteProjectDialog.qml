// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// Asks before a project is deleted; its records move to "未分类".
AlertDialog {
    id: dialog

    required property TimerModel model
    required property ProjectDraft projectDraft

    objectName: "deleteProjectDialog"
    cancelButton: cancel
    defaultButton: confirmDelete
    title: "删除项目？该项目现有记录将移至未分类。"
    shown: projectDraft.confirmingDelete !== undefined
    onDismissed: if (projectDraft.confirmingDelete !== undefined)
        projectDraft.confirmingDelete = undefined

    AlertButton {
        id: confirmDelete

        objectName: "confirmDeleteButton"
        text: "删除项目"
        kind: "prominent"
        destructive: true
        onClicked: {
            const name = dialog.projectDraft.confirmingDelete;
            if (name !== undefined)
                dialog.model.deleteProject(name);
            dialog.close();
        }
    }
    AlertButton {
        id: cancel

        objectName: "cancelDeleteButton"
        text: "取消"
        kind: "plain"
        onClicked: dialog.close()
    }
}
