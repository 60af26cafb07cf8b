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
        QTest::newRow("double") << QVariant(0.1) << int(QMetaType::Double);
        QTest::newRow("whole double stays a double") << QVariant(3.0) << int(QMetaType::Double);
        QTest::newRow("bool") << QVariant(true) << int(QMetaType::Bool);
        QTest::newRow("string") << QVariant(u"学习 \"quoted\"\n"_s) << int(QMetaType::QString);
        QTest::newRow("bytes") << QVariant(QByteArray("\0[{\"x\":1}]\xff", 11))
                               << int(QMetaType::QByteArray);
        QTest::newRow("string list, as a list of strings")
            << QVariant(QStringList {u"学习"_s, u"工作"_s}) << int(QMetaType::QVariantList);
        QTest::newRow("map of lists") << QVariant(
            QVariantMap {{u"学习"_s, QVariantList {u"阅读"_s, 0.46}}, {u"工作"_s, QVariantList {}}})
                                      << int(QMetaType::QVariantMap);
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

    void shouldReadDamagedOrForeignFilesAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("unknown tag") << QByteArray("X123");
        QTest::newRow("not json") << QByteArray("J{oops");
        QTest::newRow("int not a number") << QByteArray("J{\"int\":\"12abc\"}");
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
        // Nor is a value written that would not read back: lists nested deeper than JSON is read.
        writer.failing = false;
        QVariant deep = QVariantList {};
        for (int level = 0; level < 600; ++level)
            deep = QVariantList {deep};
        QVERIFY(!store.setValue(u"timer-sound"_s, deep));
        QCOMPARE(reopened().value(u"timer-sound"_s), QVariant(u"Pop"_s));
        // A removed key is gone, also after a relaunch.
        store.remove(u"timer-sound"_s);
        QVERIFY(!store.contains(u"timer-sound"_s));
        QVERIFY(!reopened().contains(u"timer-sound"_s));
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
