// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Files that no one should have to read: absurd nesting, numbers beyond any range, broken UTF-8,
// FIFOs, devices, folders and links where files should be, sounds that are none. Nothing
// crashes or hangs, and nothing stored is changed by reading it. (How the codec treats hostile
// names and numbers is proven where the codec lives.)

#include "faultfixtures.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString lockedAtStart = u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s;
const QString lockedAtSave = u"记录读取异常，已暂停写入以保护原数据。"_s;

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldLockWithoutChangingStoredRecordsThatCannotBeRead_data();
    void shouldLockWithoutChangingStoredRecordsThatCannotBeRead();
    void shouldStartWithDefaultsWhenSettingsAreHostile_data();
    void shouldStartWithDefaultsWhenSettingsAreHostile();
    void shouldKeepSavingThroughARecordFileThatIsASymlink();
    void shouldRefuseASoundThatIsNoRegularFileOrTooLarge_data();
    void shouldRefuseASoundThatIsNoRegularFileOrTooLarge();
    void shouldDeleteOnlyItsOwnEarlierCopyOfASound_data();
    void shouldDeleteOnlyItsOwnEarlierCopyOfASound();
};

void TestHostileInput::shouldLockWithoutChangingStoredRecordsThatCannotBeRead_data()
{
    QTest::addColumn<bool>("inCopy"); // the defaults copy with no record file, else the record file
    QTest::addColumn<FaultFixtures::Node>("node");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("backedUp"); // the bytes a backup keeps
    QTest::addColumn<QString>("warning"); // logged for a record file that is no regular file
    using FaultFixtures::Node;
    const auto file = [](const char *name, const QByteArray &bytes) {
        QTest::addRow("record file: %s", name)
            << false << Node::Bytes << bytes << bytes << QString();
    };
    const QByteArray good =
        R"({"id":"8D1F5D0C-3D7A-4C25-9E55-2D8C2B5E6A11","title":"读书","startedAt":699998500,)"
        R"("endedAt":700000000,"duration":1500,"project":"学习","early":false})";
    const QByteArray zeros = R"("startedAt":0,"endedAt":0,"duration":0)";
    file("100k open arrays", QByteArray(100000, '['));
    file("100k objects inside a record",
        "[{" + zeros + ",\"x\":" + QByteArray("{\"a\":").repeated(100000) + "1"
            + QByteArray(100000, '}') + "}]");
    file("100k arrays after a good record",
        "[" + good + "," + QByteArray(100000, '[') + QByteArray(100000, ']') + "]");
    file("invalid byte in a title", "[{\"title\":\"a\xFF\"," + zeros + "}]");
    file("overlong encoding of a slash", "[{\"title\":\"\xC0\xAF\"," + zeros + "}]");
    file("UTF-16 file", QByteArray("\xFF\xFE[\0]\0", 6));
    file("NUL bytes", QByteArray("[\0{}\0]", 6));
    file("cut in the middle", QByteArray("[" + good).left(60));
    file("number only", "1e400");

    // A value holding record bytes backs up those bytes; a file that is not even a value, its own.
    const auto copy = [](const char *name, const QByteArray &stored, QByteArray backedUp = {}) {
        backedUp = backedUp.isNull() ? stored : backedUp;
        QTest::addRow("copy: %s", name) << true << Node::Bytes << stored << backedUp << QString();
    };
    const QByteArray deep = QByteArray(100000, '[');
    const QByteArray broken = "[{\"title\":\"\xF4\x90\x80\x80\"}]";
    copy("record bytes of 100k open arrays", FileDefaultsStore::encodeValue(deep), deep);
    copy("record bytes with a broken sequence", FileDefaultsStore::encodeValue(broken), broken);
    copy("a tagged value nested 100k deep", "J" + QByteArray("{\"list\":[").repeated(100000));
    copy("a tagged string of broken UTF-8", "J{\"string\":\"\xFF\xFE\"}");
    copy("an unknown tag", "X[{}]");
    copy("an empty file", "");

    // Nothing is read from these, so nothing is backed up.
    const QString notRegular = u"not a regular file"_s;
    for (const bool inCopy : {false, true}) {
        const char *where = inCopy ? "copy" : "record file";
        const auto add = [&](const char *name, Node node, const QString &warning) {
            QTest::addRow("%s: %s", where, name)
                << inCopy << node << QByteArray() << QByteArray() << (inCopy ? QString() : warning);
        };
        add("FIFO", Node::Fifo, notRegular);
        add("device", Node::Device, notRegular);
        add("folder", Node::Folder, notRegular);
        add("dangling symlink", Node::DanglingLink,
            u"symbolic link to .*missing-target.json, which is missing"_s);
    }
}

