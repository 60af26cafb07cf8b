// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A writer killed at any moment, in the middle of a save included, must leave a history that the
// next start reads in full: the old list or the new one, never a mix, never a lock.

#include "doubles/fakeclock.h"
#include "faultfixtures.h"
#include "model/timermodel.h"
#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"
#include "records/json/recordcodec.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString recordFileName = u"focus-records.json"_s;
const QString copyKey = u"focus-records"_s;

// What a probe reported before it died: the count it loaded and the count of its last save
// that returned (-1 when it did not get that far), and whether a save had begun and not
// returned.
struct Reported {
    qsizetype loaded = -1;
    qsizetype saved = -1;
    bool saving = false;
};

Reported parseReport(const QByteArray &output)
{
    Reported reported;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() != 2)
            continue;
        if (words[0] == "ready") {
            reported.loaded = words[1].toLongLong();
        } else if (words[0] == "saving") {
            reported.saving = true;
        } else if (words[0] == "saved") {
            reported.saved = words[1].toLongLong();
            reported.saving = false;
        }
    }
    return reported;
}

// The temporary file of an atomic write, "<target>.XXXXXX" with six ASCII letters.
bool isTemporaryFileOf(const QString &entry, const QString &target)
{
    static const QRegularExpression suffix(u"^\\.[A-Za-z]{6}$"_s);
    return entry.startsWith(target) && suffix.match(entry.mid(target.size())).hasMatch();
}

bool isTailOf(const FocusRecordList &tail, const FocusRecordList &list)
{
    return tail.size() <= list.size() && list.mid(list.size() - tail.size()) == tail;
}

} // namespace

class TestKillSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shouldLeaveOldOrNewCompleteHistoryWhereverTheWriterIsKilled();

private:
    // Reads and checks what one killed run left; the list on disk is the new reference.
    void checkStoredState(const Reported &reported, int round, bool openModel);
    void startProbe(QProcess &probe) const;
    QByteArray waitForLine(QProcess &probe, const QByteArray &word) const;

    QTemporaryDir m_dir;
    QString m_storage;
    QString m_defaults;
    FocusRecordList m_stored;
    QByteArray m_storedBytes;
    QStringList m_strays; // what the last kill left beside the two files
    int m_straysSeen = 0;
    int m_killsInSave = 0;
    qsizetype m_copyCount = 0;
    int m_copyBehind = 0;
    int m_unconfirmedSaves = 0;
};

void TestKillSafety::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    m_storage = m_dir.filePath(u"data/VelmorTimer"_s);
    m_defaults = m_dir.filePath(u"config/VelmorTimer"_s);

    // A long history, so that every save takes a while and a kill often lands inside one.
    m_stored = FaultFixtures::history(2000, 690000000.0);
    m_storedBytes = RecordCodec::encode(m_stored);
    QVERIFY(FaultFixtures::writeFile(QDir(m_storage).filePath(recordFileName), m_storedBytes));
    FileDefaultsStore defaults(m_defaults, AtomicFileWriter::instance());
    QVERIFY(defaults.setValue(copyKey, m_storedBytes));
    m_copyCount = m_stored.size();
}

void TestKillSafety::startProbe(QProcess &probe) const
{
    probe.setProgram(QStringLiteral(RECORDWRITER_PROBE));
    probe.setArguments({m_storage, m_defaults});
    probe.start();
    QVERIFY2(probe.waitForStarted(10000), qPrintable(probe.errorString()));
}

QByteArray TestKillSafety::waitForLine(QProcess &probe, const QByteArray &word) const
{
    QByteArray output;
    const QByteArray wanted = word + ' ';
    while (!output.contains(wanted)) {
        if (!probe.waitForReadyRead(20000))
            break;
        output += probe.readAllStandardOutput();
    }
    return output;
}

