// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Files and names that no one should have to read: absurd nesting, numbers beyond any range,
// broken UTF-8, a record file of 200 MB, control characters and bidirectional marks in names,
// names of a megabyte, FIFOs, devices, folders and links where files should be, sounds that are
// none. Nothing crashes or hangs, and nothing stored is changed by reading it.

#include "doubles/fakeclock.h"
#include "doubles/recordingservices.h"
#include "faultfixtures.h"
#include "model/timermodel.h"
#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"
#include "records/json/recordcodec.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString recordFileName = u"focus-records.json"_s;
const QString copyKey = u"focus-records"_s;

QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        bytes += piece;
    return bytes;
}

const QByteArray oneGoodRecord =
    R"({"id":"8D1F5D0C-3D7A-4C25-9E55-2D8C2B5E6A11","title":"读书","startedAt":699998500,)"
    R"("endedAt":700000000,"duration":1500,"project":"学习","early":false})";

// The cells of a CSV text: quoted cells with doubled quotes, line breaks kept inside quotes.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows(1);
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            rows.last().append(cell);
            cell.clear();
        } else if (c == u'\n') {
            rows.last().append(cell);
            cell.clear();
            rows.append(QStringList());
        } else {
            cell += c;
        }
    }
    rows.last().append(cell);
    return rows;
}

// A text as a UTF-8 file holds it: a lone surrogate has no UTF-8 form and is written as "?".
QString asWritten(const QString &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(text.toUtf8());
}

quint64 bitsOf(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

QByteArray sha1Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return hash.result();
}

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void shouldLockWithoutChangingAHostileRecordFile_data();
    void shouldLockWithoutChangingAHostileRecordFile();
    void shouldLockWithoutChangingAHostileDefaultsCopy_data();
    void shouldLockWithoutChangingAHostileDefaultsCopy();
    void shouldLockOnStoredRecordsThatAreNoRegularFile_data();
    void shouldLockOnStoredRecordsThatAreNoRegularFile();
    void shouldStartWithDefaultsWhenSettingsAreHostile_data();
    void shouldStartWithDefaultsWhenSettingsAreHostile();
    void shouldKeepSavingThroughARecordFileThatIsASymlink();
    void shouldRefuseASoundThatIsNoRegularFileOrTooLarge_data();
    void shouldRefuseASoundThatIsNoRegularFileOrTooLarge();
    void shouldDeleteOnlyItsOwnEarlierCopyOfASound_data();
    void shouldDeleteOnlyItsOwnEarlierCopyOfASound();
    void shouldKeepWorkingWithNumbersBeyondDoubleRange();
    void shouldRefuseOrLoadA200MegabyteRecordFileWithoutChangingIt();
    void shouldKeepNamesWithControlAndDirectionMarksUnchanged_data();
    void shouldKeepNamesWithControlAndDirectionMarksUnchanged();
    void shouldKeepMegabyteNamesUnchanged();

private:
    std::unique_ptr<TimerModel> openModel(bool withStorage = true);
    QString recordFile() const { return QDir(m_storage).filePath(recordFileName); }
    // Runs a natural-end session and an early one with a wrap-up, in the given project.
    void recordTwoSessions(
        TimerModel &model, const QString &project, const QString &title, const QString &wrapUp);
    // The exported CSV of the model's records, as cells.
    QList<QStringList> exportedCells(TimerModel &model);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_storage;
    QString m_defaults;
    FakeClock m_clock;
    std::unique_ptr<FileDefaultsStore> m_defaultsStore;
    ScriptedFileDialogs m_dialogs;
    RecordingSoundService m_sound;
};

void TestHostileInput::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHostileInput::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_storage = m_dir->filePath(u"data/VelmorTimer"_s);
    m_defaults = m_dir->filePath(u"config/VelmorTimer"_s);
    m_clock.set(700000000.0);
    m_dialogs.audioPath.reset();
    m_sound.log.events.clear();
}

void TestHostileInput::cleanup()
{
    m_defaultsStore.reset();
    m_dir.reset();
}

std::unique_ptr<TimerModel> TestHostileInput::openModel(bool withStorage)
{
    m_defaultsStore = std::make_unique<FileDefaultsStore>(m_defaults, AtomicFileWriter::instance());
    TimerServices services;
    if (withStorage)
        services.storageFolder = m_storage;
    services.todayClock = m_clock.clock();
    services.dialogs = &m_dialogs;
    services.sound = &m_sound;
    return std::make_unique<TimerModel>(
        *m_defaultsStore, m_clock.clock(), [] {}, services);
}