void TestHostileInput::shouldLockWithoutChangingStoredRecordsThatCannotBeRead()
{
    QFETCH(bool, inCopy);
    QFETCH(FaultFixtures::Node, node);
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, backedUp);
    QFETCH(QString, warning);
    FaultFixtures::Bench bench;
    const QString path = inCopy ? bench.copyFile() : bench.recordFile();
    QVERIFY(FaultFixtures::place(path, node, stored));
    for (int start = 0; start < 2 && !warning.isEmpty(); ++start)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Record file .*: .*"_s + warning));
    const FaultFixtures::FifoWatch watch({path});

    auto model = bench.open();
    // A copy that cannot be read is not a copy that is absent: the next save would replace it.
    QVERIFY(!model->recordsReadable());
    QCOMPARE(model->recordError(), lockedAtStart);
    QVERIFY(model->records().isEmpty());
    FaultFixtures::finishSession(*model, bench.clock, u"不会被记下"_s);
    QCOMPARE(model->recordError(), lockedAtSave);

    // Left as it was, and nothing written anywhere but the one backup of the bytes read.
    QVERIFY(FaultFixtures::unchanged(path, node, stored));
    QVERIFY(!QFileInfo::exists(inCopy ? bench.recordFile() : bench.copyFile()));
    const QStringList backups = bench.strays();
    QCOMPARE(backups.size(), node == FaultFixtures::Node::Bytes ? 1 : 0);
    if (!backups.isEmpty()) {
        QCOMPARE(FaultFixtures::readFile(QDir(bench.storage).filePath(backups.first())),
            std::optional(backedUp));
    }

    // Every later start fails on the same bytes; one backup of them is enough.
    model.reset();
    bench.clock.advance(60);
    QVERIFY(!bench.open()->recordsReadable());
    QCOMPARE(bench.strays(), backups);
    QCOMPARE(watch.blockedReaders(), 0);
}

void TestHostileInput::shouldStartWithDefaultsWhenSettingsAreHostile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<FaultFixtures::Node>("node");
    QTest::addColumn<QByteArray>("stored");
    using FaultFixtures::Node;
    const std::tuple<const char *, Node, QByteArray> kinds[] = {
        {"lists nested 100k deep", Node::Bytes, "J" + QByteArray("{\"list\":[").repeated(100000)},
        {"maps nested 100k deep", Node::Bytes,
            "J" + QByteArray("{\"map\":{\"a\":").repeated(100000)},
        {"a number beyond range", Node::Bytes, R"(J{"double":1e400})"},
        {"an integer beyond range", Node::Bytes, R"(J{"int":"99999999999999999999999"})"},
        {"broken UTF-8", Node::Bytes, "J{\"string\":\"\xC3\"}"},
        {"a list of broken UTF-8", Node::Bytes, "J{\"list\":[{\"string\":\"\xE0\x80\"}]}"},
        {"a FIFO", Node::Fifo, {}}, {"a device", Node::Device, {}}, {"a folder", Node::Folder, {}}};
    for (const char *key : {"timer-daily-goal-hours", "timer-projects", "timer-subprojects",
             "timer-project-colors", "timer-custom-project-colors", "timer-sound"}) {
        for (const auto &[kind, node, stored] : kinds)
            QTest::addRow("%s as %s", key, kind) << QString::fromLatin1(key) << node << stored;
    }
}

void TestHostileInput::shouldStartWithDefaultsWhenSettingsAreHostile()
{
    QFETCH(QString, key);
    QFETCH(FaultFixtures::Node, node);
    QFETCH(QByteArray, stored);
    FaultFixtures::Bench bench;
    const QString path = QDir(bench.defaults).filePath(key);
    QVERIFY(FaultFixtures::place(path, node, stored));
    const FaultFixtures::FifoWatch watch({path});

    auto model = bench.open();
    QVERIFY(model->recordsReadable());
    QVERIFY(model->recordError().isEmpty());
    QVERIFY(model->dailyGoalHours() >= 1 && model->dailyGoalHours() <= 16);
    QVERIFY(model->projects().size() < 1000);
    QCOMPARE(model->soundName(), u"Glass"_s);
    // Reading writes nothing over what it could not read.
    QVERIFY(FaultFixtures::unchanged(path, node, stored));

    // And the model works: a session is recorded and read back.
    FaultFixtures::finishSession(*model, bench.clock, u"照常记录"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 1);
    QCOMPARE(bench.open()->records(), model->records());
    QCOMPARE(watch.blockedReaders(), 0);
}

