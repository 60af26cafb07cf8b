// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordstore.h"

#include "doubles/failingfilewriter.h"
#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "records/instant.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// 2023-03-09 04:26:40.75 UTC: Unix seconds 1678336000.75.
constexpr double clockStart = 700028800.75;
const QString backupName = u"focus-records-corrupt-1678336000.json"_s;

FocusRecord makeRecord(const QString &title, double endedAt)
{
    FocusRecord record;
    record.title = title;
    record.startedAt = endedAt - 1500;
    record.endedAt = endedAt;
    record.duration = 1500;
    record.project = u"学习"_s;
    return record;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestRecordStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void shouldStartEmptyAndWriteNothingWithNeitherFileNorCopy();
    void shouldCreateFolderAndIdenticalCopiesOnFirstSave();
    void shouldLoadRecordFileNewestFirst();
    void shouldLoadEmptyArrayFileAsReadable();
    void shouldDropUnusableElementsFromFileAtNextSave();
    void shouldWriteLowerCaseIdBackInUpperCase();
    void shouldLockOnUnreadableFileAndKeepItsBytes_data();
    void shouldLockOnUnreadableFileAndKeepItsBytes();
    void shouldLockWhenFolderStandsWhereRecordFileShouldBe();
    void shouldKeepFirstBackupWhenTwoStartsFailInSameSecond();
    void shouldLoadDefaultsCopyWhenThereIsNoRecordFile();
    void shouldReadOnlyRecordFileWhenBothExist();
    void shouldBringListBackFromCopyAfterRecordFileIsDeleted();
    void shouldLockOnUndecodableCopyAndBackItUpInNewFolder();
    void shouldNeverReplaceAnExistingBackupOfTheCopy();
    void shouldDropBackupOfCopyWhenStorageFolderIsUnknown();
    void shouldLockOnCopyOfUnexpectedType();
    void shouldSaveThroughCopyAloneWithoutStorageFolder();
    void shouldFailWhenCopyIsOnlyCopyAndCannotBeWritten();
    void shouldLeaveEverythingUnchangedWhenSaveFails_data();
    void shouldLeaveEverythingUnchangedWhenSaveFails();
    void shouldLeaveEverythingUnchangedInReadOnlyFolder();
    void shouldKeepNewListWhenOnlyCopyFailsAfterFileWritten();
    void shouldReloadSavedListExactly();
    void shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad_data();
    void shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad();

private:
    std::unique_ptr<RecordStore> makeStore(std::optional<QString> folder, FileWriter &writer);
    std::unique_ptr<RecordStore> makeStore() { return makeStore(m_folder, m_writer); }
    QString recordFile() const { return m_folder + u"/focus-records.json"_s; }

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_folder; // "…/VelmorTimer", not created yet
    MemoryDefaultsStore m_defaults;
    SwitchableFileWriter m_writer;
    FakeClock m_clock {clockStart};
};

void TestRecordStore::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestRecordStore::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_folder = m_temp->filePath(u"VelmorTimer"_s);
    m_defaults = MemoryDefaultsStore();
    m_writer.failing = false;
    m_clock.set(clockStart);
}

std::unique_ptr<RecordStore> TestRecordStore::makeStore(
    std::optional<QString> folder, FileWriter &writer)
{
    return std::make_unique<RecordStore>(m_defaults, writer, std::move(folder), m_clock.clock());
}

void TestRecordStore::shouldStartEmptyAndWriteNothingWithNeitherFileNorCopy()
{
    auto store = makeStore();
    QCOMPARE(store->load(), std::nullopt);
    QVERIFY(store->readable());
    QVERIFY(store->records().isEmpty());
    QCOMPARE(store->storageFile(), recordFile());
    QVERIFY(!QFileInfo::exists(m_folder));
    QVERIFY(m_defaults.writtenKeys.isEmpty());
}

void TestRecordStore::shouldCreateFolderAndIdenticalCopiesOnFirstSave()
{
    auto store = makeStore();
    store->load();
    const FocusRecordList list {makeRecord(u"二"_s, 2000), makeRecord(u"一"_s, 1000)};

    const RecordStore::SaveResult result = store->save(list);
    QVERIFY(result.ok);
    QVERIFY(result.error.isEmpty());
    QCOMPARE(store->records(), list);
    const QByteArray onDisk = readFile(recordFile());
    QCOMPARE(onDisk, RecordCodec::encode(list));
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), onDisk);
    QCOMPARE(m_defaults.writtenKeys, QStringList {u"focus-records"_s});

    QVERIFY(store->save({list[1]}).ok);
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), readFile(recordFile()));
    QCOMPARE(store->records(), FocusRecordList {list[1]});
}