void TestHostileInput::recordTwoSessions(
    TimerModel &model, const QString &project, const QString &title, const QString &wrapUp)
{
    QVERIFY(model.addProject(project));
    model.setSelectedProject(project);
    FaultFixtures::finishSession(model, m_clock, title);
    model.reset();
    model.setTitle(title);
    model.start();
    m_clock.advance(125);
    model.finishEarly();
    QVERIFY(model.pendingFinish());
    model.commitEarly(wrapUp);
    QVERIFY2(model.recordError().isEmpty(), qPrintable(model.recordError()));
    QCOMPARE(model.records().size(), 2);
}

QList<QStringList> TestHostileInput::exportedCells(TimerModel &model)
{
    const QString path = m_dir->filePath(u"export.csv"_s);
    m_dialogs.savePath = path;
    model.exportCSV();
    if (!model.recordError().isEmpty())
        return {};
    const std::optional<QByteArray> bytes = FaultFixtures::readFile(path);
    if (!bytes || !bytes->startsWith("\xEF\xBB\xBF"))
        return {};
    return parseCsv(QString::fromUtf8(bytes->mid(3)));
}

void TestHostileInput::shouldLockWithoutChangingAHostileRecordFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = oneGoodRecord;
    const QByteArray zeros = R"("startedAt":0,"endedAt":0,"duration":0)";
    QTest::newRow("100k open arrays") << QByteArray(100000, '[');
    QTest::newRow("100k arrays opened and closed")
        << QByteArray(QByteArray(100000, '[') + QByteArray(100000, ']'));
    QTest::newRow("100k objects inside a record") << QByteArray("[{" + zeros
        + ",\"x\":" + repeated("{\"a\":", 100000) + "1" + QByteArray(100000, '}') + "}]");
    QTest::newRow("100k arrays after a good record")
        << QByteArray("[" + good + "," + QByteArray(100000, '[') + QByteArray(100000, ']') + "]");
    QTest::newRow("invalid byte in a title") << QByteArray("[{\"title\":\"a\xFF\"," + zeros + "}]");
    QTest::newRow("overlong encoding of a slash")
        << QByteArray("[{\"title\":\"\xC0\xAF\"," + zeros + "}]");
    QTest::newRow("encoded surrogate")
        << QByteArray("[{\"title\":\"\xED\xA0\x80\"," + zeros + "}]");
    QTest::newRow("truncated sequence at the end") << QByteArray("[\"\xE5\xAD");
    QTest::newRow("Latin-1 text") << QByteArray("[{\"title\":\"caf\xE9\"," + zeros + "}]");
    QTest::newRow("UTF-16 file") << QByteArray("\xFF\xFE[\0]\0", 6);
    QTest::newRow("NUL bytes") << QByteArray("[\0{}\0]", 6);
    QTest::newRow("cut in the middle") << QByteArray("[" + good).left(60);
    QTest::newRow("number only") << QByteArray("1e400");
}

void TestHostileInput::shouldLockWithoutChangingAHostileRecordFile()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(FaultFixtures::writeFile(recordFile(), bytes));

    auto model = openModel();
    QVERIFY(!model->recordsReadable());
    QCOMPARE(model->recordError(), u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s);
    QVERIFY(model->records().isEmpty());

    FaultFixtures::finishSession(*model, m_clock, u"不会被记下"_s);
    QCOMPARE(model->recordError(), u"记录读取异常，已暂停写入以保护原数据。"_s);
    QCOMPARE(FaultFixtures::readFile(recordFile()), std::optional(bytes));
    QVERIFY(!QFileInfo::exists(QDir(m_defaults).filePath(copyKey)));
    const QStringList backups = FaultFixtures::strayEntries(m_storage, {recordFileName});
    QCOMPARE(backups.size(), 1);
    QCOMPARE(
        FaultFixtures::readFile(QDir(m_storage).filePath(backups.first())), std::optional(bytes));

    // Every later start fails on the same bytes; one backup of them is enough.
    model.reset();
    m_clock.advance(60);
    QVERIFY(!openModel()->recordsReadable());
    QCOMPARE(FaultFixtures::strayEntries(m_storage, {recordFileName}), backups);
}

