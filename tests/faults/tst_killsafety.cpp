// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A writer killed at any moment, in the middle of a save included, must leave a history that the
// next start reads in full: the old list or the new one, never a mix, never a lock.

#include "faultfixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

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
    const QByteArray text = '\n' + output;
    // The count on the last line that begins with the word, or -1.
    const auto last = [&text](const QByteArray &word) -> qsizetype {
        const qsizetype at = text.lastIndexOf(QByteArray('\n' + word + ' '));
        return at < 0 ? -1 : text.mid(at + word.size() + 2).split('\n').constFirst().toLongLong();
    };
    return {
        last("ready"), last("saved"), text.lastIndexOf("\nsaving ") > text.lastIndexOf("\nsaved ")};
}

// The list the bytes hold, if they are a complete list this program wrote: re-encoding gives
// the very bytes, so no element was skipped, nothing was cut or mixed.
std::optional<FocusRecordList> wholeList(const QByteArray &bytes)
{
    const RecordCodec::DecodeResult decoded = RecordCodec::decode(bytes);
    if (!decoded.ok() || RecordCodec::encode(decoded.records) != bytes)
        return std::nullopt;
    return decoded.records;
}

// The temporary file of an atomic write of the record file or its copy: the target's name with
// six ASCII letters appended.
bool isTemporaryFile(const QString &entry)
{
    static const QRegularExpression name(u"^focus-records(\\.json)?\\.[A-Za-z]{6}$"_s);
    return name.match(entry).hasMatch();
}

QByteArray waitForLine(QProcess &probe, const QByteArray &word)
{
    QByteArray output;
    while (!output.contains(QByteArray(word + ' ')) && probe.waitForReadyRead(20000))
        output += probe.readAllStandardOutput();
    return output;
}

bool isTailOf(const FocusRecordList &tail, const FocusRecordList &list)
{
    return tail.size() <= list.size() && list.mid(list.size() - tail.size()) == tail;
}

} // namespace

class TestKillSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldLeaveOldOrNewCompleteHistoryWhereverTheWriterIsKilled();

private:
    // Reads and checks what one killed run left; the list on disk is the new reference.
    void checkStoredState(const Reported &reported, int round);
    void startProbe(QProcess &probe, const QStringList &sessions = {});

    FaultFixtures::Bench m_bench;
    FocusRecordList m_stored;
    QStringList m_strays; // what the last kill left beside the two files
    int m_straysSeen = 0;
    int m_killsInSave = 0;
    qsizetype m_copyCount = 0;
    int m_copyBehind = 0;
};

void TestKillSafety::startProbe(QProcess &probe, const QStringList &sessions)
{
    probe.start(QStringLiteral(RECORDWRITER_PROBE),
        QStringList {m_bench.storage, m_bench.defaults} + sessions);
    QVERIFY2(probe.waitForStarted(10000), qPrintable(probe.errorString()));
}

void TestKillSafety::checkStoredState(const Reported &reported, int round)
{
    const QByteArray where = "after kill " + QByteArray::number(round);
    // Start-up read the whole list that the previous run left.
    QVERIFY2(reported.loaded < 0 || reported.loaded == m_stored.size(), where.constData());
    // Saves only ever add one record, so this is the least the file must hold; at most the one
    // save in flight when the kill came was not yet reported.
    const qsizetype confirmed = reported.saved >= 0 ? reported.saved : m_stored.size();
    const std::optional<FocusRecordList> file =
        wholeList(FaultFixtures::readFile(m_bench.recordFile()).value_or(QByteArray()));
    QVERIFY2(file, where.constData());
    QVERIFY2(file->size() >= confirmed && file->size() <= confirmed + 1, where.constData());
    QVERIFY2(isTailOf(m_stored, *file), where.constData());

    // The defaults copy follows the file, so it may be behind by the saves of runs killed between
    // the two writes, but it is whole, never goes back and never misses a save that returned.
    const QVariant copyValue =
        FileDefaultsStore::decodeValue(FaultFixtures::readFile(m_bench.copyFile()).value_or(""));
    const std::optional<FocusRecordList> copy = wholeList(
        copyValue.typeId() == QMetaType::QByteArray ? copyValue.toByteArray() : QByteArray());
    QVERIFY2(copy && isTailOf(*copy, *file), where.constData());
    QVERIFY2(copy->size() >= std::max(m_copyCount, reported.saved), where.constData());
    m_copyBehind += copy->size() < file->size();
    m_copyCount = copy->size();

    // Beside the two files, a kill can leave only the temporary file of the one write it
    // interrupted: no backup (a start never locks), and nothing left by an earlier kill once a
    // start has got as far as loading, because start-up removes such files. A start killed
    // before that writes nothing, so it leaves at most what it found.
    const QStringList strays = m_bench.strays();
    const QByteArray listed = where + ": " + strays.join(u", "_s).toUtf8();
    QVERIFY2(strays.size() <= 1, listed.constData());
    for (const QString &entry : strays) {
        QVERIFY2(isTemporaryFile(entry), listed.constData());
        QVERIFY2(m_strays.contains(entry) == (reported.loaded < 0),
            QByteArray(listed + " (left by the kill before, or written before loading)")
                .constData());
    }
    m_strays = strays;
    m_straysSeen += int(strays.size());
    m_killsInSave += reported.saving;

    m_stored = *file;
}

