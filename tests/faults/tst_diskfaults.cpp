// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Storage that refuses writes: a folder that cannot be created, a read-only file system, a full
// disk. A refused save loses nothing already stored, and the model keeps working once the
// storage can take writes again. And storage that others could read: whatever the umask, what
// the model creates is the user's alone.
//
// The read-only and full cases use a small tmpfs of their own, which needs the right to mount
// (root on this project's machines); without it they are skipped.

#include "faultfixtures.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QStorageInfo>
#include <QTest>

#include <sys/mount.h>

using namespace Qt::StringLiterals;

namespace {

const QString saveFailedPrefix = u"专注记录保存失败，记录未删除："_s;

// Takes all the room of the file system at folder but about freeBytes with one file.
bool fillLeaving(const QByteArray &folder, qint64 freeBytes)
{
    const qint64 fill = QStorageInfo(QFile::decodeName(folder)).bytesAvailable() - freeBytes;
    const int fd =
        ::open(QByteArray(folder + "/filler").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const bool filled = fd >= 0 && fill > 0 && ::posix_fallocate(fd, 0, fill) == 0;
    ::close(fd);
    return filled;
}

enum class Refusal { FolderBlocked, ReadOnly, Full };

} // namespace

Q_DECLARE_METATYPE(Refusal)

class TestDiskFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldChangeNothingWhenStorageRefusesASaveAndStoreAllOnceItTakesWrites_data();
    void shouldChangeNothingWhenStorageRefusesASaveAndStoreAllOnceItTakesWrites();
    void shouldKeepEveryFolderAndFilePrivateWhateverTheUmask_data();
    void shouldKeepEveryFolderAndFilePrivateWhateverTheUmask();
};

void TestDiskFaults::shouldChangeNothingWhenStorageRefusesASaveAndStoreAllOnceItTakesWrites_data()
{
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<bool>("withStorage"); // else the defaults copy is the only copy
    QTest::addColumn<QString>("reason"); // what the message must name
    QTest::newRow("a file where the storage folder should be")
        << Refusal::FolderBlocked << true << QString();
    QTest::newRow("read-only storage") << Refusal::ReadOnly << true << QString();
    QTest::newRow("full disk") << Refusal::Full << true << u"space"_s;
    QTest::newRow("full disk holding the only copy") << Refusal::Full << false << QString();
}

void TestDiskFaults::shouldChangeNothingWhenStorageRefusesASaveAndStoreAllOnceItTakesWrites()
{
    QFETCH(Refusal, refusal);
    QFETCH(bool, withStorage);
    QFETCH(QString, reason);
    FaultFixtures::Bench bench;
    const QString blocked = bench.dir.filePath(u"data"_s);
    // The read-only and full cases put both folders on a tmpfs of 1 MB of their own.
    const QByteArray tiny = QFile::encodeName(bench.dir.filePath(u"tiny"_s));
    if (refusal == Refusal::FolderBlocked) {
        QVERIFY(FaultFixtures::writeFile(blocked, "not a folder"));
    } else {
        QVERIFY(QDir().mkpath(QFile::decodeName(tiny)));
        if (::mount("tmpfs", tiny.constData(), "tmpfs", 0, "size=1048576") != 0)
            QSKIP("A tmpfs cannot be mounted here (needs root and the right to mount).");
        bench.storage = bench.dir.filePath(u"tiny/data/VelmorTimer"_s);
        bench.defaults = bench.dir.filePath(u"tiny/config/VelmorTimer"_s);
    }
    const auto unmount = qScopeGuard([&tiny] { ::umount2(tiny.constData(), MNT_DETACH); });
    // Makes the storage refuse writes, or take them again. A full disk has room for much less
    // than one more copy of the list.
    const auto refuse = [&](bool on) {
        switch (refusal) {
        case Refusal::FolderBlocked:
            return on || QFile::remove(blocked);
        case Refusal::ReadOnly:
            return ::mount(nullptr, tiny.constData(), nullptr, MS_REMOUNT | (on ? MS_RDONLY : 0),
                       nullptr)
                == 0;
        case Refusal::Full:
            return on ? fillLeaving(tiny, 16 * 1024)
                      : ::unlink(QByteArray(tiny + "/filler").constData()) == 0;
        }
        return false;
    };
    // The stored bytes of the record file and of the defaults copy's value file.
    const auto storedBytes = [&bench] {
        return std::pair(
            FaultFixtures::readFile(bench.recordFile()), FaultFixtures::readFile(bench.copyFile()));
    };
    const FocusRecordList loaded =
        bench.seed(300, withStorage && refusal != Refusal::FolderBlocked);
    QCOMPARE(loaded.size(), 300);
    const auto before = storedBytes();
    auto model = bench.open(withStorage);
    QCOMPARE(model->records(), loaded);

    QVERIFY(refuse(true));
    FaultFixtures::finishSession(*model, bench.clock, u"备课"_s);
    const QString error = model->recordError();
    QVERIFY2(error.startsWith(saveFailedPrefix) && error.size() > saveFailedPrefix.size()
            && error.contains(reason),
        qPrintable(error));
    QCOMPARE(model->records(), loaded);
    QVERIFY(storedBytes() == before);
    // No half-written temporary file takes the little room there is.
    QCOMPARE(bench.strays(), QStringList());

    // The storage takes writes again: the next session is stored with everything before it.
    QVERIFY(refuse(false));
    model->setRecordError(QString());
    FaultFixtures::finishSession(*model, bench.clock, u"再备课"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 301);
    QCOMPARE(model->records().mid(1), loaded);
    const auto [file, copy] = storedBytes();
    if (withStorage)
        QCOMPARE(FileDefaultsStore::encodeValue(*file), *copy);
    auto next = bench.open(withStorage);
    QVERIFY(next->recordsReadable());
    QCOMPARE(next->records(), model->records());
}

