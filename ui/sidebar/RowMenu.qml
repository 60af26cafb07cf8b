// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import VelmorFocus

// The drop-down menu of a project or subproject row.
Menu {
    topPadding: 5
    bottomPadding: 5

    background: Rectangle {
        implicitWidth: 168
        radius: 9
        color: "white"
        border.color: Theme.inkAlpha(0.16)
    }
}