void TestKillSafety::shouldLeaveOldOrNewCompleteHistoryWhereverTheWriterIsKilled()
{
    // A long history, so that every save takes a while and a kill often lands inside one.
    m_stored = m_bench.seed(2000);
    m_copyCount = m_stored.size();
    const quint32 seed = qEnvironmentVariableIsSet("VELMOR_KILL_SEED")
        ? quint32(qEnvironmentVariableIntValue("VELMOR_KILL_SEED"))
        : QRandomGenerator::system()->generate();
    qInfo("kill moments from seed %u (set VELMOR_KILL_SEED to repeat)", seed);
    QRandomGenerator random(seed);
    QElapsedTimer elapsed;
    elapsed.start();

    // How long one session's save takes here, so that kills spread over the first two saves.
    QProcess calibration;
    startProbe(calibration, {u"5"_s});
    const QByteArray ready = waitForLine(calibration, "ready");
    QElapsedTimer saves;
    saves.start();
    QVERIFY(calibration.waitForFinished(60000));
    const qint64 saveMicros = std::max<qint64>(saves.nsecsElapsed() / 1000 / 5, 100);
    QCOMPARE(calibration.exitCode(), 0);
    checkStoredState(parseReport(ready + calibration.readAllStandardOutput()), 0);
    QCOMPARE(m_stored.size(), 2005);
    qInfo("one save takes about %lld µs", static_cast<long long>(saveMicros));

    for (int round = 1; round <= KILL_ROUNDS; ++round) {
        QProcess probe;
        startProbe(probe);
        // One kill in eight lands during start-up, which must write nothing at all.
        QByteArray output = random.bounded(8) != 0 ? waitForLine(probe, "ready") : QByteArray();
        // Real time on purpose: the probe runs on its own, and the moment of the kill is the point.
        QThread::usleep(random.bounded(quint32(2 * saveMicros) + 1));
        probe.kill();
        QVERIFY(probe.waitForFinished(20000));
        output += probe.readAllStandardOutput();
        QVERIFY2(!output.contains("locked") && !output.contains("failed"),
            QByteArray(output + probe.readAllStandardError()).constData());
        QVERIFY2(
            probe.exitStatus() == QProcess::CrashExit, "the probe ended by itself before the kill");

        checkStoredState(parseReport(output), round);
        if (QTest::currentTestFailed())
            return;
    }
    // Every probe's start read the list the kill before left (its "ready" count), and so does
    // the next start after the last kill.
    const auto model = m_bench.open();
    QVERIFY2(model->recordsReadable() && model->recordError().isEmpty(),
        qPrintable(model->recordError()));
    QCOMPARE(model->records(), m_stored);
    qInfo("%d kills in %lld ms: %d inside a save, %lld records, %d kills between the file and its "
          "copy, %d temporary files left and removed at the next start",
        KILL_ROUNDS, static_cast<long long>(elapsed.elapsed()), m_killsInSave,
        static_cast<long long>(m_stored.size()), m_copyBehind, m_straysSeen);
}

QTEST_GUILESS_MAIN(TestKillSafety)
#include "tst_killsafety.moc"
