// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// Modal open and save panels. Absent results mean the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> chooseSavePath(
        const QString &suggestedName, const QString &nameFilter) = 0;
    virtual std::optional<QString> chooseAudioFile() = 0;
};
