// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Backups of stored records that failed to load ("focus-records-corrupt-<seconds>.json").
namespace RecordBackup {

// Keeps the bytes as a new file at path, readable by the user alone, unless a backup beside it
// already holds exactly these bytes: a damaged file is backed up once, not at every start that
// fails on it. An existing file at path is never replaced. Returns the backup that holds the
// bytes, if any.
std::optional<QString> keep(const QString &path, const QByteArray &bytes);

} // namespace RecordBackup
