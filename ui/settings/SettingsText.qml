// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls
import VelmorFocus

// Text in the window's font and ink.
Label {
    font.family: Theme.fontFamily
    font.pixelSize: Theme.bodySize
    color: Theme.ink
}