void TestRecordStore::shouldLoadRecordFileNewestFirst()
{
    const FocusRecordList list {
        makeRecord(u"早"_s, 1000), makeRecord(u"晚"_s, 3000), makeRecord(u"中"_s, 2000)};
    writeFile(recordFile(), RecordCodec::encode(list));

    auto store = makeStore();
    QCOMPARE(store->load(), std::nullopt);
    QVERIFY(store->readable());
    QCOMPARE(store->records(), (FocusRecordList {list[1], list[2], list[0]}));
}

void TestRecordStore::shouldLoadEmptyArrayFileAsReadable()
{
    writeFile(recordFile(), "[]");
    m_defaults.seed(RecordStore::defaultsKey(), RecordCodec::encode({makeRecord(u"副本"_s, 1)}));

    auto store = makeStore();
    QCOMPARE(store->load(), std::nullopt);
    QVERIFY(store->readable());
    QVERIFY(store->records().isEmpty());
    QVERIFY(store->save({makeRecord(u"新"_s, 5)}).ok);
}

void TestRecordStore::shouldDropUnusableElementsFromFileAtNextSave()
{
    writeFile(recordFile(),
        R"([{"title":"缺少时间"},{"startedAt":0,"endedAt":10,"duration":10,"title":"好"}])");
    auto store = makeStore();
    store->load();
    QCOMPARE(store->records().size(), 1);

    QVERIFY(store->save(store->records()).ok);
    QVERIFY(!readFile(recordFile()).contains("缺少时间"));
}

void TestRecordStore::shouldWriteLowerCaseIdBackInUpperCase()
{
    writeFile(recordFile(),
        R"([{"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","startedAt":0,"endedAt":1,"duration":1}])");
    auto store = makeStore();
    store->load();
    QVERIFY(store->save(store->records()).ok);
    QVERIFY(readFile(recordFile()).contains(R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F")"));
}

void TestRecordStore::shouldLockOnUnreadableFileAndKeepItsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain text") << "这不是 JSON"_ba;
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("truncated by a crash of another program")
        << R"([{"startedAt":0,"endedAt":0,"dur)"_ba;
    QTest::newRow("top-level object") << R"({"startedAt":0,"endedAt":0,"duration":0})"_ba;
    QTest::newRow("number among records") << R"([{"startedAt":0,"endedAt":0,"duration":0},7])"_ba;
    QTest::newRow("no usable element") << "[{}]"_ba;
    QTest::newRow("invalid UTF-8") << "[\"\xC3\x28\"]"_ba;
    QTest::newRow("binary") << QByteArray("\x00\x01\xFF[]", 5);
}

void TestRecordStore::shouldLockOnUnreadableFileAndKeepItsBytes()
{
    QFETCH(QByteArray, bytes);
    writeFile(recordFile(), bytes);
    const QByteArray copy = RecordCodec::encode({makeRecord(u"副本"_s, 1)});
    m_defaults.seed(RecordStore::defaultsKey(), copy);

    auto store = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Record file .* is unreadable"_s));
    QCOMPARE(store->load(), RecordStore::loadFailedMessage());
    QVERIFY(!store->readable());
    QVERIFY(store->records().isEmpty()); // the defaults copy is not looked at
    QCOMPARE(store->backupFile(), m_folder + u'/' + backupName);
    QCOMPARE(readFile(*store->backupFile()), bytes);

    for (int attempt = 0; attempt < 2; ++attempt) {
        const RecordStore::SaveResult result = store->save({makeRecord(u"新"_s, 2)});
        QVERIFY(!result.ok);
        QCOMPARE(result.error, u"记录读取异常，已暂停写入以保护原数据。"_s);
    }
    QVERIFY(store->records().isEmpty());
    QCOMPARE(readFile(recordFile()), bytes);
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), copy);
    QVERIFY(m_defaults.writtenKeys.isEmpty());
    QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), 2); // the file and its backup
}

