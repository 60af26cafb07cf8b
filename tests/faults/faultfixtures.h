// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "doubles/fakeclock.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"
#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"
#include "records/focusrecord.h"
#include "records/json/recordcodec.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Helpers shared by the fault tests: a realistic history, a private home to open models in, and
// plain file access that never goes through the code under test.
namespace FaultFixtures {

// The record file, and the defaults key of its copy.
inline const QString recordFileName = QStringLiteral("focus-records.json");
inline const QString copyKey = QStringLiteral("focus-records");

// count records, newest first, the newest ending at newestEnd, one every half hour. Titles,
// projects, subprojects and wrap-up notes vary like a real history (about 270 bytes a record).
inline FocusRecordList history(int count, double newestEnd)
{
    static const QString projects[] = {QStringLiteral("学习"), QStringLiteral("工作"),
        QStringLiteral("阅读"), QStringLiteral("未分类")};
    FocusRecordList records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        FocusRecord record;
        record.endedAt = newestEnd - 1800.0 * i;
        record.duration = 1500 - (i % 7) * 61.25;
        record.startedAt = record.endedAt - record.duration - (i % 3) * 30;
        record.title = QStringLiteral("整理第 %1 章的笔记").arg(count - i);
        record.project = projects[i % 4];
        if (i % 5 == 0)
            record.subproject = QStringLiteral("第 %1 单元").arg(i % 9);
        if (i % 3 == 0)
            record.wrapUp = QStringLiteral("完成了提纲，下一步写例题");
        record.early = i % 4 == 1;
        records.append(record);
    }
    return records;
}

inline std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size() && file.flush();
}

// Every entry of a folder but the expected names, hidden files included.
inline QStringList strayEntries(const QString &folder, const QStringList &expected)
{
    QStringList stray = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    stray.removeIf([&expected](const QString &entry) { return expected.contains(entry); });
    return stray;
}

// One session run to zero through the model's own operations; its natural end saves the record.
inline void finishSession(TimerModel &model, FakeClock &clock, const QString &title)
{
    model.reset();
    model.setTitle(title);
    model.start();
    clock.advance(model.duration());
    model.tick();
    clock.advance(5);
}

// What stands at a path where a program expects a file of its own.
enum class Node { Bytes, Fifo, Device, Folder, DanglingLink };

// Puts the node at path (bytes only for Node::Bytes). The device is a null device of its own, or a
// link to /dev/null where device files cannot be made; both open as a character device.
inline bool place(const QString &path, Node node, const QByteArray &bytes = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray native = QFile::encodeName(path);
    switch (node) {
    case Node::Bytes:
        return writeFile(path, bytes);
    case Node::Fifo:
        return ::mkfifo(native.constData(), 0600) == 0;
    case Node::Device:
        return ::mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0
            || ::symlink("/dev/null", native.constData()) == 0;
    case Node::Folder:
        return QDir().mkpath(path);
    case Node::DanglingLink:
        return ::symlink("missing-target.json", native.constData()) == 0;
    }
    return false;
}

// The node is still what place() put there.
inline bool unchanged(const QString &path, Node node, const QByteArray &bytes = {})
{
    const QFileInfo info(path);
    struct stat status { };
    switch (node) {
    case Node::Bytes:
        return !info.isSymLink() && readFile(path) == std::optional(bytes);
    case Node::Fifo:
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0
            && S_ISFIFO(status.st_mode);
    case Node::Device:
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISCHR(status.st_mode);
    case Node::Folder:
        return !info.isSymLink() && info.isDir()
            && QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    case Node::DanglingLink:
        return info.isSymLink() && !info.exists();
    }
    return false;
}

// Watches FIFOs for a reader that opened one in blocking mode and would wait for a writer for
// ever. After a grace far beyond any honest open it plays the writer, so that such a reader
// returns and the test fails on blockedReaders() instead of hanging. Code that never blocks ends
// the test before the grace is up, and the watch then costs nothing.
class FifoWatch {
public:
    explicit FifoWatch(QStringList fifos)
        : m_thread([this, fifos = std::move(fifos)](std::stop_token stop) { watch(stop, fifos); })
    {
    }
    int blockedReaders() const { return m_released; }

private:
    void watch(std::stop_token stop, const QStringList &fifos)
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, stop, std::chrono::seconds(3), [] { return false; });
        while (!stop.stop_requested()) {
            for (const QString &fifo : fifos) {
                // Opening for writing without blocking succeeds only while a reader has it open.
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ::close(fd);
                    ++m_released;
                }
            }
            m_wake.wait_for(lock, stop, std::chrono::milliseconds(20), [] { return false; });
        }
    }

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::atomic<int> m_released = 0;
    std::jthread m_thread; // last: starts once everything it uses exists
};

// A private home for one test: the storage and defaults folders, a fake clock, scripted dialogs
// and a recording sound service, and models opened on them as the application opens its own.
struct Bench {
    Bench()
    {
        QStandardPaths::setTestModeEnabled(true);
        clock.set(700000000.0);
    }

    QString recordFile() const { return QDir(storage).filePath(recordFileName); }
    QString copyFile() const { return QDir(defaults).filePath(copyKey); }
    // Everything in the two folders but the record file and its copy.
    QStringList strays() const
    {
        return strayEntries(storage, {recordFileName}) + strayEntries(defaults, {copyKey});
    }

    std::unique_ptr<TimerModel> open(bool withStorage = true)
    {
        // Every store outlives the models opened on it.
        stores.push_back(
            std::make_unique<FileDefaultsStore>(defaults, AtomicFileWriter::instance()));
        TimerServices services;
        if (withStorage)
            services.storageFolder = storage;
        services.todayClock = clock.clock();
        services.dialogs = &dialogs;
        services.sound = &sound;
        return std::make_unique<TimerModel>(
            *stores.back(), clock.clock(), [] {}, services);
    }

    // A history as an earlier run left it: in the defaults copy, and in the record file too.
    FocusRecordList seed(int count, bool withFile = true) const
    {
        const FocusRecordList records = history(count, 690000000.0);
        const QByteArray bytes = RecordCodec::encode(records);
        const bool written = (!withFile || writeFile(recordFile(), bytes))
            && writeFile(copyFile(), FileDefaultsStore::encodeValue(bytes));
        return written ? records : FocusRecordList();
    }

    QTemporaryDir dir;
    QString storage = dir.filePath(QStringLiteral("data/VelmorTimer"));
    QString defaults = dir.filePath(QStringLiteral("config/VelmorTimer"));
    FakeClock clock;
    ScriptedFileDialogs dialogs;
    RecordingSoundService sound;
    std::vector<std::unique_ptr<FileDefaultsStore>> stores;
};

} // namespace FaultFixtures

Q_DECLARE_METATYPE(FaultFixtures::Node)
