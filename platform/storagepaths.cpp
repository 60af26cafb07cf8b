// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/storagepaths.h"

#include "platform/userfiles.h"

#include <QDir>
#include <QStandardPaths>

namespace StoragePaths {

std::optional<QString> storageFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty() || !UserFiles::makePrivateFolder(base))
        return std::nullopt;
    return QDir(base).filePath(QStringLiteral("VelmorTimer"));
}

QString defaultsFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("VelmorTimer"));
}

} // namespace StoragePaths
