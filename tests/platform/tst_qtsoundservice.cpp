// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtsoundservice.h"
#include "platform/soundsynth.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Decoding goes through the real QtMultimedia backend. The playback test needs a PulseAudio
// server and records what reaches it; it skips without one, unless VELMOR_REQUIRE_SOUND_SERVER is
// set (CTest runs it that way through with-sound-server.sh, so there a missing server fails).
class TestQtSoundService : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QtSoundService m_service;

    struct Run {
        bool ok = false;
        QString output;
    };

    // Runs a tool to completion; ok when it exited normally with status 0.
    static Run run(const QString &program, const QStringList &arguments)
    {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return {false, program + u" is not installed"_s};
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        const bool finished = process.waitForStarted(5000) && process.waitForFinished(30000);
        if (!finished)
            process.kill();
        process.waitForFinished(1000);
        return {finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromLocal8Bit(process.readAll())};
    }

    static QString whyNoSoundServer()
    {
        for (const QString &tool : {u"parecord"_s, u"sox"_s})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return tool + u" is not installed"_s;
        if (!run(u"pactl"_s, {u"info"_s}).ok)
            return u"no PulseAudio server is reachable (pactl info fails); run the test through "
                   u"tests/platform/with-sound-server.sh"_s;
        return {};
    }

    // Records the default sink's monitor: `play` runs once the recorder is connected, then the
    // recording goes on for `seconds`.
    template<typename Play>
    QString record(const QString &name, double seconds, Play play)
    {
        const QString file = m_dir.filePath(name + u".wav"_s);
        QProcess parecord;
        // With parecord's default latency, much of what is played never reaches the file.
        parecord.start(u"parecord"_s,
            {u"--device=@DEFAULT_MONITOR@"_s, u"--latency-msec=20"_s, u"--file-format=wav"_s,
                u"--format=s16le"_s, u"--rate=44100"_s, u"--channels=1"_s, file});
        if (!parecord.waitForStarted(5000))
            return {};
        QTest::qWait(300);
        play();
        QTest::qWait(int(seconds * 1000));
        parecord.terminate();
        if (!parecord.waitForFinished(5000))
            parecord.kill();
        return file;
    }

    struct Level {
        double seconds = -1.0; // how much was recorded
        double peak = -1.0; // sox's "Maximum amplitude", 0 … 1
    };

    static Level levelOf(const QString &file)
    {
        const Run stat = run(u"sox"_s, {file, u"-n"_s, u"stat"_s});
        const auto field = [&stat](const QString &label) {
            const auto match = QRegularExpression(label + u":\\s*([0-9.]+)"_s).match(stat.output);
            return stat.ok && match.hasMatch() ? match.captured(1).toDouble() : -1.0;
        };
        return {field(u"Length \\(seconds\\)"_s), field(u"Maximum amplitude"_s)};
    }

    // The server's null sink runs with about a second of latency and, under load, drops stretches
    // of sound; so the checks below look for sound or silence in whole windows well after the
    // event rather than timing it.
    static constexpr int settleMs = 2500;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Judged by content: an imported copy keeps the user's extension, whatever it is, or none.
    void shouldLoadEachNamedSoundWhateverTheFileName()
    {
        for (const QString &name : SoundSynth::names()) {
            QVERIFY2(m_service.createNamed(name), qPrintable(name));
            QVERIFY(m_service.createFromData(*SoundSynth::wav(name), u"/home/用户/铃声 #1.mp3"_s));
            QVERIFY(m_service.createFromData(*SoundSynth::wav(name), QString()));
        }
        QVERIFY(!m_service.createNamed(u"Basso"_s));
    }

    void shouldRefuseWhatIsNotAudio()
    {
        for (const QByteArray &bytes :
            {QByteArray(), QByteArray("这不是音频。\nJust some notes, not a sound.\n").repeated(20),
                SoundSynth::wav(u"Ping"_s)->left(30)})
            QVERIFY(!m_service.createFromData(bytes, u"notes.mp3"_s));
    }

    // Loading always takes more than one pass of the event loop; the half-loaded player is then
    // thrown away.
    void shouldRefuseSoundsThatDoNotLoadInTime()
    {
        QtSoundService impatient(std::chrono::milliseconds(0));
        QVERIFY(!impatient.createNamed(u"Glass"_s));
    }

    void shouldPlayToTheSoundServerAsTold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("looping");
        QTest::addColumn<bool>("restarted"); // started and stopped once before
        QTest::addColumn<bool>("listened"); // recorded as it starts, and heard
        QTest::addColumn<bool>("stopped"); // then stopped
        // Once a pass has long ended: 1 heard, 0 silent, -1 not listened to.
        QTest::addColumn<int>("heardLater");
        QTest::newRow("heard once, then silent")
            << u"Glass"_s << false << false << true << false << 0;
        QTest::newRow("heard again when started after being stopped")
            << u"Ping"_s << false << true << true << false << -1;
        QTest::newRow("looping, still playing long after one pass")
            << u"Pop"_s << true << false << false << false << 1;
        QTest::newRow("looping, silent once stopped")
            << u"Pop"_s << true << false << true << true << 0;
    }
    void shouldPlayToTheSoundServerAsTold()
    {
        QFETCH(QString, name);
        QFETCH(bool, looping);
        QFETCH(bool, restarted);
        QFETCH(bool, listened);
        QFETCH(bool, stopped);
        QFETCH(int, heardLater);
        // Skipped without a sound server, or failed where one is required.
        if (const QString why = whyNoSoundServer(); !why.isEmpty()) {
            if (qEnvironmentVariableIsSet("VELMOR_REQUIRE_SOUND_SERVER"))
                QFAIL(qPrintable(why));
            QSKIP(qPrintable(why));
        }
        const auto sound = m_service.createNamed(name);
        QVERIFY(sound);
        sound->setLooping(looping);
        if (restarted) {
            QVERIFY(sound->start());
            sound->stop();
        }
        bool started = false;
        if (listened) {
            const Level level = levelOf(record(name, 2.0, [&] { started = sound->start(); }));
            qInfo("%s: %.2f s recorded, maximum amplitude %.3f", qPrintable(name), level.seconds,
                level.peak);
            QVERIFY2(level.peak > 0.2, qPrintable(QString::number(level.peak)));
        } else {
            started = sound->start();
        }
        QVERIFY(started);
        if (stopped) {
            sound->stop();
            sound->stop();
        }
        if (heardLater < 0)
            return;
        QTest::qWait(settleMs);
        const Level later = levelOf(record(name + u"-later"_s, 2.0, [] {}));
        sound->stop();
        qInfo("later: %.2f s recorded, maximum amplitude %.3f", later.seconds, later.peak);
        QVERIFY(later.seconds > 0.5);
        QVERIFY2(heardLater ? later.peak > 0.2 : later.peak >= 0.0 && later.peak < 0.02,
            qPrintable(QString::number(later.peak)));
    }
};

QTEST_MAIN(TestQtSoundService)
#include "tst_qtsoundservice.moc"
