// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWindow;

// Workspaces of an X11 desktop.
namespace X11Workspaces {

// Asks the window manager to show the window on every workspace, the current one and those
// switched to later. Must be called before the window is first shown; does nothing and returns
// false when the application does not run on X11.
bool showOnAllWorkspaces(QWindow &window);

} // namespace X11Workspaces