void TestRecordStore::shouldLockWhenFolderStandsWhereRecordFileShouldBe()
{
    QVERIFY(QDir().mkpath(recordFile()));
    m_defaults.seed(RecordStore::defaultsKey(), RecordCodec::encode({makeRecord(u"副本"_s, 1)}));

    auto store = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot be read"_s));
    QCOMPARE(store->load(), RecordStore::loadFailedMessage());
    QVERIFY(!store->readable());
    QCOMPARE(store->backupFile(), std::nullopt); // a folder cannot be copied as a file
    QCOMPARE(store->save({}).error, RecordStore::lockedMessage());
    QVERIFY(QFileInfo(recordFile()).isDir());
}

void TestRecordStore::shouldKeepFirstBackupWhenTwoStartsFailInSameSecond()
{
    writeFile(recordFile(), "first damage");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
    makeStore()->load();

    m_clock.advance(0.2); // same whole second
    writeFile(recordFile(), "second damage");
    auto second = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
    QCOMPARE(second->load(), RecordStore::loadFailedMessage());
    QVERIFY(!second->readable());
    QCOMPARE(second->backupFile(), std::nullopt);
    QCOMPARE(readFile(m_folder + u'/' + backupName), "first damage"_ba);

    m_clock.advance(1);
    auto third = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
    third->load();
    QCOMPARE(third->backupFile(), m_folder + u"/focus-records-corrupt-1678336001.json"_s);
    QCOMPARE(readFile(*third->backupFile()), "second damage"_ba);

    // Later starts on the same damage find their bytes backed up already.
    m_clock.advance(3600);
    auto fourth = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
    fourth->load();
    QCOMPARE(fourth->backupFile(), third->backupFile());
    QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), 3); // the file and two backups
}

void TestRecordStore::shouldLoadDefaultsCopyWhenThereIsNoRecordFile()
{
    const FocusRecordList list {makeRecord(u"一"_s, 1000), makeRecord(u"二"_s, 2000)};
    m_defaults.seed(RecordStore::defaultsKey(), RecordCodec::encode(list));

    auto store = makeStore();
    QCOMPARE(store->load(), std::nullopt);
    QVERIFY(store->readable());
    QCOMPARE(store->records(), (FocusRecordList {list[1], list[0]}));
    QVERIFY(!QFileInfo::exists(m_folder)); // nothing written at start-up
    QVERIFY(m_defaults.writtenKeys.isEmpty());

    QVERIFY(store->save(store->records()).ok);
    QCOMPARE(readFile(recordFile()), RecordCodec::encode({list[1], list[0]}));
}

void TestRecordStore::shouldReadOnlyRecordFileWhenBothExist()
{
    const FocusRecord inFile = makeRecord(u"文件"_s, 1);
    writeFile(recordFile(), RecordCodec::encode({inFile}));
    m_defaults.seed(RecordStore::defaultsKey(), RecordCodec::encode({makeRecord(u"副本"_s, 2)}));

    auto store = makeStore();
    store->load();
    QCOMPARE(store->records(), FocusRecordList {inFile});
}

void TestRecordStore::shouldBringListBackFromCopyAfterRecordFileIsDeleted()
{
    const FocusRecordList list {makeRecord(u"保留"_s, 1)};
    auto first = makeStore();
    first->load();
    QVERIFY(first->save(list).ok);
    QVERIFY(QFile::remove(recordFile()));

    auto next = makeStore();
    QCOMPARE(next->load(), std::nullopt);
    QCOMPARE(next->records(), list);
}

void TestRecordStore::shouldLockOnUndecodableCopyAndBackItUpInNewFolder()
{
    const QByteArray damaged = "[{\"startedAt\":";
    m_defaults.seed(RecordStore::defaultsKey(), damaged);

    auto store = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Defaults copy"_s));
    QCOMPARE(store->load(), RecordStore::loadFailedMessage());
    QVERIFY(!store->readable());
    QVERIFY(store->records().isEmpty());
    QCOMPARE(store->backupFile(), m_folder + u'/' + backupName);
    QCOMPARE(readFile(*store->backupFile()), damaged);
    QVERIFY(!QFileInfo::exists(recordFile()));

    QCOMPARE(store->save({makeRecord(u"新"_s, 1)}).error, RecordStore::lockedMessage());
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), damaged);
    QVERIFY(m_defaults.writtenKeys.isEmpty());
    QVERIFY(!QFileInfo::exists(recordFile()));
}

