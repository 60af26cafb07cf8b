// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Storage that refuses writes: a folder that cannot be created, a read-only file system, a full
// disk. A refused save loses nothing already stored, and the model keeps working once the
// storage can take writes again. And storage that others could read: whatever the umask, what
// the model creates is the user's alone.
//
// The read-only and full cases use a small tmpfs of their own, which needs the right to mount
// (root on this project's machines); without it they are skipped.

#include "doubles/fakeclock.h"
#include "doubles/recordingservices.h"
#include "faultfixtures.h"
#include "model/timermodel.h"
#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"
#include "records/json/recordcodec.h"

#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString saveFailedPrefix = u"专注记录保存失败，记录未删除："_s;
const QString recordFileName = u"focus-records.json"_s;
const QString copyKey = u"focus-records"_s;

// A tmpfs of a given size, mounted for one test and unmounted after it.
class TinyStorage {
public:
    TinyStorage(const QString &mountPoint, qint64 bytes) : m_mountPoint(mountPoint)
    {
        QDir().mkpath(mountPoint);
        QProcess mount;
        mount.start(u"mount"_s,
            {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size="_s + QString::number(bytes), u"tmpfs"_s,
                mountPoint});
        m_mounted = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit
            && mount.exitCode() == 0;
        if (!m_mounted)
            m_error = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed()
                + mount.errorString();
    }
    ~TinyStorage()
    {
        if (m_mounted)
            QProcess::execute(u"umount"_s, {m_mountPoint});
    }
    TinyStorage(const TinyStorage &) = delete;
    TinyStorage &operator=(const TinyStorage &) = delete;

    bool mounted() const { return m_mounted; }
    QString error() const { return m_error; }

    bool remount(bool readOnly) const
    {
        return QProcess::execute(u"mount"_s,
                   {u"-o"_s, readOnly ? u"remount,ro"_s : u"remount,rw"_s, m_mountPoint})
            == 0;
    }

    // Fills the storage with one file until about freeBytes are left.
    bool fillLeaving(qint64 freeBytes) const
    {
        QStorageInfo info(m_mountPoint);
        const qint64 fill = (info.bytesAvailable() - freeBytes) / 4096 * 4096;
        if (fill <= 0)
            return false;
        QFile filler(fillerPath());
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'x');
        for (qint64 written = 0; written < fill; written += block.size()) {
            if (filler.write(block) != block.size())
                return false;
        }
        return filler.flush();
    }
    bool freeSpace() const { return QFile::remove(fillerPath()); }
    QString fillerPath() const { return QDir(m_mountPoint).filePath(u"filler"_s); }

private:
    QString m_mountPoint;
    bool m_mounted = false;
    QString m_error;
};

// The stored bytes of the record file and of the defaults copy's value file.
struct StoredBytes {
    std::optional<QByteArray> file;
    std::optional<QByteArray> copy;
    friend bool operator==(const StoredBytes &, const StoredBytes &) = default;
};

} // namespace

class TestDiskFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void shouldKeepCopyAndListWhenAFileStandsWhereTheStorageFolderShouldBe();
    void shouldKeepEverythingWhenStorageIsReadOnly();
    void shouldKeepEverythingAndLeaveNoPartialFileWhenDiskIsFull();
    void shouldKeepOldCopyIntactWhenDiskFillsBetweenFileAndCopy();
    void shouldKeepCopyWhenItIsTheOnlyCopyAndDiskIsFull();
    void shouldLeaveNoPartialExportWhenDiskIsFull();
    void shouldKeepEveryFolderAndFilePrivateWhateverTheUmask_data();
    void shouldKeepEveryFolderAndFilePrivateWhateverTheUmask();

private:
    // A model on the given folders, with the clock of this test.
    std::unique_ptr<TimerModel> openModel(std::optional<QString> storage, const QString &defaults);
    StoredBytes storedBytes(const QString &storage, const QString &defaults) const;
    // Seeds a history into the record file and the defaults copy, as an earlier run left them.
    void seed(const std::optional<QString> &storage, const QString &defaults, int count);
    std::unique_ptr<TinyStorage> mountTiny(qint64 bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeClock m_clock;
    std::unique_ptr<FileDefaultsStore> m_defaultsStore;
    ScriptedFileDialogs m_dialogs;
    RecordingSoundService m_sound;
};

void TestDiskFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestDiskFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_clock.set(700000000.0);
}

