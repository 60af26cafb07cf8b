// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"
#include "records/json/recordcodec.h"

#include <QString>

#include <functional>
#include <optional>

class DefaultsStore;
class FileWriter;

// Keeps the record list on disk: the record file, its copy in the defaults store, and the rule
// that stored data which failed to load is never overwritten.
class RecordStore {
public:
    using Decoded = RecordCodec::DecodeResult;

    static QString defaultsKey() { return QStringLiteral("focus-records"); }
    static QString loadFailedMessage()
    {
        return QStringLiteral("专注记录读取异常，已备份原文，本次暂停写入以保护数据。");
    }
    static QString lockedMessage()
    {
        return QStringLiteral("记录读取异常，已暂停写入以保护原数据。");
    }
    static QString saveFailedPrefix() { return QStringLiteral("专注记录保存失败，记录未删除："); }

    // storageFolder: where "focus-records.json" lives, absent when it cannot be resolved.
    // now: the wall clock, for the backup's name.
    RecordStore(DefaultsStore &defaults, FileWriter &writer, std::optional<QString> storageFolder,
        std::function<double()> now);

    // The loading steps: the leftovers of saves killed midway removed, then the record file,
    // else the defaults copy. Returns the message for the user, if any. Decides readability for
    // the whole run.
    std::optional<QString> load();

    // The record file's part of load(), which touches nothing but files and so may run on any
    // thread: the leftovers removed, the file read and decoded, and a file that fails to load
    // backed up, under a name of the given wall-clock second.
    struct FileLoad {
        enum class Outcome { NoFile, Loaded, Failed };
        Outcome outcome = Outcome::NoFile;
        FocusRecordList records;
        std::optional<QString> backupFile;
    };
    static FileLoad loadFile(const std::optional<QString> &storageFolder, qint64 backupSecond);
    // The rest of load() on the store's own thread: takes what loadFile() found, else the
    // defaults copy.
    std::optional<QString> finishLoad(FileLoad file);
    // The second that loadFile() names a backup after.
    qint64 backupSecond() const;

    struct SaveResult {
        bool ok = false;
        QString error; // the message for the user when !ok
    };
    // Replaces the stored list (file, then defaults copy) and the list in memory, or nothing.
    SaveResult save(const FocusRecordList &newRecords);

    // save() in two steps, the first of which may run on another thread while the store is
    // only read: write() encodes the list once and writes the record file and the defaults copy
    // from the same bytes; commit() then takes the list as the stored one if both were written.
    // heldMs: how long the caller's thread waited, for the timing log.
    struct Written {
        bool ok = false;
        QString error; // the message for the user when !ok
        qsizetype bytes = 0;
        double encodeMs = 0;
        double fileMs = 0;
        double copyMs = 0;
    };
    Written write(const FocusRecordList &newRecords) const;
    SaveResult commit(const FocusRecordList &newRecords, const Written &written, double heldMs);
    // Writes a list the user chose to replace what failed to load, as save() does but also while
    // writing is locked, and unlocks writing when it succeeds.
    SaveResult restore(const FocusRecordList &newRecords);

    const FocusRecordList &records() const { return m_records; }
    bool readable() const { return m_readable; }
    std::optional<QString> storageFolder() const { return m_storageFolder; }
    std::optional<QString> storageFile() const;
    // The backup written by a failed load, if one was written.
    std::optional<QString> backupFile() const { return m_backupFile; }

private:
    static QString backupPath(const QString &folder, qint64 second);
    void lockAfterFailedLoad();
    // Locks after the defaults copy failed to load and backs up its bytes, if any were read.
    QString lockAndBackUpCopy(const std::optional<QByteArray> &bytes);

    DefaultsStore &m_defaults;
    FileWriter &m_writer;
    std::optional<QString> m_storageFolder;
    std::function<double()> m_now;
    FocusRecordList m_records;
    bool m_readable = true;
    std::optional<QString> m_backupFile;
};
