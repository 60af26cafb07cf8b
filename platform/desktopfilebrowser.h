// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filebrowser.h"

// The desktop's file manager, through the desktop's handler for folders.
class DesktopFileBrowser final : public FileBrowser {
public:
    void openFolder(const QString &path) override;
};