void TestHostileInput::shouldKeepSavingThroughARecordFileThatIsASymlink()
{
    // The records live elsewhere (another disk, a synced folder); the link stays a link.
    FaultFixtures::Bench bench;
    const QString elsewhere = bench.dir.filePath(u"synced"_s);
    const QString target = QDir(elsewhere).filePath(u"records.json"_s);
    const FocusRecordList stored = FaultFixtures::history(3, 690000000.0);
    QVERIFY(FaultFixtures::writeFile(target, RecordCodec::encode(stored)));
    QVERIFY(QDir().mkpath(bench.storage));
    QVERIFY(QFile::link(u"../../synced/records.json"_s, bench.recordFile()));

    auto model = bench.open();
    QCOMPARE(model->records(), stored);
    FaultFixtures::finishSession(*model, bench.clock, u"链接另一头"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));

    QVERIFY(QFileInfo(bench.recordFile()).isSymLink());
    QCOMPARE(RecordCodec::decode(*FaultFixtures::readFile(target)).records, model->records());
    // The new name is made in the target's folder, so that is the folder synced after it.
    QCOMPARE(AtomicFileWriter::renamedIn(bench.recordFile()), QFileInfo(target).absolutePath());
    QCOMPARE(bench.strays(), QStringList());
    QCOMPARE(FaultFixtures::strayEntries(elsewhere, {u"records.json"_s}), QStringList());
}

void TestHostileInput::shouldRefuseASoundThatIsNoRegularFileOrTooLarge_data()
{
    QTest::addColumn<FaultFixtures::Node>("node");
    QTest::addColumn<qint64>("size");
    using FaultFixtures::Node;
    QTest::newRow("FIFO") << Node::Fifo << qint64(0);
    QTest::newRow("device") << Node::Device << qint64(0);
    QTest::newRow("60 MB") << Node::Bytes << qint64(60) * 1000 * 1000;
}

void TestHostileInput::shouldRefuseASoundThatIsNoRegularFileOrTooLarge()
{
    QFETCH(FaultFixtures::Node, node);
    QFETCH(qint64, size);
    FaultFixtures::Bench bench;
    const QString chosen = bench.dir.filePath(u"提醒.wav"_s);
    QVERIFY(FaultFixtures::place(chosen, node));
    if (size > 0)
        QVERIFY(QFile::resize(chosen, size)); // sparse: no 60 MB written
    const FaultFixtures::FifoWatch watch({chosen});
    auto model = bench.open();

    bench.dialogs.audioPath = chosen;
    model->chooseAudio();
    QVERIFY2(model->error().startsWith(u"导入失败："_s), qPrintable(model->error()));
    QCOMPARE(model->customPath(), QString());
    QCOMPARE(model->soundName(), u"Glass"_s);
    QCOMPARE(FaultFixtures::strayEntries(bench.storage, {}), QStringList()); // nothing copied

    // Named by the stored setting all the same, it is refused at the alert.
    model->setError(QString());
    model->setCustomPath(chosen);
    model->setSoundName(u"custom"_s);
    model->play(false);
    QCOMPARE(model->error(), u"铃声无法播放，请重新选择音频。"_s);
    QVERIFY(bench.sound.log.events.filter(u"data:"_s).isEmpty());
    QCOMPARE(watch.blockedReaders(), 0);
}

void TestHostileInput::shouldDeleteOnlyItsOwnEarlierCopyOfASound_data()
{
    QTest::addColumn<QString>("named"); // what "timer-custom-audio" holds, under the temp folder
    QTest::newRow("a file elsewhere") << u"music/闹钟.wav"_s;
    QTest::newRow("the record file") << u"data/VelmorTimer/focus-records.json"_s;
    QTest::newRow("a path that climbs out of the storage folder")
        << u"data/VelmorTimer/../../music/闹钟.wav"_s;
    QTest::newRow("an import's name in another folder")
        << u"music/0E5B3C9A-6F0D-4C1B-9A8E-2B7D4F6A1C3E.wav"_s;
}

void TestHostileInput::shouldDeleteOnlyItsOwnEarlierCopyOfASound()
{
    QFETCH(QString, named);
    FaultFixtures::Bench bench;
    auto model = bench.open();
    FaultFixtures::finishSession(*model, bench.clock, u"先记一条"_s);
    const QString path = bench.dir.filePath(named);
    if (!QFileInfo::exists(path))
        QVERIFY(FaultFixtures::writeFile(path, "RIFF 别人的文件"));
    const std::optional<QByteArray> before = FaultFixtures::readFile(path);
    model->setCustomPath(path);

    QVERIFY(FaultFixtures::writeFile(bench.dir.filePath(u"新铃声.wav"_s), "RIFF 新铃声"));
    bench.dialogs.audioPath = bench.dir.filePath(u"新铃声.wav"_s);
    model->chooseAudio();
    QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
    QCOMPARE(model->soundName(), u"custom"_s);
    QVERIFY(model->customPath().startsWith(bench.storage + u'/'));

    QCOMPARE(FaultFixtures::readFile(path), before);
}

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