void TestKillSafety::checkStoredState(const Reported &reported, int round, bool openModel)
{
    const QByteArray where = "after kill " + QByteArray::number(round);
    // Start-up read the whole list that the previous run left.
    if (reported.loaded >= 0)
        QVERIFY2(reported.loaded == m_stored.size(), where.constData());
    // Saves only ever add one record, so this is the least the file must hold.
    const qsizetype confirmed = reported.saved >= 0 ? reported.saved : m_stored.size();

    // The record file: a complete list that this program wrote, holding everything confirmed.
    const std::optional<QByteArray> bytes =
        FaultFixtures::readFile(QDir(m_storage).filePath(recordFileName));
    QVERIFY2(bytes, where.constData());
    const RecordCodec::DecodeResult file = RecordCodec::decode(*bytes);
    QVERIFY2(file.ok(), QByteArray(where + ": " + file.errorText.toUtf8()).constData());
    // Re-encoding gives the very bytes: no element was skipped, nothing was cut or mixed.
    QVERIFY2(RecordCodec::encode(file.records) == *bytes, where.constData());
    QVERIFY2(file.records.size() >= confirmed, where.constData());
    // At most the one save in flight when the kill came was not yet reported.
    QVERIFY2(file.records.size() <= confirmed + 1, where.constData());
    QVERIFY2(isTailOf(m_stored, file.records), where.constData());
    if (file.records.size() == m_stored.size())
        QVERIFY2(*bytes == m_storedBytes, where.constData());
    if (file.records.size() > confirmed)
        ++m_unconfirmedSaves;

    QSet<QUuid> ids;
    for (const FocusRecord &record : file.records)
        ids.insert(record.id);
    QCOMPARE(ids.size(), file.records.size());

    // The defaults copy: a complete list too.
    const std::optional<QByteArray> stored =
        FaultFixtures::readFile(QDir(m_defaults).filePath(copyKey));
    QVERIFY2(stored, where.constData());
    const QVariant copyValue = FileDefaultsStore::decodeValue(*stored);
    QCOMPARE(copyValue.typeId(), QMetaType::QByteArray);
    const QByteArray copyBytes = copyValue.toByteArray();
    const RecordCodec::DecodeResult copy = RecordCodec::decode(copyBytes);
    QVERIFY2(copy.ok(), where.constData());
    QVERIFY2(RecordCodec::encode(copy.records) == copyBytes, where.constData());
    // The copy follows the file, so it may be behind by the saves of runs killed between the two
    // writes, but never goes back and never misses a save that returned.
    QVERIFY2(isTailOf(copy.records, file.records), where.constData());
    QVERIFY2(copy.records.size() >= m_copyCount, where.constData());
    if (reported.saved >= 0)
        QVERIFY2(copy.records.size() >= reported.saved, where.constData());
    if (copy.records.size() == file.records.size())
        QVERIFY2(copyBytes == *bytes, where.constData());
    else
        ++m_copyBehind;
    m_copyCount = copy.records.size();

    // Beside the two files, a kill can leave only the temporary file of the one write it
    // interrupted: no backup (a start never locks), and nothing left by an earlier kill once a
    // start has got as far as loading, because start-up removes such files. A start killed
    // before that writes nothing, so it leaves at most what it found.
    QStringList strays = FaultFixtures::strayEntries(m_storage, {recordFileName});
    const QStringList defaultsStrays = FaultFixtures::strayEntries(m_defaults, {copyKey});
    const QString listed =
        QString::fromUtf8(where) + u": "_s + (strays + defaultsStrays).join(u", "_s);
    for (const QString &entry : strays)
        QVERIFY2(isTemporaryFileOf(entry, recordFileName), qPrintable(listed));
    for (const QString &entry : defaultsStrays)
        QVERIFY2(isTemporaryFileOf(entry, copyKey), qPrintable(listed));
    strays += defaultsStrays;
    QVERIFY2(strays.size() <= 1, qPrintable(listed));
    for (const QString &entry : strays) {
        if (reported.loaded >= 0)
            QVERIFY2(
                !m_strays.contains(entry), qPrintable(listed + u" (left by the kill before)"_s));
        else
            QVERIFY2(m_strays.contains(entry), qPrintable(listed + u" (written before loading)"_s));
    }
    m_strays = strays;
    m_straysSeen += int(strays.size());
    if (reported.saving)
        ++m_killsInSave;

    // The next start reads it all and is not locked. Every probe's start checks that too, so a
    // model of its own is opened here only now and then.
    if (openModel) {
        FakeClock clock;
        FileDefaultsStore defaults(m_defaults, AtomicFileWriter::instance());
        TimerServices services;
        services.storageFolder = m_storage;
        services.todayClock = clock.clock();
        const TimerModel model(
            defaults, clock.clock(), [] {}, services);
        QVERIFY2(model.recordsReadable(), where.constData());
        QVERIFY2(model.recordError().isEmpty(), qPrintable(model.recordError()));
        QVERIFY2(model.records() == file.records, where.constData());
    }

    m_stored = file.records;
    m_storedBytes = *bytes;
}

