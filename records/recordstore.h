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

    struct SaveResult {
        bool ok = false;
        QString error; // the message for the user when !ok
    };
    // Replaces the stored list (file, then defaults copy) and the list in memory, or nothing.
    SaveResult save(const FocusRecordList &newRecords);
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
    QString backupPath(const QString &folder) const;
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