void TestRecordStore::shouldNeverReplaceAnExistingBackupOfTheCopy()
{
    writeFile(m_folder + u'/' + backupName, "earlier backup");
    m_defaults.seed(RecordStore::defaultsKey(), "not json"_ba);

    auto store = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Defaults copy"_s));
    QCOMPARE(store->load(), RecordStore::loadFailedMessage());
    QCOMPARE(store->backupFile(), std::nullopt);
    QCOMPARE(readFile(m_folder + u'/' + backupName), "earlier backup"_ba);
}

void TestRecordStore::shouldDropBackupOfCopyWhenStorageFolderIsUnknown()
{
    m_defaults.seed(RecordStore::defaultsKey(), "not json"_ba);
    FailingFileWriter writer;

    auto store = makeStore(std::nullopt, writer);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Defaults copy"_s));
    QCOMPARE(store->load(), RecordStore::loadFailedMessage());
    QVERIFY(!store->readable());
    QCOMPARE(store->backupFile(), std::nullopt);
    QCOMPARE(writer.attempts, 0);
    QCOMPARE(store->save({}).error, RecordStore::lockedMessage());
}

void TestRecordStore::shouldLockOnCopyOfUnexpectedType()
{
    // Not written by this program, so it is protected rather than overwritten by the next save.
    const QString text = uR"([{"startedAt":0,"endedAt":0,"duration":0}])"_s;
    m_defaults.seed(RecordStore::defaultsKey(), text);

    auto store = makeStore();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unexpected type"_s));
    QCOMPARE(store->load(), RecordStore::loadFailedMessage());
    QVERIFY(!store->readable());
    QCOMPARE(readFile(*store->backupFile()), text.toUtf8());
    QVERIFY(!store->save({}).ok);
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()), QVariant(text));
}

void TestRecordStore::shouldSaveThroughCopyAloneWithoutStorageFolder()
{
    auto store = makeStore(std::nullopt, m_writer);
    QCOMPARE(store->load(), std::nullopt);
    QCOMPARE(store->storageFile(), std::nullopt);

    const FocusRecordList list {makeRecord(u"无文件夹"_s, 1)};
    QVERIFY(store->save(list).ok);
    QCOMPARE(store->records(), list);
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), RecordCodec::encode(list));

    auto next = makeStore(std::nullopt, m_writer);
    next->load();
    QCOMPARE(next->records(), list);
}

void TestRecordStore::shouldFailWhenCopyIsOnlyCopyAndCannotBeWritten()
{
    auto store = makeStore(std::nullopt, m_writer);
    store->load();
    m_defaults.failWrites = true;

    const RecordStore::SaveResult result = store->save({makeRecord(u"丢不得"_s, 1)});
    QVERIFY(!result.ok);
    QVERIFY(result.error.startsWith(u"专注记录保存失败，记录未删除："_s));
    QVERIFY(result.error.size() > RecordStore::saveFailedPrefix().size());
    QVERIFY(store->records().isEmpty());
}

void TestRecordStore::shouldLeaveEverythingUnchangedWhenSaveFails_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("writer fails") << u"writer"_s;
    QTest::newRow("folder where the record file should be") << u"folder at file"_s;
    QTest::newRow("file where the storage folder should be") << u"file at folder"_s;
}

void TestRecordStore::shouldLeaveEverythingUnchangedWhenSaveFails()
{
    QFETCH(QString, obstacle);
    const FocusRecordList before {makeRecord(u"原有"_s, 1)};
    const QByteArray beforeBytes = RecordCodec::encode(before);
    m_defaults.seed(RecordStore::defaultsKey(), beforeBytes);
    QString expectedReason;

    if (obstacle == u"writer") {
        writeFile(recordFile(), beforeBytes);
        m_writer.failing = true;
        expectedReason = u"No space left on device"_s;
    } else if (obstacle == u"file at folder") {
        writeFile(m_folder, "a file, not a folder");
    }
    auto store = makeStore();
    QCOMPARE(store->load(), std::nullopt);
    QCOMPARE(store->records(), before);
    if (obstacle == u"folder at file")
        QVERIFY(QDir().mkpath(recordFile())); // appears after start-up
    const QByteArray onDiskBefore = obstacle == u"writer" ? beforeBytes : readFile(m_folder);

    const RecordStore::SaveResult result = store->save({makeRecord(u"新的"_s, 2), before[0]});
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith(RecordStore::saveFailedPrefix()), qPrintable(result.error));
    QVERIFY(result.error.size() > RecordStore::saveFailedPrefix().size());
    if (!expectedReason.isEmpty())
        QCOMPARE(result.error, RecordStore::saveFailedPrefix() + expectedReason);
    QCOMPARE(store->records(), before);
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), beforeBytes);
    QVERIFY(m_defaults.writtenKeys.isEmpty());
    if (obstacle == u"writer")
        QCOMPARE(readFile(recordFile()), beforeBytes);
    else if (obstacle == u"folder at file")
        QVERIFY(QFileInfo(recordFile()).isDir());
    else
        QCOMPARE(readFile(m_folder), onDiskBefore);
    QVERIFY(store->readable()); // a failed save does not lock
}

