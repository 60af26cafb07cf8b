// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick

// Builds its popup the first time `needed` holds and keeps it from then on, so the window's
// dialogs cost its start nothing. The popup opens itself when it is built already needed.
Loader {
    property bool needed: false

    active: false
    onNeededChanged: if (needed)
        active = true
    Component.onCompleted: if (needed)
        active = true
}
