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
const QString folderHere = u"<folder>"_s; // a folder stands where a file should be

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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_folder = m_temp->filePath(u"VelmorTimer"_s);
        m_defaults = MemoryDefaultsStore();
        m_writer.failing = false;
        m_clock.set(clockStart);
    }

    void shouldStartEmptyAndWriteNothingWithNeitherFileNorCopy()
    {
        auto store = makeStore();
        QCOMPARE(store->load(), std::nullopt);
        QVERIFY(store->readable());
        QVERIFY(store->records().isEmpty());
        QCOMPARE(store->storageFile(), recordFile());
        QVERIFY(!QFileInfo::exists(m_folder));
        QVERIFY(m_defaults.writtenKeys.isEmpty());
    }

    void shouldCreateFolderAndIdenticalCopiesOnEverySave()
    {
        auto store = makeStore();
        store->load();
        const FocusRecordList list {makeRecord(u"二"_s, 2000), makeRecord(u"一"_s, 1000)};

        const RecordStore::SaveResult result = store->save(list);
        QVERIFY(result.ok);
        QVERIFY(result.error.isEmpty());
        QCOMPARE(store->records(), list);
        QCOMPARE(readFile(recordFile()), RecordCodec::encode(list));
        QCOMPARE(copy(), RecordCodec::encode(list));
        QCOMPARE(m_defaults.writtenKeys, QStringList {u"focus-records"_s});

        QVERIFY(store->save({list[1]}).ok);
        QCOMPARE(copy(), readFile(recordFile()));
        QCOMPARE(store->records(), FocusRecordList {list[1]});
    }

    // Where the list is read from, and that it comes back newest first whatever the stored order.
    void shouldLoadFromRecordFileElseFromCopy_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no record file
        QTest::addColumn<QByteArray>("copy"); // empty: no copy
        QTest::addColumn<QStringList>("titles");

        const auto bytes = [](const QStringList &titles) {
            FocusRecordList list;
            for (qsizetype i = 0; i < titles.size(); ++i)
                list.append(makeRecord(titles[i], 1000.0 * double((i * 2) % 3)));
            return RecordCodec::encode(list);
        };
        QTest::newRow("file, newest first") << bytes({u"早"_s, u"晚"_s, u"中"_s}) << QByteArray()
                                            << QStringList {u"晚"_s, u"中"_s, u"早"_s};
        QTest::newRow("only the file when both exist")
            << bytes({u"文件"_s}) << bytes({u"副本"_s}) << QStringList {u"文件"_s};
        QTest::newRow("an empty array in the file is readable")
            << "[]"_ba << bytes({u"副本"_s}) << QStringList {};
        QTest::newRow("copy, newest first, without a file")
            << QByteArray() << bytes({u"一"_s, u"二"_s}) << QStringList {u"二"_s, u"一"_s};
    }

    void shouldLoadFromRecordFileElseFromCopy()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, copy);
        QFETCH(QStringList, titles);
        if (!file.isEmpty())
            writeFile(recordFile(), file);
        if (!copy.isEmpty())
            m_defaults.seed(RecordStore::defaultsKey(), copy);

        auto store = makeStore();
        QCOMPARE(store->load(), std::nullopt);
        QVERIFY(store->readable());
        QStringList loaded;
        for (const FocusRecord &record : store->records())
            loaded.append(record.title);
        QCOMPARE(loaded, titles);
        QCOMPARE(QFileInfo::exists(m_folder), !file.isEmpty()); // nothing written at start-up
        QVERIFY(m_defaults.writtenKeys.isEmpty());

        QVERIFY(store->save(store->records()).ok);
        QCOMPARE(readFile(recordFile()), RecordCodec::encode(store->records()));
    }

    void shouldLockAndKeepWhatFailedToLoad_data()
    {
        QTest::addColumn<QVariant>("file"); // invalid: none; its bytes, or folderHere
        QTest::addColumn<QVariant>("copy"); // invalid: none
        QTest::addColumn<bool>("folderKnown");
        QTest::addColumn<QVariant>("backup"); // invalid: none written
        QTest::addColumn<QString>("warning");

        const QVariant good = RecordCodec::encode({makeRecord(u"副本"_s, 1)});
        const auto file = [&](const char *name, const QByteArray &bytes) {
            QTest::newRow(name) << QVariant(bytes) << good << true << QVariant(bytes)
                                << u"^Record file .* is unreadable"_s;
        };
        file("file of plain text", "这不是 JSON"_ba);
        file("empty file", QByteArray());
        file("file truncated by a crash of another program", "[{\"startedAt\":0,\"dur"_ba);
        file("file holding a top-level object", R"({"startedAt":0,"endedAt":0,"duration":0})"_ba);
        file("number among records", R"([{"startedAt":0,"endedAt":0,"duration":0},7])"_ba);
        file("file without a usable element", "[{}]"_ba);
        file("file of invalid UTF-8", "[\"\xC3\x28\"]"_ba);
        file("binary file", QByteArray("\x00\x01\xFF[]", 5));
        QTest::newRow("folder where the record file should be")
            << QVariant(folderHere) << good << true << QVariant() << u"cannot be read"_s;
        QTest::newRow("undecodable copy, backed up in a new folder")
            << QVariant() << QVariant("[{\"startedAt\":"_ba) << true
            << QVariant("[{\"startedAt\":"_ba) << u"^Defaults copy"_s;
        // Not written by this program, so it is protected rather than overwritten.
        QTest::newRow("copy of unexpected type")
            << QVariant() << QVariant(u"[]"_s) << true << QVariant("[]"_ba) << u"unexpected type"_s;
        QTest::newRow("undecodable copy and no storage folder")
            << QVariant() << QVariant("not json"_ba) << false << QVariant() << u"^Defaults copy"_s;
    }

    void shouldLockAndKeepWhatFailedToLoad()
    {
        QFETCH(QVariant, file);
        const bool folder = file.typeId() == QMetaType::QString;
        QFETCH(QVariant, copy);
        QFETCH(bool, folderKnown);
        QFETCH(QVariant, backup);
        QFETCH(QString, warning);
        if (folder)
            QVERIFY(QDir().mkpath(recordFile()));
        else if (file.isValid())
            writeFile(recordFile(), file.toByteArray());
        const QByteArray fileBefore = readFile(recordFile());
        m_defaults.seed(RecordStore::defaultsKey(), copy);

        auto store = folderKnown ? makeStore() : makeStore(std::nullopt, m_writer);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QCOMPARE(store->load(), RecordStore::loadFailedMessage());
        QVERIFY(!store->readable());
        QVERIFY(store->records().isEmpty()); // the copy is not looked at
        if (backup.isValid()) {
            QCOMPARE(store->backupFile(), m_folder + u'/' + backupName);
            QCOMPARE(readFile(*store->backupFile()), backup.toByteArray());
        } else {
            QCOMPARE(store->backupFile(), std::nullopt);
        }

        for (int attempt = 0; attempt < 2; ++attempt) {
            const RecordStore::SaveResult result = store->save({makeRecord(u"新"_s, 2)});
            QVERIFY(!result.ok);
            QCOMPARE(result.error, u"记录读取异常，已暂停写入以保护原数据。"_s);
        }
        QVERIFY(store->records().isEmpty());
        QCOMPARE(readFile(recordFile()), fileBefore);
        QCOMPARE(QFileInfo(recordFile()).isDir(), folder);
        QCOMPARE(QFileInfo::exists(recordFile()), file.isValid());
        QCOMPARE(m_defaults.value(RecordStore::defaultsKey()), copy);
        QVERIFY(m_defaults.writtenKeys.isEmpty());
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(),
            int(file.isValid() && !folder) + int(backup.isValid()));
    }

    // Each failing start backs up what it read once; a backup is never replaced.
    void shouldKeepEveryEarlierBackup()
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

        // A damaged copy's backup does not replace one already there either.
        QVERIFY(QFile::remove(recordFile()));
        m_clock.set(clockStart);
        m_defaults.seed(RecordStore::defaultsKey(), "not json"_ba);
        auto fifth = makeStore();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Defaults copy"_s));
        QCOMPARE(fifth->load(), RecordStore::loadFailedMessage());
        QCOMPARE(fifth->backupFile(), std::nullopt);
        QCOMPARE(readFile(m_folder + u'/' + backupName), "first damage"_ba);
    }

    void shouldBringListBackFromCopyAfterRecordFileIsDeleted()
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

    void shouldSaveThroughCopyAloneWithoutStorageFolder()
    {
        auto store = makeStore(std::nullopt, m_writer);
        QCOMPARE(store->load(), std::nullopt);
        QCOMPARE(store->storageFile(), std::nullopt);

        const FocusRecordList list {makeRecord(u"无文件夹"_s, 1)};
        QVERIFY(store->save(list).ok);
        QCOMPARE(store->records(), list);
        QCOMPARE(copy(), RecordCodec::encode(list));

        auto next = makeStore(std::nullopt, m_writer);
        next->load();
        QCOMPARE(next->records(), list);
    }

    // A failed save changes nothing: not the list, not the record file, not the copy, and it
    // does not lock either.
    void shouldLeaveEverythingUnchangedWhenSaveFails_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason"); // empty: any the system gives

        QTest::newRow("writer fails") << u"writer"_s << u"No space left on device"_s;
        QTest::newRow("folder where the record file should be") << u"folder at file"_s << QString();
        QTest::newRow("file where the storage folder should be")
            << u"file at folder"_s << QString();
        QTest::newRow("read-only folder") << u"read-only"_s << QString();
        QTest::newRow("copy is the only copy and cannot be written") << u"copy"_s << QString();
    }

    void shouldLeaveEverythingUnchangedWhenSaveFails()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);
        if (obstacle == u"read-only" && ::geteuid() == 0)
            QSKIP("root writes into read-only folders; the other obstacles cover this path");
        const FocusRecordList before {makeRecord(u"原有"_s, 1)};
        const QByteArray beforeBytes = RecordCodec::encode(before);
        m_defaults.seed(RecordStore::defaultsKey(), beforeBytes);
        if (obstacle == u"writer" || obstacle == u"read-only")
            writeFile(recordFile(), beforeBytes);
        if (obstacle == u"file at folder")
            writeFile(m_folder, "a file, not a folder");
        auto store = obstacle == u"copy" ? makeStore(std::nullopt, m_writer) : makeStore();
        QCOMPARE(store->load(), std::nullopt);
        QCOMPARE(store->records(), before);
        const QByteArray onDiskBefore =
            readFile(obstacle == u"file at folder" ? m_folder : recordFile());
        if (obstacle == u"folder at file")
            QVERIFY(QDir().mkpath(recordFile())); // appears after start-up
        m_writer.failing = obstacle == u"writer";
        m_defaults.failWrites = obstacle == u"copy";
        if (obstacle == u"read-only")
            QVERIFY(
                QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

        const RecordStore::SaveResult result = store->save({makeRecord(u"新的"_s, 2), before[0]});
        QFile::setPermissions(
            m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!result.ok);
        QVERIFY2(
            result.error.startsWith(u"专注记录保存失败，记录未删除："_s), qPrintable(result.error));
        QVERIFY(result.error.size() > RecordStore::saveFailedPrefix().size());
        if (!reason.isEmpty())
            QCOMPARE(result.error, RecordStore::saveFailedPrefix() + reason);
        QCOMPARE(store->records(), before);
        QCOMPARE(copy(), beforeBytes);
        QVERIFY(m_defaults.writtenKeys.isEmpty());
        QCOMPARE(QFileInfo(recordFile()).isDir(), obstacle == u"folder at file");
        QCOMPARE(readFile(obstacle == u"file at folder" ? m_folder : recordFile()), onDiskBefore);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(),
            int(!onDiskBefore.isEmpty() && obstacle != u"file at folder"));
        QVERIFY(store->readable());
    }

    void shouldKeepNewListWhenOnlyCopyFailsAfterFileWritten()
    {
        auto store = makeStore();
        store->load();
        m_defaults.failWrites = true;
        const FocusRecordList list {makeRecord(u"文件为主"_s, 1)};

        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(u"defaults copy could not be updated"_s));
        QVERIFY(store->save(list).ok);
        QCOMPARE(store->records(), list);
        QCOMPARE(readFile(recordFile()), RecordCodec::encode(list));
        QVERIFY(!m_defaults.contains(RecordStore::defaultsKey()));
    }

    void shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("symlink");
        QTest::addColumn<bool>("removed");
        QTest::newRow("temporary file of the record file")
            << u"focus-records.json.ImeHRi"_s << false << true;
        QTest::newRow("temporary file of a backup")
            << u"focus-records-corrupt-1678336000.json.Zhcapb"_s << false << true;
        QTest::newRow("suffix with a digit") << u"focus-records.json.Ime4Ri"_s << false << false;
        QTest::newRow("suffix of another length")
            << u"focus-records.json.backup1"_s << false << false;
        QTest::newRow("another file's temporary file") << u"notes.txt.ImeHRi"_s << false << false;
        QTest::newRow("symlink named like one") << u"focus-records.json.ImeHRi"_s << true << false;
    }

    void shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad()
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

private:
    std::unique_ptr<RecordStore> makeStore(std::optional<QString> folder, FileWriter &writer)
    {
        return std::make_unique<RecordStore>(
            m_defaults, writer, std::move(folder), m_clock.clock());
    }
    std::unique_ptr<RecordStore> makeStore() { return makeStore(m_folder, m_writer); }
    QString recordFile() const { return m_folder + u"/focus-records.json"_s; }
    QByteArray copy() const { return m_defaults.value(RecordStore::defaultsKey()).toByteArray(); }

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_folder; // "…/VelmorTimer", not created yet
    MemoryDefaultsStore m_defaults;
    SwitchableFileWriter m_writer;
    FakeClock m_clock {clockStart};
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