void TestDiskFaults::cleanup()
{
    m_defaultsStore.reset();
    m_dir.reset();
}

std::unique_ptr<TimerModel> TestDiskFaults::openModel(
    std::optional<QString> storage, const QString &defaults)
{
    m_defaultsStore = std::make_unique<FileDefaultsStore>(defaults, AtomicFileWriter::instance());
    TimerServices services;
    services.storageFolder = std::move(storage);
    services.todayClock = m_clock.clock();
    services.dialogs = &m_dialogs;
    services.sound = &m_sound;
    return std::make_unique<TimerModel>(
        *m_defaultsStore, m_clock.clock(), [] {}, services);
}

StoredBytes TestDiskFaults::storedBytes(const QString &storage, const QString &defaults) const
{
    return {FaultFixtures::readFile(QDir(storage).filePath(recordFileName)),
        FaultFixtures::readFile(QDir(defaults).filePath(copyKey))};
}

void TestDiskFaults::seed(const std::optional<QString> &storage, const QString &defaults, int count)
{
    const QByteArray bytes = RecordCodec::encode(FaultFixtures::history(count, 690000000.0));
    if (storage)
        QVERIFY(FaultFixtures::writeFile(QDir(*storage).filePath(recordFileName), bytes));
    QVERIFY(FaultFixtures::writeFile(
        QDir(defaults).filePath(copyKey), FileDefaultsStore::encodeValue(bytes)));
}

std::unique_ptr<TinyStorage> TestDiskFaults::mountTiny(qint64 bytes)
{
    auto storage = std::make_unique<TinyStorage>(m_dir->filePath(u"tiny"_s), bytes);
    if (!storage->mounted())
        return nullptr;
    return storage;
}

#define MOUNT_TINY_OR_SKIP(var, bytes)                                                             \
    const std::unique_ptr<TinyStorage> var = mountTiny(bytes);                                     \
    if (!var)                                                                                      \
        QSKIP("A tmpfs cannot be mounted here (needs root and the right to mount); the full and "  \
              "read-only storage cases are not run.");

void TestDiskFaults::shouldKeepCopyAndListWhenAFileStandsWhereTheStorageFolderShouldBe()
{
    const QString blocked = m_dir->filePath(u"data"_s);
    QVERIFY(FaultFixtures::writeFile(blocked, "not a folder"));
    const QString storage = QDir(blocked).filePath(u"VelmorTimer"_s);
    const QString defaults = m_dir->filePath(u"config/VelmorTimer"_s);
    seed(std::nullopt, defaults, 40);
    const StoredBytes before = storedBytes(storage, defaults);

    auto model = openModel(storage, defaults);
    QVERIFY(model->recordsReadable());
    const FocusRecordList loaded = model->records();
    QCOMPARE(loaded.size(), 40);

    FaultFixtures::finishSession(*model, m_clock, u"写周报"_s);
    QVERIFY2(model->recordError().startsWith(saveFailedPrefix), qPrintable(model->recordError()));
    QVERIFY(model->recordError().size() > saveFailedPrefix.size());
    QCOMPARE(model->records(), loaded);
    QCOMPARE(storedBytes(storage, defaults), before);

    // The folder can be made again: the next session is stored in both places.
    QVERIFY(QFile::remove(blocked));
    model->setRecordError(QString());
    FaultFixtures::finishSession(*model, m_clock, u"再写周报"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 41);
    QCOMPARE(model->records().mid(1), loaded);
    const StoredBytes after = storedBytes(storage, defaults);
    QVERIFY(after.file);
    QCOMPARE(FileDefaultsStore::encodeValue(*after.file), *after.copy);
    QCOMPARE(RecordCodec::decode(*after.file).records, model->records());
}

