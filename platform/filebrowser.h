// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The desktop's file manager.
class FileBrowser {
public:
    virtual ~FileBrowser() = default;
    virtual void openFolder(const QString &path) = 0;
};