void TestHostileInput::shouldLockWithoutChangingAHostileDefaultsCopy_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("backedUp"); // the bytes a backup keeps
    const QByteArray deep = QByteArray(100000, '[');
    const QByteArray broken = "[{\"title\":\"\xF4\x90\x80\x80\"}]";
    QTest::newRow("record bytes of 100k open arrays")
        << FileDefaultsStore::encodeValue(deep) << deep;
    QTest::newRow("record bytes with a broken sequence")
        << FileDefaultsStore::encodeValue(broken) << broken;
    // Not even a value: the file's own bytes are kept.
    const QByteArray nested = "J" + repeated("{\"list\":[", 100000);
    QTest::newRow("a tagged value nested 100k deep") << nested << nested;
    const QByteArray brokenString = "J{\"string\":\"\xFF\xFE\"}";
    QTest::newRow("a tagged string of broken UTF-8") << brokenString << brokenString;
    QTest::newRow("an unknown tag") << "X[{}]"_ba
                                    << "X[{}]"_ba;
    QTest::newRow("an empty file") << QByteArray() << QByteArray();
}

void TestHostileInput::shouldLockWithoutChangingAHostileDefaultsCopy()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, backedUp);
    const QString copyPath = QDir(m_defaults).filePath(copyKey);
    QVERIFY(FaultFixtures::writeFile(copyPath, stored));

    auto model = openModel();
    // A copy that cannot be read is not a copy that is absent: the next save would replace it.
    QVERIFY(!model->recordsReadable());
    QCOMPARE(model->recordError(), u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s);
    const QStringList backups = FaultFixtures::strayEntries(m_storage, {});
    QCOMPARE(backups.size(), 1);
    QCOMPARE(FaultFixtures::readFile(QDir(m_storage).filePath(backups.first())),
        std::optional(backedUp));

    FaultFixtures::finishSession(*model, m_clock, u"不会被记下"_s);
    QCOMPARE(model->recordError(), u"记录读取异常，已暂停写入以保护原数据。"_s);
    QVERIFY(!QFileInfo::exists(recordFile()));
    QCOMPARE(FaultFixtures::readFile(copyPath), std::optional(stored));

    model.reset();
    m_clock.advance(60);
    QVERIFY(!openModel()->recordsReadable());
    QCOMPARE(FaultFixtures::strayEntries(m_storage, {}), backups);
}

void TestHostileInput::shouldLockOnStoredRecordsThatAreNoRegularFile_data()
{
    QTest::addColumn<bool>("inCopy"); // the defaults copy, else the record file
    QTest::addColumn<FaultFixtures::Node>("node");
    QTest::addColumn<QString>("warning");
    using FaultFixtures::Node;
    QTest::newRow("record file: FIFO") << false << Node::Fifo << u"not a regular file"_s;
    QTest::newRow("record file: device") << false << Node::Device << u"not a regular file"_s;
    QTest::newRow("record file: folder") << false << Node::Folder << u"not a regular file"_s;
    QTest::newRow("record file: dangling symlink")
        << false << Node::DanglingLink
        << u"symbolic link to .*missing-target.json, which is missing"_s;
    QTest::newRow("copy: FIFO") << true << Node::Fifo << QString();
    QTest::newRow("copy: device") << true << Node::Device << QString();
    QTest::newRow("copy: folder") << true << Node::Folder << QString();
    QTest::newRow("copy: dangling symlink") << true << Node::DanglingLink << QString();
}

void TestHostileInput::shouldLockOnStoredRecordsThatAreNoRegularFile()
{
    QFETCH(bool, inCopy);
    QFETCH(FaultFixtures::Node, node);
    QFETCH(QString, warning);
    const QString path = inCopy ? QDir(m_defaults).filePath(copyKey) : recordFile();
    QVERIFY(FaultFixtures::place(path, node));
    if (!inCopy)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Record file .*: .*"_s + warning));
    const FaultFixtures::FifoWatch watch({path});

    auto model = openModel();
    QCOMPARE(watch.blockedReaders(), 0);
    QVERIFY(!model->recordsReadable());
    QCOMPARE(model->recordError(), u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s);
    FaultFixtures::finishSession(*model, m_clock, u"不会被记下"_s);
    QCOMPARE(model->recordError(), u"记录读取异常，已暂停写入以保护原数据。"_s);

    // Nothing was read from it, so nothing is backed up, and nothing is written anywhere.
    QVERIFY(FaultFixtures::unchanged(path, node));
    QCOMPARE(FaultFixtures::strayEntries(m_storage, {recordFileName}), QStringList());
    QCOMPARE(FaultFixtures::strayEntries(m_defaults, {copyKey}), QStringList());
    if (inCopy)
        QVERIFY(!QFileInfo::exists(recordFile()));
    QCOMPARE(watch.blockedReaders(), 0);
}

