// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import VelmorFocus

// Time range, project and search; each writes straight into the model's filters.
RowLayout {
    id: row

    required property TimerModel model

    function focusSearch() {
        search.forceActiveFocus(Qt.ShortcutFocusReason);
        search.selectAll();
    }

    spacing: 14

    HistoryPicker {
        objectName: "historyRangePicker"
        label: "时间"
        pickerWidth: 90
        options: ["今天", "本周", "全部"]
        current: row.model.recordRange
        onChosen: option => row.model.recordRange = option
    }

    HistoryPicker {
        objectName: "historyProjectPicker"
        label: "项目"
        pickerWidth: 130
        options: ["全部项目"].concat(row.model.projects)
        current: row.model.recordProject
        onChosen: option => row.model.recordProject = option
    }

    TextField {
        id: search
        objectName: "historySearchField"
        Layout.fillWidth: true
        implicitHeight: 34
        placeholderText: "搜索事项或收尾"
        Accessible.name: placeholderText
        ToolTip.text: "Ctrl+F"
        ToolTip.visible: hovered
        ToolTip.delay: 800
        text: row.model.recordSearch
        onTextEdited: row.model.recordSearch = text
        color: Theme.ink
        placeholderTextColor: Theme.secondary
        font.family: Theme.fontFamily
        font.pixelSize: 14
        leftPadding: 12
        rightPadding: 12
        selectByMouse: true
        background: Rectangle {
            radius: 9
            color: "white"
            border.width: search.activeFocus ? 2 : 1
            border.color: search.activeFocus ? Qt.rgba(Theme.blue.r, Theme.blue.g, Theme.blue.b, 0.6)
                                             : Theme.inkAlpha(0.18)
        }
    }
}