void TestRecordStore::shouldLeaveEverythingUnchangedInReadOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("root writes into read-only folders; the other failure cases cover this path");
    const FocusRecordList before {makeRecord(u"原有"_s, 1)};
    auto store = makeStore();
    store->load();
    QVERIFY(store->save(before).ok);
    const QByteArray beforeBytes = readFile(recordFile());
    QVERIFY(QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    const RecordStore::SaveResult result = store->save({});
    QFile::setPermissions(
        m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!result.ok);
    QVERIFY(result.error.startsWith(RecordStore::saveFailedPrefix()));
    QCOMPARE(store->records(), before);
    QCOMPARE(readFile(recordFile()), beforeBytes);
    QCOMPARE(m_defaults.value(RecordStore::defaultsKey()).toByteArray(), beforeBytes);
}

void TestRecordStore::shouldKeepNewListWhenOnlyCopyFailsAfterFileWritten()
{
    auto store = makeStore();
    store->load();
    m_defaults.failWrites = true;
    const FocusRecordList list {makeRecord(u"文件为主"_s, 1)};

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"defaults copy could not be updated"_s));
    const RecordStore::SaveResult result = store->save(list);
    QVERIFY(result.ok);
    QCOMPARE(store->records(), list);
    QCOMPARE(readFile(recordFile()), RecordCodec::encode(list));
    QVERIFY(!m_defaults.contains(RecordStore::defaultsKey()));
}

void TestRecordStore::shouldReloadSavedListExactly()
{
    FocusRecord full = makeRecord(u"\"引号\" \\ 😀 \u202E 换行\n"_s, 786543210.1234568);
    full.subproject = u"英语"_s;
    full.wrapUp = u"读完第三章；下一步：做练习"_s;
    full.early = true;
    full.duration = 0.1;
    FocusRecord odd = makeRecord(QString(), -5);
    odd.duration = std::numeric_limits<double>::infinity();
    const FocusRecordList list {full, odd};

    auto store = makeStore();
    store->load();
    QVERIFY(store->save(list).ok);
    auto next = makeStore();
    QCOMPARE(next->load(), std::nullopt);
    QCOMPARE(next->records(), list);
}

void TestRecordStore::shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("symlink");
    QTest::addColumn<bool>("removed");
    QTest::newRow("temporary file of the record file")
        << u"focus-records.json.ImeHRi"_s << false << true;
    QTest::newRow("temporary file of a backup")
        << u"focus-records-corrupt-1678336000.json.Zhcapb"_s << false << true;
    QTest::newRow("suffix with a digit") << u"focus-records.json.Ime4Ri"_s << false << false;
    QTest::newRow("suffix of another length") << u"focus-records.json.backup1"_s << false << false;
    QTest::newRow("another file's temporary file") << u"notes.txt.ImeHRi"_s << false << false;
    QTest::newRow("symlink named like one") << u"focus-records.json.ImeHRi"_s << true << false;
}

void TestRecordStore::shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad()
{
    QFETCH(QString, name);
    QFETCH(bool, symlink);
    QFETCH(bool, removed);
    const FocusRecordList stored {makeRecord(u"留下"_s, 100)};
    writeFile(recordFile(), RecordCodec::encode(stored));
    const QString path = m_folder + u'/' + name;
    if (symlink)
        QVERIFY(QFile::link(recordFile(), path));
    else
        writeFile(path, "[]");

    auto store = makeStore();
    QCOMPARE(store->load(), std::nullopt);
    QCOMPARE(store->records(), stored);
    QCOMPARE(QFileInfo(path).exists() || QFileInfo(path).isSymLink(), !removed);
}
QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
