// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

class FileWriter;

// One place a record list that failed to load can be restored from: the defaults copy or a
// backup beside the record file.
struct RepairSource {
    QString path; // the backup file; empty for the defaults copy
    std::optional<qint64> unixSeconds; // the time in the backup's name
    std::optional<FocusRecordList> records; // newest first; absent when it does not decode
    QString reason; // why it cannot be used, when records is absent

    bool isDefaultsCopy() const { return path.isEmpty(); }
    bool usable() const { return records.has_value(); }
};

// Finds and reads the repair sources, and keeps out of harm's way what a repair overwrites.
// Nothing here deletes or changes a backup; everything may run off the window's thread.
namespace RecordRepair {

// The defaults copy first (when there is one), then every entry of folder named like a backup,
// the newest name first. Files are opened without blocking; anything but a regular file is
// listed as unusable with its reason.
QList<RepairSource> findSources(const std::optional<QString> &folder, const QVariant &defaultsCopy);

// The source's records with the sessions kept while writing was locked, newest first.
FocusRecordList restoredList(const FocusRecordList &source, const FocusRecordList &waiting);

// Before restored replaces the record file and the defaults copy: whatever either holds that
// restored does not (bytes that do not decode, or records it lacks) is put in a backup in folder,
// unless one holds those bytes already; a new backup is named after unixSeconds. Returns why
// that failed, so that nothing is overwritten.
std::optional<QString> keepWhatRestoreReplaces(const std::optional<QString> &folder,
    const std::optional<QString> &recordFile, const QVariant &defaultsCopy,
    const FocusRecordList &restored, qint64 unixSeconds, FileWriter &writer);

} // namespace RecordRepair
