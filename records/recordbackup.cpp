// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordbackup.h"

#include "platform/userfiles.h"

#include <QDir>
#include <QFileInfo>

namespace RecordBackup {

namespace {

std::optional<QString> backupHolding(const QString &folder, const QByteArray &bytes)
{
    const QFileInfoList backups = QDir(folder).entryInfoList(
        {QStringLiteral("focus-records-corrupt-*.json")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &backup : backups) {
        if (backup.size() != bytes.size())
            continue;
        // Read like any stored file: a FIFO under a backup's name must not stall start-up.
        const UserFiles::Read read = UserFiles::readRegular(backup.filePath(), bytes.size());
        if (read.bytes && *read.bytes == bytes)
            return backup.filePath();
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> keep(const QString &path, const QByteArray &bytes)
{
    if (std::optional<QString> existing = backupHolding(QFileInfo(path).absolutePath(), bytes))
        return existing;
    if (UserFiles::writeNewPrivateFile(path, bytes))
        return path;
    return std::nullopt;
}

} // namespace RecordBackup