void TestDiskFaults::shouldKeepEveryFolderAndFilePrivateWhateverTheUmask_data()
{
    QTest::addColumn<int>("mask");
    QTest::newRow("umask 000: all for everyone") << 0;
    QTest::newRow("umask 022: the usual") << 022;
    QTest::newRow("umask 277: not even for the owner") << 0277;
}

void TestDiskFaults::shouldKeepEveryFolderAndFilePrivateWhateverTheUmask()
{
    QFETCH(int, mask);
    FaultFixtures::Bench bench;
    // Nested, so the missing parents are made too.
    bench.storage = bench.dir.filePath(u"home/data/VelmorTimer"_s);
    bench.defaults = bench.dir.filePath(u"home/config/VelmorTimer"_s);
    const QString sound = bench.dir.filePath(u"铃声.wav"_s);
    QVERIFY(FaultFixtures::writeFile(sound, "RIFF 铃声"));
    const mode_t previous = ::umask(mode_t(mask));
    const auto restore = qScopeGuard([previous] { ::umask(previous); });

    {
        auto model = bench.open();
        FaultFixtures::finishSession(*model, bench.clock, u"日记"_s);
        QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
        model->setDailyGoalHours(3);
        bench.dialogs.audioPath = sound;
        model->chooseAudio();
        QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
    }
    // A damaged record file is backed up beside it; the backup is as private as the file.
    QVERIFY(FaultFixtures::writeFile(bench.recordFile(), "损坏"));
    QVERIFY(!bench.open()->recordsReadable());

    QStringList seen;
    QDirIterator it(bench.dir.filePath(u"home"_s),
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        struct stat status { };
        QVERIFY(::lstat(QFile::encodeName(entry.filePath()).constData(), &status) == 0);
        const mode_t mode = status.st_mode & 07777;
        QVERIFY2(mode == (entry.isDir() ? 0700 : 0600),
            qPrintable(u"%1 is %2"_s.arg(entry.filePath(), QString::number(mode, 8))));
        seen.append(entry.fileName());
    }
    // Every kind was there to be checked: the folders, the copy, a setting, the sound, the backup.
    for (const QString &name : {u"data"_s, u"VelmorTimer"_s, FaultFixtures::recordFileName,
             FaultFixtures::copyKey, u"timer-daily-goal-hours"_s})
        QVERIFY2(seen.contains(name), qPrintable(name));
    QCOMPARE(seen.filter(u".wav"_s).size(), 1);
    QCOMPARE(seen.filter(u"focus-records-corrupt-"_s).size(), 1);
}

QTEST_GUILESS_MAIN(TestDiskFaults)
#include "tst_diskfaults.moc"
