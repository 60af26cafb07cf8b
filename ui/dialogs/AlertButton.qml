// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import VelmorFocus

// A full-width button of an alert.
WindowButton {
    width: parent ? parent.width : implicitWidth
    large: true
    topPadding: 7
    bottomPadding: 7
}