void TestDiskFaults::shouldKeepEverythingWhenStorageIsReadOnly()
{
    MOUNT_TINY_OR_SKIP(tiny, 1024 * 1024);
    const QString storage = m_dir->filePath(u"tiny/data/VelmorTimer"_s);
    const QString defaults = m_dir->filePath(u"tiny/config/VelmorTimer"_s);
    seed(storage, defaults, 300);
    const StoredBytes before = storedBytes(storage, defaults);

    auto model = openModel(storage, defaults);
    const FocusRecordList loaded = model->records();
    QCOMPARE(loaded.size(), 300);
    QVERIFY(tiny->remount(true));

    FaultFixtures::finishSession(*model, m_clock, u"读论文"_s);
    QVERIFY2(model->recordError().startsWith(saveFailedPrefix), qPrintable(model->recordError()));
    QCOMPARE(model->records(), loaded);
    model->deleteRecord(loaded.at(3));
    QCOMPARE(model->records(), loaded);
    QVERIFY(!model->deletedRecord());
    QCOMPARE(storedBytes(storage, defaults), before);

    QVERIFY(tiny->remount(false));
    model->setRecordError(QString());
    model->deleteRecord(loaded.at(3));
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 299);
    FaultFixtures::finishSession(*model, m_clock, u"再读论文"_s);
    QCOMPARE(model->records().size(), 300);
    const StoredBytes after = storedBytes(storage, defaults);
    QCOMPARE(RecordCodec::decode(*after.file).records, model->records());
    QCOMPARE(FileDefaultsStore::encodeValue(*after.file), *after.copy);
}

void TestDiskFaults::shouldKeepEverythingAndLeaveNoPartialFileWhenDiskIsFull()
{
    MOUNT_TINY_OR_SKIP(tiny, 1024 * 1024);
    const QString storage = m_dir->filePath(u"tiny/data/VelmorTimer"_s);
    const QString defaults = m_dir->filePath(u"tiny/config/VelmorTimer"_s);
    seed(storage, defaults, 300);
    const StoredBytes before = storedBytes(storage, defaults);
    QVERIFY(before.file->size() > 50000);

    auto model = openModel(storage, defaults);
    const FocusRecordList loaded = model->records();
    // Room for much less than one more copy of the list.
    QVERIFY(tiny->fillLeaving(16 * 1024));

    FaultFixtures::finishSession(*model, m_clock, u"备课"_s);
    QVERIFY2(model->recordError().startsWith(saveFailedPrefix), qPrintable(model->recordError()));
    QVERIFY2(model->recordError().contains(u"space"_s), qPrintable(model->recordError()));
    QCOMPARE(model->records(), loaded);
    QCOMPARE(storedBytes(storage, defaults), before);
    // A refused write leaves no half-written temporary file taking the little room there is.
    QCOMPARE(FaultFixtures::strayEntries(storage, {recordFileName}), QStringList());
    QCOMPARE(FaultFixtures::strayEntries(defaults, {copyKey}), QStringList());

    QVERIFY(tiny->freeSpace());
    model->setRecordError(QString());
    FaultFixtures::finishSession(*model, m_clock, u"再备课"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 301);
    QCOMPARE(model->records().mid(1), loaded);

    // And the next start reads what was stored.
    const StoredBytes after = storedBytes(storage, defaults);
    QCOMPARE(FileDefaultsStore::encodeValue(*after.file), *after.copy);
    auto next = openModel(storage, defaults);
    QVERIFY(next->recordsReadable());
    QCOMPARE(next->records(), model->records());
}

void TestDiskFaults::shouldKeepOldCopyIntactWhenDiskFillsBetweenFileAndCopy()
{
    MOUNT_TINY_OR_SKIP(tiny, 2 * 1024 * 1024);
    const QString storage = m_dir->filePath(u"tiny/data/VelmorTimer"_s);
    const QString defaults = m_dir->filePath(u"tiny/config/VelmorTimer"_s);
    seed(storage, defaults, 3);
    const StoredBytes before = storedBytes(storage, defaults);

    auto model = openModel(storage, defaults);
    const FocusRecordList loaded = model->records();
    // A 300 kB title: the new list fits on the disk once, not twice.
    const QString title = QString(100000, QChar(u'写'));
    const qint64 newSize = RecordCodec::encode(loaded).size() + 3 * title.size();
    QVERIFY(tiny->fillLeaving(newSize + 64 * 1024));

    FaultFixtures::finishSession(*model, m_clock, title);
    // The record file is what start-up reads: the save stands although its copy could not follow.
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 4);
    QCOMPARE(model->records().first().title, title);
    const StoredBytes after = storedBytes(storage, defaults);
    QCOMPARE(RecordCodec::decode(*after.file).records, model->records());
    // The copy is the old one, whole: never cut short by the full disk.
    QCOMPARE(after.copy, before.copy);
    QCOMPARE(FaultFixtures::strayEntries(storage, {recordFileName}), QStringList());
    QCOMPARE(FaultFixtures::strayEntries(defaults, {copyKey}), QStringList());

    auto next = openModel(storage, defaults);
    QVERIFY(next->recordsReadable());
    QCOMPARE(next->records(), model->records());
}

