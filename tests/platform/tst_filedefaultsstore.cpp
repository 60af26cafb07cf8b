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
#include <memory>

using namespace Qt::StringLiterals;

class FileDefaultsStoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    FileDefaultsStore reopened() const { return {m_dir->path(), AtomicFileWriter::instance()}; }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

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
        QTest::newRow("string list, as a list of strings")
            << QVariant(QStringList {u"学习"_s, u"工作"_s}) << int(QMetaType::QVariantList);
        QTest::newRow("map of lists") << QVariant(
            QVariantMap {{u"学习"_s, QVariantList {u"阅读"_s, 0.46}}, {u"工作"_s, QVariantList {}}})
                                      << int(QMetaType::QVariantMap);
        QTest::newRow("map of ints")
            << QVariant(QVariantMap {{u"学习"_s, qint64(3)}}) << int(QMetaType::QVariantMap);
    }
    void shouldReadBackEveryValueWithItsType()
    {
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QVERIFY(reopened().setValue(u"timer-key"_s, value));
        const QVariant read = reopened().value(u"timer-key"_s);
        QCOMPARE(read.typeId(), type);
        QCOMPARE(read, DefaultsValue::normalized(value));
        // Every entry of a list or a map is kept.
        QCOMPARE(read.toList().size() + read.toMap().size(),
            value.toList().size() + value.toMap().size());
        if (value.typeId() == QMetaType::QStringList)
            QCOMPARE(DefaultsValue::toStringList(read), value.toStringList());
    }

    // A small setting must not rewrite the large record copy.
    void shouldWriteOnlyTheChangedKey()
    {
        FileDefaultsStore store = reopened();
        store.setValue(u"focus-records"_s, QByteArray(1 << 20, 'x'));
        QFile recordCopy(m_dir->filePath(u"focus-records"_s));
        QVERIFY(recordCopy.open(QIODevice::ReadWrite));
        const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
        QVERIFY(recordCopy.setFileTime(hourAgo, QFileDevice::FileModificationTime));
        store.setValue(u"timer-daily-goal-hours"_s, 6);
        QCOMPARE(QFileInfo(recordCopy).lastModified(), hourAgo);
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
        QFile file(m_dir->filePath(u"timer-sound"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QVERIFY(!reopened().value(u"timer-sound"_s).isValid());
    }

    void shouldKeepTheOldValueWhenAWriteFails()
    {
        SwitchableFileWriter writer;
        FileDefaultsStore store(m_dir->path(), writer);
        QVERIFY(store.setValue(u"timer-sound"_s, u"Pop"_s));
        writer.failing = true;
        QVERIFY(!store.setValue(u"timer-sound"_s, u"Hero"_s));
        QCOMPARE(store.value(u"timer-sound"_s), QVariant(u"Pop"_s));
        QCOMPARE(reopened().value(u"timer-sound"_s), QVariant(u"Pop"_s));
        // A removed key is gone, also after a relaunch.
        writer.failing = false;
        store.remove(u"timer-sound"_s);
        QVERIFY(!store.contains(u"timer-sound"_s));
        QVERIFY(!reopened().contains(u"timer-sound"_s));
    }

    void shouldRefuseKeysThatAreNotPlainNames()
    {
        FileDefaultsStore store(m_dir->filePath(u"store"_s), AtomicFileWriter::instance());
        for (const QString &key : {u"../escape"_s, u"a/b"_s, QString(), u"Timer"_s}) {
            QVERIFY2(!store.setValue(key, 1), qPrintable(key));
            QVERIFY(!store.value(key).isValid());
        }
        QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
    }

    void shouldReplaceAFileWholeAndLeaveNoTemporaryFile()
    {
        const QString path = m_dir->filePath(u"data.json"_s);
        AtomicFileWriter writer;
        QVERIFY(writer.writeAtomically(path, "old").ok);
        QVERIFY(writer.writeAtomically(path, "new content").ok);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new content"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
            QStringList {u"data.json"_s});
    }

    void shouldReportAWriteThatCannotHappen()
    {
        const QString folder = m_dir->filePath(u"focus-records.json"_s);
        QVERIFY(QDir().mkpath(folder));
        for (const QString &path : {folder, m_dir->filePath(u"missing/file"_s)}) {
            const FileWriter::Result result = AtomicFileWriter().writeAtomically(path, "[]");
            QVERIFY(!result.ok);
            QVERIFY(!result.error.isEmpty());
        }
        QVERIFY(QFileInfo(folder).isDir());
    }
};

QTEST_GUILESS_MAIN(FileDefaultsStoreTest)
#include "tst_filedefaultsstore.moc"
