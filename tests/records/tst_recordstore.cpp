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

    void shouldCreateFolderAndIdenticalCopiesOnEverySave()
    {
        auto store = makeStore();
        store->load();
        const FocusRecordList list {makeRecord(u"二"_s, 2000), makeRecord(u"一"_s, 1000)};

        QVERIFY(store->save(list).ok);
        QCOMPARE(store->records(), list);
        QCOMPARE(readFile(recordFile()), RecordCodec::encode(list));
        QCOMPARE(copy(), RecordCodec::encode(list));
        QCOMPARE(m_defaults.writtenKeys, QStringList {u"focus-records"_s});

        QVERIFY(store->save({list[1]}).ok);
        QCOMPARE(copy(), readFile(recordFile()));
    }

    // Where the list is read from, newest first whatever the stored order; nothing is written
    // at start-up.
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
        QTest::newRow("neither file nor copy") << QByteArray() << QByteArray() << QStringList {};
        QTest::newRow("file, newest first") << bytes({u"早"_s, u"晚"_s, u"中"_s}) << QByteArray()
                                            << QStringList {u"晚"_s, u"中"_s, u"早"_s};
        QTest::newRow("an empty array in the file wins over the copy")
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
        QCOMPARE(QFileInfo::exists(m_folder), !file.isEmpty());
        QVERIFY(m_defaults.writtenKeys.isEmpty());
    }

    // Writing stays locked and nothing read is changed; the bytes read are backed up.
    void shouldLockAndKeepWhatFailedToLoad_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: none
        QTest::addColumn<QVariant>("copy"); // invalid: none
        QTest::addColumn<bool>("folderKnown");
        QTest::addColumn<QVariant>("backup"); // invalid: none written
        QTest::addColumn<QString>("warning");

        const QVariant good = RecordCodec::encode({makeRecord(u"副本"_s, 1)});
        QTest::newRow("file of plain text")
            << "这不是 JSON"_ba << good << true << QVariant("这不是 JSON"_ba) << u"is unreadable"_s;
        // Not written by this program, so it is protected rather than overwritten.
        QTest::newRow("copy of unexpected type") << QByteArray() << QVariant(u"[]"_s) << true
                                                 << QVariant("[]"_ba) << u"unexpected type"_s;
        QTest::newRow("undecodable copy and no storage folder")
            << QByteArray() << QVariant("not json"_ba) << false << QVariant()
            << u"^Defaults copy"_s;
    }

    void shouldLockAndKeepWhatFailedToLoad()
    {
        QFETCH(QByteArray, file);
        QFETCH(QVariant, copy);
        QFETCH(bool, folderKnown);
        QFETCH(QVariant, backup);
        QFETCH(QString, warning);
        if (!file.isEmpty())
            writeFile(recordFile(), file);
        m_defaults.seed(RecordStore::defaultsKey(), copy);

        auto store = folderKnown ? makeStore() : makeStore(std::nullopt, m_writer);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QCOMPARE(store->load(), RecordStore::loadFailedMessage());
        QVERIFY(!store->readable());
        QVERIFY(store->records().isEmpty()); // the copy is not looked at
        QCOMPARE(store->backupFile().has_value(), backup.isValid());
        if (backup.isValid())
            QCOMPARE(readFile(*store->backupFile()), backup.toByteArray());

        for (int attempt = 0; attempt < 2; ++attempt) {
            const RecordStore::SaveResult result = store->save({makeRecord(u"新"_s, 2)});
            QVERIFY(!result.ok);
            QCOMPARE(result.error, u"记录读取异常，已暂停写入以保护原数据。"_s);
        }
        QVERIFY(store->records().isEmpty());
        QCOMPARE(readFile(recordFile()), file);
        QCOMPARE(m_defaults.value(RecordStore::defaultsKey()), copy);
        QVERIFY(m_defaults.writtenKeys.isEmpty());
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(),
            int(!file.isEmpty()) + int(backup.isValid()));
    }

    // A backup is never replaced, not even by other damage found in the same second.
    void shouldNeverReplaceABackup()
    {
        writeFile(recordFile(), "first damage");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
        makeStore()->load();

        m_clock.advance(0.2);
        writeFile(recordFile(), "second damage");
        auto second = makeStore();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
        QCOMPARE(second->load(), RecordStore::loadFailedMessage());
        QCOMPARE(second->backupFile(), std::nullopt);
        QCOMPARE(readFile(m_folder + u'/' + backupName), "first damage"_ba);

        // A later start on bytes already backed up finds that backup instead of writing one.
        writeFile(recordFile(), "first damage");
        m_clock.advance(3600);
        auto later = makeStore();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
        later->load();
        QCOMPARE(later->backupFile(), m_folder + u'/' + backupName);
    }

    // A failed save changes nothing: not the list, not the record file, not the copy, and it
    // does not lock either.
    void shouldLeaveEverythingUnchangedWhenSaveFails_data()
    {
        QTest::addColumn<bool>("withFolder"); // else the copy is the only copy
        QTest::newRow("record file cannot be written") << true;
        QTest::newRow("copy is the only copy and cannot be written") << false;
    }

    void shouldLeaveEverythingUnchangedWhenSaveFails()
    {
        QFETCH(bool, withFolder);
        const FocusRecordList before {makeRecord(u"原有"_s, 1)};
        const QByteArray beforeBytes = RecordCodec::encode(before);
        m_defaults.seed(RecordStore::defaultsKey(), beforeBytes);
        if (withFolder)
            writeFile(recordFile(), beforeBytes);
        auto store = withFolder ? makeStore() : makeStore(std::nullopt, m_writer);
        QCOMPARE(store->load(), std::nullopt);
        m_writer.failing = withFolder;
        m_defaults.failWrites = !withFolder;

        const RecordStore::SaveResult result = store->save({makeRecord(u"新的"_s, 2), before[0]});
        QVERIFY(!result.ok);
        QVERIFY2(
            result.error.startsWith(u"专注记录保存失败，记录未删除："_s), qPrintable(result.error));
        QVERIFY(result.error.size() > RecordStore::saveFailedPrefix().size());
        if (withFolder)
            QCOMPARE(result.error, RecordStore::saveFailedPrefix() + u"No space left on device"_s);
        QCOMPARE(store->records(), before);
        QCOMPARE(copy(), beforeBytes);
        QVERIFY(m_defaults.writtenKeys.isEmpty());
        QCOMPARE(readFile(recordFile()), withFolder ? beforeBytes : QByteArray());
        QCOMPARE(QDir(m_folder).entryList(QDir::Files).size(), int(withFolder));
        QVERIFY(store->readable());
    }

    // The record file is the list of record: once it is written, a copy that cannot follow only
    // costs the copy.
    void shouldKeepTheNewListWhenOnlyTheCopyFailsAfterTheFile()
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

    // Only regular files named like this program's own temporary files are removed.
    void shouldRemoveOnlyLeftoversOfInterruptedSavesAtLoad()
    {
        const FocusRecordList stored {makeRecord(u"留下"_s, 100)};
        writeFile(recordFile(), RecordCodec::encode(stored));
        const QString leftover = recordFile() + u".azAZhR"_s; // every edge of the letters
        const QString withDigit = recordFile() + u".Ime4Ri"_s;
        const QString link = recordFile() + u".Zhcapb"_s;
        writeFile(leftover, "[]");
        writeFile(withDigit, "[]");
        QVERIFY(QFile::link(recordFile(), link));

        auto store = makeStore();
        QCOMPARE(store->load(), std::nullopt);
        QCOMPARE(store->records(), stored);
        QVERIFY(!QFileInfo::exists(leftover));
        QVERIFY(QFileInfo::exists(withDigit));
        QVERIFY(QFileInfo(link).isSymLink());
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
