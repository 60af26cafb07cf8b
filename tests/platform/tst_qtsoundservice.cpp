// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtsoundservice.h"
#include "platform/soundsynth.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

// Decoding goes through the real QtMultimedia backend. The playback tests need a PulseAudio
// server and record what reaches it; they skip without one, unless VELMOR_REQUIRE_SOUND_SERVER is
// set (CTest runs them that way through with-sound-server.sh, so there a missing server fails).
class TestQtSoundService : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QtSoundService m_service;

    QString path(const QString &name) const { return m_dir.filePath(name); }

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

    static QByteArray readFile(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The synthesised Glass converted to `format` by sox, or for MP3 and AAC by GStreamer;
    // nothing, with the reason in `why`, when this machine cannot.
    std::optional<QByteArray> encodeGlass(const QString &format, QString *why) const
    {
        const QString source = path(u"glass.wav"_s);
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(*SoundSynth::wav(u"Glass"_s)) < 0)
            return std::nullopt;
        file.close();
        const QString target = path(u"glass-"_s + format + u"."_s + format.section(u'-', 0, 0));
        QList<std::pair<QString, QStringList>> encoders;
        if (format == u"wav-24bit-stereo-48k")
            encoders.append({u"sox"_s,
                {source, u"-b"_s, u"24"_s, u"-c"_s, u"2"_s, u"-r"_s, u"48000"_s, target}});
        else if (format != u"m4a")
            encoders.append({u"sox"_s, {source, target}});
        if (format == u"mp3" || format == u"m4a") {
            const QString pipeline = u"-q filesrc location=%1 ! wavparse ! audioconvert ! "
                                     u"audioresample ! %2 ! filesink location=%3"_s;
            encoders.append({u"gst-launch-1.0"_s,
                QProcess::splitCommand(pipeline.arg(source,
                    format == u"mp3" ? u"lamemp3enc"_s : u"avenc_aac ! mp4mux"_s, target))});
        }
        for (const auto &[program, arguments] : encoders) {
            const Run encoded = run(program, arguments);
            if (encoded.ok && !readFile(target).isEmpty())
                return readFile(target);
            *why += program + u" could not encode "_s + format + u": "_s + encoded.output;
        }
        return std::nullopt;
    }

    // --- playback through a sound server -------------------------------------------------------

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
        const QString file = path(name + u".wav"_s);
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
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    void shouldCreateASoundForEachNameItHas_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("made");
        for (const QString &name : SoundSynth::names())
            QTest::newRow(name.toUtf8().constData()) << name << true;
        for (const QString &name : {u"none"_s, u"custom"_s, u"Basso"_s, u"glass"_s})
            QTest::newRow(name.toUtf8().constData()) << name << false;
    }
    void shouldCreateASoundForEachNameItHas()
    {
        QFETCH(QString, name);
        QFETCH(bool, made);
        QCOMPARE(bool(m_service.createNamed(name)), made);
        if (made)
            QVERIFY(m_service.createFromData(*SoundSynth::wav(name), name + u".wav"_s));
    }

    // Judged by content: an imported copy keeps the user's extension, whatever it is, or none.
    void shouldDecodeCommonAudioFormatsWhateverTheFileName_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("24-bit stereo WAV at 48 kHz") << u"wav-24bit-stereo-48k"_s << u"a.wav"_s;
        QTest::newRow("Ogg Vorbis") << u"ogg"_s << u"a.ogg"_s;
        QTest::newRow("FLAC") << u"flac"_s << u"a.flac"_s;
        QTest::newRow("MP3") << u"mp3"_s << u"a.mp3"_s;
        QTest::newRow("AAC in M4A") << u"m4a"_s << u"a.m4a"_s;
        QTest::newRow("Ogg with a wrong extension") << u"ogg"_s << u"ring.mp3"_s;
        QTest::newRow("Ogg without extension") << u"ogg"_s << u"ring."_s;
        QTest::newRow("Ogg without a name") << u"ogg"_s << QString();
        QTest::newRow("Ogg with a Chinese name and a hash")
            << u"ogg"_s << u"/home/用户/铃声 #1.ogg"_s;
    }
    void shouldDecodeCommonAudioFormatsWhateverTheFileName()
    {
        QFETCH(QString, format);
        QFETCH(QString, fileName);
        QString why;
        const auto bytes = encodeGlass(format, &why);
        if (!bytes)
            QSKIP(qPrintable(why));
        QVERIFY(m_service.createFromData(*bytes, fileName));
    }

    void shouldRefuseWhatIsNotAudio_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fileName");
        QByteArray noise(20000, Qt::Uninitialized);
        QRandomGenerator generator(7);
        std::generate(
            noise.begin(), noise.end(), [&generator] { return char(generator.bounded(256)); });
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(&buffer, "PNG");

        QTest::newRow("nothing") << QByteArray() << u"empty.mp3"_s;
        QTest::newRow("a text file named .mp3")
            << QByteArray("这不是音频。\nJust some notes, not a sound.\n").repeated(20)
            << u"notes.mp3"_s;
        QTest::newRow("random bytes named .wav") << noise << u"noise.wav"_s;
        QTest::newRow("random bytes named .mp3") << noise << u"noise.mp3"_s;
        QTest::newRow("a WAV cut off inside its header")
            << SoundSynth::wav(u"Ping"_s)->left(30) << u"cut.wav"_s;
        QTest::newRow("a picture named .mp3") << png << u"cover.mp3"_s;
        // A video without sound, when this machine can make one.
        const QString video = path(u"silent.avi"_s);
        if (run(u"gst-launch-1.0"_s,
                QProcess::splitCommand(u"-q videotestsrc num-buffers=10 ! jpegenc ! "
                                       u"avimux ! filesink location=%1"_s.arg(video)))
                .ok)
            QTest::newRow("a video without sound") << readFile(video) << u"clip.mp3"_s;
    }
    void shouldRefuseWhatIsNotAudio()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QVERIFY(!m_service.createFromData(bytes, fileName));
    }

    // Loading always takes more than one pass of the event loop; the half-loaded player is then
    // thrown away.
    void shouldRefuseSoundsThatDoNotLoadInTime()
    {
        QtSoundService impatient(std::chrono::milliseconds(0));
        QVERIFY(!impatient.createFromData(*SoundSynth::wav(u"Glass"_s), u"a.wav"_s));
        QVERIFY(!impatient.createNamed(u"Glass"_s));
    }

    // --- what actually reaches the sound server ------------------------------------------------

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