void TestHostileInput::shouldStartWithDefaultsWhenSettingsAreHostile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<FaultFixtures::Node>("node");
    QTest::addColumn<QByteArray>("stored");
    using FaultFixtures::Node;
    const QByteArray deep = QByteArray("J" + repeated("{\"list\":[", 100000));
    const QByteArray deepMap = QByteArray("J" + repeated("{\"map\":{\"a\":", 100000));
    for (const char *key : {"timer-daily-goal-hours", "timer-projects", "timer-subprojects",
             "timer-project-colors", "timer-custom-project-colors", "timer-sound"}) {
        const QString name = QString::fromLatin1(key);
        QTest::addRow("%s nested 100k deep in lists", key) << name << Node::Bytes << deep;
        QTest::addRow("%s nested 100k deep in maps", key) << name << Node::Bytes << deepMap;
        QTest::addRow("%s as a number beyond range", key)
            << name << Node::Bytes << QByteArray(R"(J{"double":1e400})");
        QTest::addRow("%s as an integer beyond range", key)
            << name << Node::Bytes << QByteArray(R"(J{"int":"99999999999999999999999"})");
        QTest::addRow("%s as broken UTF-8", key)
            << name << Node::Bytes << QByteArray("J{\"string\":\"\xC3\"}");
        QTest::addRow("%s as a list of broken UTF-8", key)
            << name << Node::Bytes << QByteArray("J{\"list\":[{\"string\":\"\xE0\x80\"}]}");
        QTest::addRow("%s as a FIFO", key) << name << Node::Fifo << QByteArray();
        QTest::addRow("%s as a device", key) << name << Node::Device << QByteArray();
        QTest::addRow("%s as a folder", key) << name << Node::Folder << QByteArray();
    }
}

void TestHostileInput::shouldStartWithDefaultsWhenSettingsAreHostile()
{
    QFETCH(QString, key);
    QFETCH(FaultFixtures::Node, node);
    QFETCH(QByteArray, stored);
    const QString path = QDir(m_defaults).filePath(key);
    QVERIFY(FaultFixtures::place(path, node, stored));
    const FaultFixtures::FifoWatch watch({path});

    auto model = openModel();
    QCOMPARE(watch.blockedReaders(), 0);
    QVERIFY(model->recordsReadable());
    QVERIFY(model->recordError().isEmpty());
    QVERIFY(model->dailyGoalHours() >= 1 && model->dailyGoalHours() <= 16);
    QVERIFY(model->projects().size() < 1000);
    QCOMPARE(model->soundName(), u"Glass"_s);
    // Reading writes nothing over what it could not read.
    QVERIFY(FaultFixtures::unchanged(path, node, stored));

    // And the model works: a session is recorded and read back.
    FaultFixtures::finishSession(*model, m_clock, u"照常记录"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 1);
    auto next = openModel();
    QCOMPARE(next->records(), model->records());
    QCOMPARE(watch.blockedReaders(), 0);
}

