// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordstore.h"

#include "platform/defaultsstore.h"
#include "platform/filewriter.h"
#include "platform/storagepaths.h"
#include "platform/userfiles.h"
#include "records/instant.h"
#include "records/memoryhints.h"
#include "records/recordbackup.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <new>

using namespace Qt::StringLiterals;

namespace {

// Save times for bench/measure-app, which measures the real application: off unless
// QT_LOGGING_RULES has "velmor.timing.info=true".
Q_LOGGING_CATEGORY(lcTiming, "velmor.timing", QtWarningMsg)

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The whole file, or nothing when it cannot be read (no regular file, no permission, too large);
// `why` then says what stands in the way.
std::optional<QByteArray> readWholeFile(const QString &path, QString &why)
{
    QFile file;
    switch (UserFiles::openRegular(file, path, &why)) {
    case UserFiles::Opened::Regular:
        break;
    case UserFiles::Opened::DanglingLink:
        why = u"it is a symbolic link to "_s + QFileInfo(path).symLinkTarget()
            + u", which is missing"_s;
        return std::nullopt;
    case UserFiles::Opened::NotRegular:
        why = u"it is not a regular file"_s;
        return std::nullopt;
    case UserFiles::Opened::Missing:
    case UserFiles::Opened::Failed:
        return std::nullopt;
    }
    try {
        QByteArray bytes(file.size(), Qt::Uninitialized);
        MemoryHints::preferHugePages(bytes.data(), bytes.size());
        if (file.read(bytes.data(), bytes.size()) != bytes.size())
            return std::nullopt;
        if (!file.atEnd())
            bytes += file.readAll(); // grew while being read
        if (file.error() != QFileDevice::NoError) {
            why = file.errorString();
            return std::nullopt;
        }
        return bytes;
    } catch (const std::bad_alloc &) {
        why = u"it does not fit in memory"_s;
        return std::nullopt;
    }
}

// The record file and the backups written through the atomic writer.
bool isWrittenByStore(const QString &name)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(uR"(focus-records(-corrupt-\d+)?\.json)"_s));
    return pattern.match(name).hasMatch();
}

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

RecordStore::RecordStore(DefaultsStore &defaults, FileWriter &writer,
    std::optional<QString> storageFolder, std::function<double()> now)
    : m_defaults(defaults),
      m_writer(writer),
      m_storageFolder(std::move(storageFolder)),
      m_now(std::move(now))
{
}

std::optional<QString> RecordStore::storageFile() const
{
    if (!m_storageFolder)
        return std::nullopt;
    return QDir(*m_storageFolder).filePath(StoragePaths::recordFileName());
}

qint64 RecordStore::backupSecond() const
{
    const double now = m_now ? m_now() : Instant::currentWallClock();
    return RecordMath::wholeSeconds(Instant::toUnixSeconds(now));
}

QString RecordStore::backupPath(const QString &folder, qint64 second)
{
    return QDir(folder).filePath(
        u"focus-records-corrupt-"_s + QString::number(second) + u".json"_s);
}

void RecordStore::lockAfterFailedLoad()
{
    m_readable = false;
    m_records.clear();
}

std::optional<QString> RecordStore::load()
{
    return finishLoad(loadFile(m_storageFolder, backupSecond()));
}

RecordStore::FileLoad RecordStore::loadFile(
    const std::optional<QString> &storageFolder, qint64 backupSecond)
{
    FileLoad result;
    if (!storageFolder)
        return result;
    AtomicFileWriter::removeLeftovers(*storageFolder, isWrittenByStore);

    const QString file = QDir(*storageFolder).filePath(StoragePaths::recordFileName());
    if (!pathTaken(file))
        return result;
    QString why;
    const std::optional<QByteArray> bytes = readWholeFile(file, why);
    if (bytes) {
        Decoded decoded = RecordCodec::decode(*bytes);
        if (decoded.ok()) {
            result.outcome = FileLoad::Outcome::Loaded;
            result.records = std::move(decoded.records);
            return result;
        }
        qWarning("Record file %ls is unreadable: %ls", qUtf16Printable(file),
            qUtf16Printable(decoded.errorText));
    } else {
        qWarning(
            "Record file %ls cannot be read: %ls", qUtf16Printable(file), qUtf16Printable(why));
    }
    result.outcome = FileLoad::Outcome::Failed;
    // A copy of the bytes read, so the damaged file stays where it is.
    if (bytes)
        result.backupFile =
            RecordBackup::keep(backupPath(QFileInfo(file).absolutePath(), backupSecond), *bytes);
    return result;
}

