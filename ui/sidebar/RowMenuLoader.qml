// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick

// Compiles and builds a row's menu the first time it opens, so that a sidebar of many rows starts
// without them, and opens it under the row's menu button.
Loader {
    required property Item button
    // The menu's QML file, and the row it acts on, which it receives as `row`.
    required property url menu
    required property Item entry

    function popup() {
        if (!active) {
            active = true;
            setSource(menu, {"row": entry});
        }
        item.popup(button, 0, button.height);
    }

    active: false
}