void TestHostileInput::shouldKeepSavingThroughARecordFileThatIsASymlink()
{
    // The records live elsewhere (another disk, a synced folder); the link stays a link.
    const QString elsewhere = m_dir->filePath(u"synced"_s);
    const QString target = QDir(elsewhere).filePath(u"records.json"_s);
    const FocusRecordList stored = FaultFixtures::history(3, 690000000.0);
    QVERIFY(FaultFixtures::writeFile(target, RecordCodec::encode(stored)));
    QVERIFY(QDir().mkpath(m_storage));
    QVERIFY(QFile::link(u"../../synced/records.json"_s, recordFile()));

    auto model = openModel();
    QCOMPARE(model->records(), stored);
    FaultFixtures::finishSession(*model, m_clock, u"链接另一头"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));

    QVERIFY(QFileInfo(recordFile()).isSymLink());
    QCOMPARE(RecordCodec::decode(*FaultFixtures::readFile(target)).records, model->records());
    // The new name is made in the target's folder, so that is the folder synced after it.
    QCOMPARE(AtomicFileWriter::renamedIn(recordFile()), QFileInfo(target).absolutePath());
    QCOMPARE(FaultFixtures::strayEntries(m_storage, {recordFileName}), QStringList());
    QCOMPARE(FaultFixtures::strayEntries(elsewhere, {u"records.json"_s}), QStringList());
    QCOMPARE(openModel()->records(), model->records());
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
    const QString chosen = m_dir->filePath(u"提醒.wav"_s);
    QVERIFY(FaultFixtures::place(chosen, node));
    if (size > 0)
        QVERIFY(QFile::resize(chosen, size)); // sparse: no 60 MB written
    const FaultFixtures::FifoWatch watch({chosen});
    auto model = openModel();

    m_dialogs.audioPath = chosen;
    model->chooseAudio();
    QVERIFY2(model->error().startsWith(u"导入失败："_s), qPrintable(model->error()));
    QCOMPARE(model->customPath(), QString());
    QCOMPARE(model->soundName(), u"Glass"_s);
    QCOMPARE(FaultFixtures::strayEntries(m_storage, {}), QStringList()); // nothing copied

    // Named by the stored setting all the same, it is refused at the alert.
    model->setError(QString());
    model->setCustomPath(chosen);
    model->setSoundName(u"custom"_s);
    model->play(false);
    QCOMPARE(model->error(), u"铃声无法播放，请重新选择音频。"_s);
    QVERIFY(m_sound.log.events.filter(u"data:"_s).isEmpty());
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
    auto model = openModel();
    FaultFixtures::finishSession(*model, m_clock, u"先记一条"_s);
    const QString path = m_dir->filePath(named);
    if (!QFileInfo::exists(path))
        QVERIFY(FaultFixtures::writeFile(path, "RIFF 别人的文件"));
    const std::optional<QByteArray> before = FaultFixtures::readFile(path);
    model->setCustomPath(path);

    QVERIFY(FaultFixtures::writeFile(m_dir->filePath(u"新铃声.wav"_s), "RIFF 新铃声"));
    m_dialogs.audioPath = m_dir->filePath(u"新铃声.wav"_s);
    model->chooseAudio();
    QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
    QCOMPARE(model->soundName(), u"custom"_s);
    QVERIFY(model->customPath().startsWith(m_storage + u'/'));

    QCOMPARE(FaultFixtures::readFile(path), before);
    auto next = openModel();
    QCOMPARE(next->records().size(), 1);
}

void TestHostileInput::shouldKeepWorkingWithNumbersBeyondDoubleRange()
{
    const QByteArray bytes =
        "["
        R"({"title":"远古","startedAt":-1e400,"endedAt":-1e400,"duration":1e400},)"
        R"({"title":"未来","startedAt":1e400,"endedAt":1e400,"duration":-1e400},)"
        R"({"title":"微小","startedAt":1e-400,"endedAt":-1e-400,"duration":4.9e-324},)"
        R"({"title":"巨大","startedAt":1.7976931348623157e308,)"
        R"("endedAt":-1.7976931348623157e308,"duration":1e19},)"
        + oneGoodRecord + "]";
    QVERIFY(FaultFixtures::writeFile(recordFile(), bytes));

    auto model = openModel();
    QVERIFY(model->recordsReadable());
    QCOMPARE(model->records().size(), 5);
    QCOMPARE(model->records().first().title, u"未来"_s);
    QVERIFY(std::isinf(model->records().first().endedAt));

    // Every figure and text copes with them.
    for (const FocusRecord &record : model->records())
        QVERIFY(!record.durationText().isEmpty());
    QVERIFY(std::isfinite(model->todayTotal()));
    QVERIFY(!model->todayDisplay().isEmpty());
    QCOMPARE(model->weekColumns()->count(), 7);
    QVERIFY(!model->weekSummary().isEmpty());
    QVERIFY(model->longestSession() >= 0);
    for (const QString &range : {u"今天"_s, u"本周"_s, u"全部"_s}) {
        model->setRecordRange(range);
        QVERIFY(model->visibleRecords().size() <= 5);
    }
    model->setRecordRange(u"全部"_s);
    const QList<QStringList> cells = exportedCells(*model);
    QCOMPARE(cells.size(), 6);
    for (const QStringList &row : cells)
        QCOMPARE(row.size(), 8);

    // A save writes them so that they read back the same, bit for bit.
    FaultFixtures::finishSession(*model, m_clock, u"照常记录"_s);
    QVERIFY2(model->recordError().isEmpty(), qPrintable(model->recordError()));
    QCOMPARE(model->records().size(), 6);
    auto next = openModel();
    QVERIFY(next->recordsReadable());
    QCOMPARE(next->records().size(), 6);
    // The new record went first although "未来" ends later; start-up sorts, so match by id.
    for (const FocusRecord &a : model->records()) {
        const auto b = std::find_if(next->records().cbegin(), next->records().cend(),
            [&a](const FocusRecord &r) { return r.id == a.id; });
        QVERIFY(b != next->records().cend());
        QCOMPARE(b->title, a.title);
        QCOMPARE(bitsOf(b->startedAt), bitsOf(a.startedAt));
        QCOMPARE(bitsOf(b->endedAt), bitsOf(a.endedAt));
        QCOMPARE(bitsOf(b->duration), bitsOf(a.duration));
    }
}

