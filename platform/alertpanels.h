// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The completion alert's always-on-top panels, one per attached screen.
class AlertPanels {
public:
    virtual ~AlertPanels() = default;
    // One panel centred on every attached screen, above other windows, without taking focus.
    virtual void showOnEveryScreen() = 0;
    // Hides and releases every panel that is shown.
    virtual void hideAll() = 0;
};
