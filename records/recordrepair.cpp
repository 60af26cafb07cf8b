// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordrepair.h"

#include "platform/filewriter.h"
#include "records/json/recordcodec.h"
#include "records/recordqueries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace RecordRepair {

namespace {

const QRegularExpression &backupPattern()
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(uR"(focus-records-corrupt-(\d+)\.json)"_s));
    return pattern;
}

QString backupName(qint64 unixSeconds)
{
    return u"focus-records-corrupt-"_s + QString::number(unixSeconds) + u".json"_s;
}

QString decodeFailure(RecordCodec::DecodeError error)
{
    return error == RecordCodec::DecodeError::NotJson ? u"不是有效的 JSON"_s
                                                      : u"内容不是专注记录"_s;
}

void decodeInto(RepairSource &source, const QByteArray &bytes)
{
    RecordCodec::DecodeResult decoded = RecordCodec::decode(bytes);
    if (decoded.ok())
        source.records = std::move(decoded.records);
    else
        source.reason = decodeFailure(decoded.error);
}

// Digits of any length, compared as the numbers they write.
bool laterName(const QString &a, const QString &b)
{
    const QString digitsA = backupPattern().match(a).captured(1);
    const QString digitsB = backupPattern().match(b).captured(1);
    if (digitsA.size() != digitsB.size())
        return digitsA.size() > digitsB.size();
    return digitsA != digitsB ? digitsA > digitsB : a > b;
}

// The bytes of the defaults copy as the record store reads them; absent for no copy.
std::optional<QByteArray> copyBytes(const QVariant &defaultsCopy)
{
    if (defaultsCopy.typeId() == QMetaType::QByteArray)
        return defaultsCopy.toByteArray();
    if (defaultsCopy.typeId() == QMetaType::QString)
        return defaultsCopy.toString().toUtf8();
    return std::nullopt;
}

// The whole content of a regular file; absent for anything else or when it cannot be read, with
// the reason in reason when given.
std::optional<QByteArray> readRegularFile(const QString &path, QString *reason = nullptr)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    // Without O_NONBLOCK a FIFO named like a backup would hang the read until a writer came.
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(errno == ELOOP ? u"不是普通文件"_s : u"无法读取"_s);
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(u"不是普通文件"_s);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(u"无法读取"_s);
    }
    try {
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail(u"无法读取"_s);
        return bytes;
    } catch (const std::bad_alloc &) {
        return fail(u"文件太大，无法读取"_s);
    }
}

// Whether writing restored over stored would lose something: stored does not decode, or holds a
// record that restored does not.
bool wouldLose(const QByteArray &stored, const FocusRecordList &restored)
{
    const RecordCodec::DecodeResult decoded = RecordCodec::decode(stored);
    if (!decoded.ok())
        return true;
    QHash<QUuid, const FocusRecord *> byId;
    byId.reserve(restored.size());
    for (const FocusRecord &record : restored)
        byId.insert(record.id, &record);
    return std::any_of(
        decoded.records.cbegin(), decoded.records.cend(), [&byId](const FocusRecord &record) {
            const FocusRecord *kept = byId.value(record.id);
            return !kept || !(*kept == record);
        });
}

// A backup in folder that holds exactly bytes: one that does already, or a new one named after
// unixSeconds, or the next free second when that name is taken.
bool keepInBackup(
    const QString &folder, const QByteArray &bytes, qint64 unixSeconds, FileWriter &writer)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({u"focus-records-corrupt-*.json"_s}, QDir::Files);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path).size() == bytes.size() && readRegularFile(path) == bytes)
            return true;
    }
    if (!QDir().mkpath(folder))
        return false;
    for (qint64 seconds = unixSeconds; seconds < unixSeconds + 60; ++seconds) {
        const QString path = dir.filePath(backupName(seconds));
        const QFileInfo taken(path);
        if (taken.exists() || taken.isSymLink())
            continue;
        return writer.writeAtomically(path, bytes).ok;
    }
    return false;
}

} // namespace

QList<RepairSource> findSources(const std::optional<QString> &folder, const QVariant &defaultsCopy)
{
    QList<RepairSource> sources;
    if (defaultsCopy.isValid()) {
        RepairSource copy;
        if (const std::optional<QByteArray> bytes = copyBytes(defaultsCopy))
            decodeInto(copy, *bytes);
        else
            copy.reason = u"不是这个程序写下的数据"_s;
        sources.append(std::move(copy));
    }
    if (!folder)
        return sources;

    const QDir dir(*folder);
    QStringList names = dir.entryList({u"focus-records-corrupt-*.json"_s},
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeIf([](const QString &name) { return !backupPattern().match(name).hasMatch(); });
    std::sort(names.begin(), names.end(), laterName);
    for (const QString &name : std::as_const(names)) {
        RepairSource backup;
        backup.path = dir.filePath(name);
        bool fits = false;
        const qint64 seconds = backupPattern().match(name).captured(1).toLongLong(&fits);
        if (fits)
            backup.unixSeconds = seconds;
        if (const std::optional<QByteArray> bytes = readRegularFile(backup.path, &backup.reason))
            decodeInto(backup, *bytes);
        sources.append(std::move(backup));
    }
    return sources;
}

FocusRecordList restoredList(const FocusRecordList &source, const FocusRecordList &waiting)
{
    FocusRecordList list = source;
    for (auto session = waiting.crbegin(); session != waiting.crend(); ++session)
        list = RecordQueries::withRestored(list, *session);
    return list;
}

std::optional<QString> keepWhatRestoreReplaces(const std::optional<QString> &folder,
    const std::optional<QString> &recordFile, const QVariant &defaultsCopy,
    const FocusRecordList &restored, qint64 unixSeconds, FileWriter &writer)
{
    QList<QByteArray> replaced;
    if (recordFile) {
        const QFileInfo file(*recordFile);
        if (file.exists() || file.isSymLink()) {
            QString reason;
            const std::optional<QByteArray> bytes = readRegularFile(*recordFile, &reason);
            if (!bytes)
                return QDir::toNativeSeparators(*recordFile) + u"："_s + reason;
            replaced.append(*bytes);
        }
    }
    if (const std::optional<QByteArray> bytes = copyBytes(defaultsCopy))
        replaced.append(*bytes);
    for (const QByteArray &bytes : std::as_const(replaced)) {
        if (!wouldLose(bytes, restored))
            continue;
        if (!folder || !keepInBackup(*folder, bytes, unixSeconds, writer))
            return u"无法备份原有数据"_s;
    }
    return std::nullopt;
}

} // namespace RecordRepair
