// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick

// Builds its popup from `popup`, a QML file of the module, the first time `needed` holds and keeps
// it from then on: the window's dialogs cost its start nothing, not even their compiling. The
// popup opens itself when it is built already needed.
Loader {
    property bool needed: false
    property url popup
    // The popup's initial properties.
    property var properties: ({})

    function build() {
        if (active)
            return;
        active = true;
        setSource(popup, properties);
    }

    active: false
    onNeededChanged: if (needed)
        build()
    Component.onCompleted: if (needed)
        build()
}
