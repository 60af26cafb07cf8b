// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick

// Builds a row's menu the first time it opens, so that a sidebar of many rows starts without
// them, and opens it under the row's menu button.
Loader {
    required property Item button

    function popup() {
        active = true;
        item.popup(button, 0, button.height);
    }

    active: false
}
