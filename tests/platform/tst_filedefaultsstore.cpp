// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/failingfilewriter.h"
#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class FileDefaultsStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldReadBackEveryValueWithItsType_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");

        QTest::newRow("int") << QVariant(5) << int(QMetaType::LongLong);
        QTest::newRow("64-bit max")
            << QVariant(std::numeric_limits<qint64>::max()) << int(QMetaType::LongLong);
        QTest::newRow("double") << QVariant(0.1) << int(QMetaType::Double);
        QTest::newRow("whole double stays a double") << QVariant(3.0) << int(QMetaType::Double);
        QTest::newRow("bool") << QVariant(true) << int(QMetaType::Bool);
        QTest::newRow("string") << QVariant(u"学习 \"quoted\"\n"_s) << int(QMetaType::QString);
        QTest::newRow("empty string") << QVariant(QString()) << int(QMetaType::QString);
        QTest::newRow("bytes") << QVariant(QByteArray("\0[{\"x\":1}]\xff", 11))
                               << int(QMetaType::QByteArray);
        QTest::newRow("list of doubles")
            << QVariant(QVariantList {0.16, 0.46, 0.86, 1.0}) << int(QMetaType::QVariantList);
        QTest::newRow("map of lists") << QVariant(QVariantMap {
            {u"学习"_s, QVariantList {u"阅读"_s, u"写作"_s}}, {u"工作"_s, QVariantList {}}})
                                      << int(QMetaType::QVariantMap);
        QTest::newRow("map of ints")
            << QVariant(QVariantMap {{u"学习"_s, qint64(3)}}) << int(QMetaType::QVariantMap);
    }

    void shouldReadBackEveryValueWithItsType()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QTemporaryDir dir;
        {
            FileDefaultsStore store(dir.path(), AtomicFileWriter::instance());
            QVERIFY(store.setValue(u"timer-key"_s, value));
        }
        FileDefaultsStore reopened(dir.path(), AtomicFileWriter::instance());
        const QVariant read = reopened.value(u"timer-key"_s);
        QCOMPARE(read.typeId(), type);
        QCOMPARE(read, DefaultsValue::normalized(value));
    }

    void shouldKeepAStringListAsAListOfStrings()
    {
        QTemporaryDir dir;
        FileDefaultsStore(dir.path(), AtomicFileWriter::instance())
            .setValue(u"timer-projects"_s, QStringList {u"学习"_s, u"工作"_s});
        const QVariant read =
            FileDefaultsStore(dir.path(), AtomicFileWriter::instance()).value(u"timer-projects"_s);
        QVERIFY(DefaultsValue::isStringList(read));
        QCOMPARE(DefaultsValue::toStringList(read), (QStringList {u"学习"_s, u"工作"_s}));
    }

    // A small setting must not rewrite the large record copy.
    void shouldWriteOnlyTheChangedKey()
    {
        QTemporaryDir dir;
        FileDefaultsStore store(dir.path(), AtomicFileWriter::instance());
        store.setValue(u"focus-records"_s, QByteArray(1 << 20, 'x'));
        const QString recordCopy = dir.filePath(u"focus-records"_s);
        const QDateTime written = QFileInfo(recordCopy).lastModified();
        {
            QFile file(recordCopy);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(written.addSecs(-3600), QFileDevice::FileModificationTime));
        }
        store.setValue(u"timer-daily-goal-hours"_s, 6);
        QCOMPARE(QFileInfo(recordCopy).lastModified(), written.addSecs(-3600));
    }

    void shouldReadDamagedOrForeignFilesAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("unknown tag") << QByteArray("X123");
        QTest::newRow("not json") << QByteArray("J{oops");
        QTest::newRow("untagged json") << QByteArray("J{\"a\":1}");
        QTest::newRow("two tags") << QByteArray("J{\"int\":\"1\",\"string\":\"x\"}");
        QTest::newRow("int not a number") << QByteArray("J{\"int\":\"12abc\"}");
        QTest::newRow("list with a bad element")
            << QByteArray("J{\"list\":[{\"string\":\"a\"},{\"huh\":1}]}");
        QTest::newRow("bad base64") << QByteArray("J{\"bytes\":\"@@@\"}");
        QTest::newRow("deep nesting") << QByteArray("J") + QByteArray(5000, '[');
    }

    void shouldReadDamagedOrForeignFilesAsAbsent()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"timer-sound"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        FileDefaultsStore store(dir.path(), AtomicFileWriter::instance());
        QVERIFY(!store.value(u"timer-sound"_s).isValid());
    }

    void shouldKeepTheOldValueWhenAWriteFails()
    {
        QTemporaryDir dir;
        SwitchableFileWriter writer;
        FileDefaultsStore store(dir.path(), writer);
        QVERIFY(store.setValue(u"timer-sound"_s, u"Pop"_s));
        writer.failing = true;
        QVERIFY(!store.setValue(u"timer-sound"_s, u"Hero"_s));
        QCOMPARE(store.value(u"timer-sound"_s), QVariant(u"Pop"_s));
        QCOMPARE(FileDefaultsStore(dir.path(), writer).value(u"timer-sound"_s), QVariant(u"Pop"_s));
    }

    void shouldRefuseKeysThatAreNotPlainNames_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("path") << u"../escape"_s;
        QTest::newRow("slash") << u"a/b"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("upper case") << u"Timer"_s;
    }

    void shouldRefuseKeysThatAreNotPlainNames()
    {
        QFETCH(QString, key);
        QTemporaryDir dir;
        FileDefaultsStore store(dir.filePath(u"store"_s), AtomicFileWriter::instance());
        QVERIFY(!store.setValue(key, 1));
        QVERIFY(!store.value(key).isValid());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void shouldForgetARemovedKey()
    {
        QTemporaryDir dir;
        FileDefaultsStore store(dir.path(), AtomicFileWriter::instance());
        store.setValue(u"timer-sound"_s, u"Pop"_s);
        store.remove(u"timer-sound"_s);
        QVERIFY(!store.contains(u"timer-sound"_s));
        QVERIFY(!FileDefaultsStore(dir.path(), AtomicFileWriter::instance())
                     .contains(u"timer-sound"_s));
    }

    void shouldReplaceAFileWholeAndLeaveNoTemporaryFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"data.json"_s);
        AtomicFileWriter writer;
        QVERIFY(writer.writeAtomically(path, "old").ok);
        QVERIFY(writer.writeAtomically(path, "new content").ok);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new content"));
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {u"data.json"_s});
    }

    void shouldReportAFolderWhereTheFileShouldBe()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"focus-records.json"_s);
        QVERIFY(QDir().mkpath(path));
        const FileWriter::Result result = AtomicFileWriter().writeAtomically(path, "[]");
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(QFileInfo(path).isDir());
    }

    void shouldReportAMissingFolder()
    {
        QTemporaryDir dir;
        const FileWriter::Result result =
            AtomicFileWriter().writeAtomically(dir.filePath(u"missing/file"_s), "[]");
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(FileDefaultsStoreTest)
#include "tst_filedefaultsstore.moc"
