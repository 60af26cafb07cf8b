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

    // Runs a tool to completion; ok when it exited normally with status 0.
    static std::pair<bool, QString> run(const QString &program, const QStringList &arguments)
    {
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

    // The loudest sample (0 … 1) of what the default sink's monitor got in two seconds after
    // `play` ran, or -1 when nothing was recorded.
    template<typename Play>
    double recordedPeak(const QString &name, Play play)
    {
        const QString file = m_dir.filePath(name + u".wav"_s);
        QProcess parecord;
        // With parecord's default latency, much of what is played never reaches the file.
        parecord.start(u"parecord"_s,
            {u"--device=@DEFAULT_MONITOR@"_s, u"--latency-msec=20"_s, u"--file-format=wav"_s,
                u"--format=s16le"_s, u"--rate=44100"_s, u"--channels=1"_s, file});
        if (!parecord.waitForStarted(5000))
            return -1.0;
        QTest::qWait(300);
        play();
        QTest::qWait(2000);
        parecord.terminate();
        if (!parecord.waitForFinished(5000))
            parecord.kill();
        const auto [ok, stat] = run(u"sox"_s, {file, u"-n"_s, u"stat"_s});
        const auto match = QRegularExpression(u"Maximum amplitude:\\s*([0-9.]+)"_s).match(stat);
        return ok && match.hasMatch() ? match.captured(1).toDouble() : -1.0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

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

    void shouldRefuseWhatIsNotAudio_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("a text file named .mp3")
            << QByteArray("这不是音频。\nJust some notes, not a sound.\n").repeated(20);
        QTest::newRow("a WAV cut off inside its header") << SoundSynth::wav(u"Ping"_s)->left(30);
    }
    void shouldRefuseWhatIsNotAudio()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!m_service.createFromData(bytes, u"notes.mp3"_s));
    }

    // Loading always takes more than one pass of the event loop; the half-loaded player is then
    // thrown away.
    void shouldRefuseSoundsThatDoNotLoadInTime()
    {
        QtSoundService impatient(std::chrono::milliseconds(0));
        QVERIFY(!impatient.createNamed(u"Glass"_s));
    }

    // A looping sound, started again after a first start and stop, is heard, still plays long
    // after one pass, and is silent once stopped. The server's null sink runs with about a second
    // of latency and drops stretches under load, so whole windows well after the event are judged.
    void shouldPlayToTheSoundServerAsTold_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("looping, still playing long after one pass") << false;
        QTest::newRow("looping, silent once stopped") << true;
    }
    void shouldPlayToTheSoundServerAsTold()
    {
        QFETCH(bool, stopped);
        for (const QString &tool : {u"parecord"_s, u"sox"_s, u"pactl"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty()
                || !run(u"pactl"_s, {u"info"_s}).first) {
                const QString why = u"no %1 or no PulseAudio server; run the test through "
                                    u"tests/platform/with-sound-server.sh"_s.arg(tool);
                if (qEnvironmentVariableIsSet("VELMOR_REQUIRE_SOUND_SERVER"))
                    QFAIL(qPrintable(why));
                QSKIP(qPrintable(why));
            }
        }
        const auto sound = m_service.createNamed(u"Pop"_s);
        QVERIFY(sound);
        sound->setLooping(true);
        QVERIFY(sound->start());
        sound->stop();
        bool started = false;
        const double peak = recordedPeak(u"start"_s, [&] { started = sound->start(); });
        QVERIFY(started);
        QVERIFY2(peak > 0.2, qPrintable(QString::number(peak)));
        if (stopped) {
            sound->stop();
            sound->stop();
        }
        QTest::qWait(2500);
        const double later = recordedPeak(u"later"_s, [] {});
        sound->stop();
        QVERIFY2(stopped ? later >= 0.0 && later < 0.02 : later > 0.2,
            qPrintable(QString::number(later)));
    }
};

QTEST_MAIN(TestQtSoundService)
#include "tst_qtsoundservice.moc"