void TestDiskFaults::shouldKeepCopyWhenItIsTheOnlyCopyAndDiskIsFull()
{
    MOUNT_TINY_OR_SKIP(tiny, 1024 * 1024);
    const QString defaults = m_dir->filePath(u"tiny/config/VelmorTimer"_s);
    seed(std::nullopt, defaults, 300);
    const std::optional<QByteArray> before =
        FaultFixtures::readFile(QDir(defaults).filePath(copyKey));

    auto model = openModel(std::nullopt, defaults);
    const FocusRecordList loaded = model->records();
    QCOMPARE(loaded.size(), 300);
    QVERIFY(tiny->fillLeaving(16 * 1024));

    FaultFixtures::finishSession(*model, m_clock, u"练琴"_s);
    QVERIFY2(model->recordError().startsWith(saveFailedPrefix), qPrintable(model->recordError()));
    QCOMPARE(model->records(), loaded);
    QCOMPARE(FaultFixtures::readFile(QDir(defaults).filePath(copyKey)), before);
    QCOMPARE(FaultFixtures::strayEntries(defaults, {copyKey}), QStringList());

    QVERIFY(tiny->freeSpace());
    model->setRecordError(QString());
    FaultFixtures::finishSession(*model, m_clock, u"再练琴"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    auto next = openModel(std::nullopt, defaults);
    QCOMPARE(next->records().size(), 301);
    QCOMPARE(next->records(), model->records());
}

void TestDiskFaults::shouldLeaveNoPartialExportWhenDiskIsFull()
{
    MOUNT_TINY_OR_SKIP(tiny, 1024 * 1024);
    const QString storage = m_dir->filePath(u"data/VelmorTimer"_s);
    const QString defaults = m_dir->filePath(u"config/VelmorTimer"_s);
    seed(storage, defaults, 2000);
    auto model = openModel(storage, defaults);
    QVERIFY(tiny->fillLeaving(16 * 1024));

    const QString exportPath = m_dir->filePath(u"tiny/专注记录.csv"_s);
    m_dialogs.savePath = exportPath;
    model->exportCSV();
    QVERIFY2(model->recordError().startsWith(u"导出失败："_s), qPrintable(model->recordError()));
    QVERIFY(!QFileInfo::exists(exportPath));
    QCOMPARE(FaultFixtures::strayEntries(m_dir->filePath(u"tiny"_s), {u"filler"_s}), QStringList());

    QVERIFY(tiny->freeSpace());
    model->setRecordError(QString());
    model->exportCSV();
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    const std::optional<QByteArray> csv = FaultFixtures::readFile(exportPath);
    QVERIFY(csv);
    QCOMPARE(csv->count('\n'), 2000);
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
    // Nested, so the missing parents are made too.
    const QString storage = m_dir->filePath(u"home/data/VelmorTimer"_s);
    const QString defaults = m_dir->filePath(u"home/config/VelmorTimer"_s);
    const QString sound = m_dir->filePath(u"铃声.wav"_s);
    QVERIFY(FaultFixtures::writeFile(sound, "RIFF 铃声"));
    const mode_t previous = ::umask(mode_t(mask));
    const auto restore = qScopeGuard([previous] { ::umask(previous); });

    {
        auto model = openModel(storage, defaults);
        FaultFixtures::finishSession(*model, m_clock, u"日记"_s);
        QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
        model->setDailyGoalHours(3);
        m_dialogs.audioPath = sound;
        model->chooseAudio();
        QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
        model->exportCSV(); // no save path: cancelled
    }
    // A damaged record file is backed up beside it; the backup is as private as the file.
    QVERIFY(FaultFixtures::writeFile(QDir(storage).filePath(recordFileName), "损坏"));
    QVERIFY(!openModel(storage, defaults)->recordsReadable());

    QStringList seen;
    QDirIterator it(m_dir->filePath(u"home"_s),
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
    for (const QString &name :
        {u"data"_s, u"VelmorTimer"_s, recordFileName, copyKey, u"timer-daily-goal-hours"_s})
        QVERIFY2(seen.contains(name), qPrintable(name));
    QCOMPARE(seen.filter(u".wav"_s).size(), 1);
    QCOMPARE(seen.filter(u"focus-records-corrupt-"_s).size(), 1);
}

QTEST_GUILESS_MAIN(TestDiskFaults)
#include "tst_diskfaults.moc"