void TestKillSafety::shouldLeaveOldOrNewCompleteHistoryWhereverTheWriterIsKilled()
{
    const quint32 seed = qEnvironmentVariableIsSet("VELMOR_KILL_SEED")
        ? quint32(qEnvironmentVariableIntValue("VELMOR_KILL_SEED"))
        : QRandomGenerator::system()->generate();
    qInfo("kill moments from seed %u (set VELMOR_KILL_SEED to repeat)", seed);
    QRandomGenerator random(seed);
    QElapsedTimer elapsed;
    elapsed.start();

    // How long one session's save takes here, so that kills spread over the first two saves.
    qint64 saveMicros = 0;
    {
        QProcess probe;
        probe.setProgram(QStringLiteral(RECORDWRITER_PROBE));
        probe.setArguments({m_storage, m_defaults, u"5"_s});
        probe.start();
        QVERIFY(probe.waitForStarted(10000));
        const QByteArray ready = waitForLine(probe, "ready");
        QVERIFY2(ready.contains("ready "), ready.constData());
        QElapsedTimer saves;
        saves.start();
        QVERIFY(probe.waitForFinished(60000));
        saveMicros = std::max<qint64>(saves.nsecsElapsed() / 1000 / 5, 100);
        QCOMPARE(probe.exitCode(), 0);
        checkStoredState(parseReport(ready + probe.readAllStandardOutput()), 0, true);
        QCOMPARE(m_stored.size(), 2005);
    }
    qInfo("one save takes about %lld µs", static_cast<long long>(saveMicros));

    for (int round = 1; round <= KILL_ROUNDS; ++round) {
        QProcess probe;
        startProbe(probe);
        if (QTest::currentTestFailed())
            return;
        QByteArray output;
        // One kill in eight lands during start-up, which must write nothing at all.
        if (random.bounded(8) != 0) {
            output = waitForLine(probe, "ready");
            QVERIFY2(output.contains("ready "),
                QByteArray(output + probe.readAllStandardError()).constData());
        }
        // Real time on purpose: the probe runs on its own, and the moment of the kill is the point.
        std::this_thread::sleep_for(
            std::chrono::microseconds(random.bounded(qint64(2 * saveMicros) + 1)));
        probe.kill();
        QVERIFY(probe.waitForFinished(20000));
        output += probe.readAllStandardOutput();
        QVERIFY2(!output.contains("locked") && !output.contains("failed"),
            QByteArray(output + probe.readAllStandardError()).constData());
        QVERIFY2(
            probe.exitStatus() == QProcess::CrashExit, "the probe ended by itself before the kill");

        checkStoredState(parseReport(output), round, round % 10 == 0 || round == KILL_ROUNDS);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d kills in %lld ms: %d inside a save, %lld records, %d saves stored but not reported, "
          "%d kills between the file and its copy, %d temporary files left and removed at the "
          "next start",
        KILL_ROUNDS, static_cast<long long>(elapsed.elapsed()), m_killsInSave,
        static_cast<long long>(m_stored.size()), m_unconfirmedSaves, m_copyBehind, m_straysSeen);
}

QTEST_GUILESS_MAIN(TestKillSafety)
#include "tst_killsafety.moc"