std::optional<QString> RecordStore::finishLoad(FileLoad file)
{
    m_records.clear();
    m_readable = true;
    m_backupFile.reset();
    switch (file.outcome) {
    case FileLoad::Outcome::Loaded:
        m_records = std::move(file.records);
        return std::nullopt;
    case FileLoad::Outcome::Failed:
        lockAfterFailedLoad();
        m_backupFile = std::move(file.backupFile);
        return loadFailedMessage();
    case FileLoad::Outcome::NoFile:
        break;
    }

    const QVariant stored = m_defaults.value(defaultsKey());
    if (!stored.isValid()) {
        // Absent, or there but unreadable: only the first may be written over.
        const std::optional<DefaultsStore::Unreadable> damaged =
            m_defaults.unreadable(defaultsKey());
        if (!damaged)
            return std::nullopt;
        qWarning("Defaults copy of the records cannot be read");
        return lockAndBackUpCopy(damaged->bytes);
    }

    std::optional<QByteArray> bytes;
    if (stored.typeId() == QMetaType::QByteArray) {
        bytes = stored.toByteArray();
        Decoded decoded = RecordCodec::decode(*bytes);
        if (decoded.ok()) {
            m_records = std::move(decoded.records);
            return std::nullopt;
        }
        qWarning(
            "Defaults copy of the records is unreadable: %ls", qUtf16Printable(decoded.errorText));
    } else {
        // Not something this program writes: protect it like unreadable bytes.
        if (stored.typeId() == QMetaType::QString)
            bytes = stored.toString().toUtf8();
        qWarning("Defaults copy of the records has an unexpected type: %s", stored.typeName());
    }
    return lockAndBackUpCopy(bytes);
}

QString RecordStore::lockAndBackUpCopy(const std::optional<QByteArray> &bytes)
{
    lockAfterFailedLoad();
    // The folder may not exist before the first save; the backup needs it now.
    if (m_storageFolder && bytes && UserFiles::makePrivateFolder(*m_storageFolder))
        m_backupFile = RecordBackup::keep(backupPath(*m_storageFolder, backupSecond()), *bytes);
    return loadFailedMessage();
}

RecordStore::SaveResult RecordStore::save(const FocusRecordList &newRecords)
{
    if (!m_readable)
        return {false, lockedMessage()};
    QElapsedTimer held;
    held.start();
    const Written written = write(newRecords);
    return commit(newRecords, written, msSince(held));
}

RecordStore::Written RecordStore::write(const FocusRecordList &newRecords) const
{
    Written result;
    QElapsedTimer timer;
    timer.start();
    const QByteArray bytes = RecordCodec::encode(newRecords);
    result.bytes = bytes.size();
    result.encodeMs = msSince(timer);
    double fileMs = result.encodeMs;
    if (bytes.isEmpty()) {
        result.error = saveFailedPrefix() + u"内存不足，无法生成记录数据"_s;
        return result;
    }

    if (const std::optional<QString> file = storageFile()) {
        if (!UserFiles::makePrivateFolder(*m_storageFolder)) {
            result.error = saveFailedPrefix() + u"无法创建文件夹 "_s
                + QDir::toNativeSeparators(*m_storageFolder);
            return result;
        }
        const FileWriter::Result written = m_writer.writeAtomically(*file, bytes);
        if (!written.ok) {
            const QString reason = written.error.isEmpty()
                ? u"无法写入 "_s + QDir::toNativeSeparators(*file)
                : written.error;
            result.error = saveFailedPrefix() + reason;
            return result;
        }
        fileMs = msSince(timer);
        // The file is the copy that start-up reads; a stale defaults copy is only a fallback.
        if (!m_defaults.setValue(defaultsKey(), bytes))
            qWarning("Records saved to %ls, but the defaults copy could not be updated",
                qUtf16Printable(*file));
    } else if (!m_defaults.setValue(defaultsKey(), bytes)) {
        // Without a record file the defaults copy is the only copy.
        result.error = saveFailedPrefix() + u"无法写入设置存储"_s;
        return result;
    }
    result.ok = true;
    result.fileMs = fileMs - result.encodeMs;
    result.copyMs = msSince(timer) - fileMs;
    return result;
}

RecordStore::SaveResult RecordStore::commit(
    const FocusRecordList &newRecords, const Written &written, double heldMs)
{
    if (!written.ok)
        return {false, written.error};
    qCInfo(lcTiming,
        "saved %lld records (%lld bytes) in %.1f ms: encode %.1f, file %.1f, "
        "defaults copy %.1f; window's thread held %.1f ms",
        qlonglong(newRecords.size()), qlonglong(written.bytes),
        written.encodeMs + written.fileMs + written.copyMs, written.encodeMs, written.fileMs,
        written.copyMs, heldMs);
    m_records = newRecords;
    return {true, {}};
}

RecordStore::SaveResult RecordStore::restore(const FocusRecordList &newRecords)
{
    const bool wasReadable = m_readable;
    m_readable = true;
    const SaveResult result = save(newRecords);
    if (!result.ok)
        m_readable = wasReadable;
    return result;
}