void TestHostileInput::shouldRefuseOrLoadA200MegabyteRecordFileWithoutChangingIt()
{
    // About 750,000 records of about 280 bytes: a history of centuries.
    constexpr qint64 targetSize = 200LL * 1024 * 1024;
    {
        QDir().mkpath(m_storage);
        QFile file(recordFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray chunk;
        qint64 written = 1;
        file.putChar('[');
        for (qint64 i = 0; written < targetSize; ++i) {
            if (i > 0)
                chunk += ',';
            chunk += R"({"id":"8D1F5D0C-3D7A-4C25-9E55-)" + QByteArray::number(100000000000 + i)
                + R"(","title":"整理第 )" + QByteArray::number(i)
                + R"( 章的笔记，顺便复习上一章","startedAt":)"
                + QByteArray::number(1000.5 * i, 'g', 17) + R"(,"endedAt":)"
                + QByteArray::number(1000.5 * i + 1500, 'g', 17)
                + R"(,"duration":1500,"project":"学习","subproject":"第一单元",)"
                  R"("wrapUp":"完成了提纲，下一步写例题","early":false})";
            if (chunk.size() > (1 << 20)) {
                QCOMPARE(file.write(chunk), chunk.size());
                written += chunk.size();
                chunk.clear();
            }
        }
        chunk += ']';
        QCOMPARE(file.write(chunk), chunk.size());
    }
    const qint64 size = QFileInfo(recordFile()).size();
    QVERIFY(size > targetSize);
    const QByteArray hash = sha1Of(recordFile());

    // How long it takes is for bench/ to say; a start that never ends fails at the test's
    // timeout.
    QElapsedTimer timer;
    timer.start();
    auto model = openModel();
    qInfo("a %lld MB record file: %s in %lld ms", static_cast<long long>(size >> 20),
        model->recordsReadable() ? "loaded" : "refused", static_cast<long long>(timer.elapsed()));
    if (model->recordsReadable()) {
        QVERIFY(model->records().size() > 700000);
        QVERIFY(model->recordError().isEmpty());
    } else {
        QVERIFY(model->records().isEmpty());
        QCOMPARE(model->recordError(), u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s);
    }
    model.reset();
    QCOMPARE(QFileInfo(recordFile()).size(), size);
    QCOMPARE(sha1Of(recordFile()), hash);
    QVERIFY(!QFileInfo::exists(QDir(m_defaults).filePath(copyKey)));
}

