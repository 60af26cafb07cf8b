// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

namespace StoragePaths {

// "~/.local/share/VelmorTimer" (the per-user data folder + "VelmorTimer"); absent when the
// per-user data folder cannot be resolved or created.
std::optional<QString> storageFolder();

// "$XDG_CONFIG_HOME/VelmorTimer", where the defaults store keeps its values.
QString defaultsFolder();

inline QString recordFileName()
{
    return QStringLiteral("focus-records.json");
}

} // namespace StoragePaths