void TestHostileInput::shouldKeepNamesWithControlAndDirectionMarksUnchanged_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("wrapUp");
    const QChar nul(u'\0');
    QTest::newRow("C0 controls") << QString(u"项\u0001目\u0007"_s + nul + u"甲"_s)
                                 << u"标\u0008题\u000C\u001B[31m红"_s
                                 << QString(u"收\u0002尾\u001F"_s + nul + u"完"_s);
    QTest::newRow("line breaks and tabs inside")
        << u"项目\r\n第二行\t甲"_s << u"第一行\n第二行\r第三行"_s << u"a\tb\nc\r\nd"_s;
    QTest::newRow("right-to-left marks and overrides")
        << u"\u202E项目甲"_s << u"\u200F标题\u202Eabc\u202C"_s << u"\u2067收尾\u2069\u061C"_s;
    QTest::newRow("Arabic and Hebrew with marks")
        << u"\u0645\u0634\u0631\u0648\u0639\u200E"_s << u"\u05E9\u05DC\u05D5\u05DD \u200Fabc"_s
        << u"\u200E\u0627\u0644\u062E\u0637\u0648\u0629"_s;
    QTest::newRow("line and paragraph separators")
        << u"项\u2028目"_s << u"标\u2029题"_s << u"收\u2028尾\u2029"_s;
    QTest::newRow("byte-order mark and zero-width characters")
        << u"\uFEFF项目"_s << u"\uFEFF标题\u200B\u200D"_s << u"\u2060收尾\uFEFF"_s;
    QTest::newRow("quotes, commas and escapes")
        << u"项目\"甲\",乙"_s << u"\\\"标题\\u0041\\"_s << u"\"\",,\"\"\""_s;
    QTest::newRow("outside the basic plane and combining marks")
        << u"项目\U0001F345"_s << u"e\u0301\u0308\U0001D11E"_s << u"\U0010FFFF收尾"_s;
    QTest::newRow("C1 controls and noncharacters")
        << u"项目\u0085\u009F"_s << u"\uFFFE\uFFFF标题"_s << u"\uFDD0收尾\u0080"_s;
    QTest::newRow("lone surrogates")
        << QString(u"项目"_s + QChar(0xDC00) + u"甲"_s)
        << QString(QChar(0xD800) + u"标题"_s + QChar(0xDFFF)) << QString(u"收尾"_s + QChar(0xD83C));
}

void TestHostileInput::shouldKeepNamesWithControlAndDirectionMarksUnchanged()
{
    QFETCH(QString, project);
    QFETCH(QString, title);
    QFETCH(QString, wrapUp);

    auto model = openModel();
    recordTwoSessions(*model, project, title, wrapUp);
    const FocusRecordList records = model->records();
    QCOMPARE(records.at(0).title, title);
    QCOMPARE(records.at(0).wrapUp, std::optional(wrapUp));
    QCOMPARE(records.at(1).title, title);
    QCOMPARE(records.at(0).project, project);

    // Saved and loaded unchanged: the records and the catalogue entry.
    auto next = openModel();
    QVERIFY(next->recordsReadable());
    QCOMPARE(next->records(), records);
    QVERIFY(next->projects().contains(project));
    QCOMPARE(RecordCodec::decode(*FaultFixtures::readFile(recordFile())).records, records);

    // Exported unchanged, each name one cell (a lone surrogate excepted, which UTF-8 cannot hold).
    const QList<QStringList> cells = exportedCells(*next);
    QVERIFY2(next->recordError().isEmpty(), qPrintable(next->recordError()));
    QCOMPARE(cells.size(), 3);
    for (qsizetype row = 1; row < 3; ++row) {
        QCOMPARE(cells.at(row).size(), 8);
        QCOMPARE(cells.at(row).at(1), asWritten(project));
        QCOMPARE(cells.at(row).at(2), asWritten(title));
    }
    QCOMPARE(cells.at(1).at(7), asWritten(wrapUp));
    QCOMPARE(cells.at(2).at(7), u"收尾未补"_s);
}

void TestHostileInput::shouldKeepMegabyteNamesUnchanged()
{
    const QString project = u"项目"_s + QString(1 << 20, u'甲');
    const QString title = QString(1 << 20, u'题') + u"\u202E结尾"_s;
    const QString wrapUp = QString(1 << 20, u'x');

    auto model = openModel();
    recordTwoSessions(*model, project, title, wrapUp);
    auto next = openModel();
    QVERIFY(next->recordsReadable());
    QCOMPARE(next->records(), model->records());
    QVERIFY(next->projects().contains(project));
    const QList<QStringList> cells = exportedCells(*next);
    QCOMPARE(cells.size(), 3);
    QCOMPARE(cells.at(1).at(1), project);
    QCOMPARE(cells.at(1).at(2), title);
    QCOMPARE(cells.at(1).at(7), wrapUp);
}

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
