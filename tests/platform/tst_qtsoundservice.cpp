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

// Skips a playback test when there is no sound server to play to, or fails it where one is
// required.
#define REQUIRE_SOUND_SERVER()                                                                     \
    do {                                                                                           \
        const QString why = whyNoSoundServer();                                                    \
        if (!why.isEmpty()) {                                                                      \
            if (qEnvironmentVariableIsSet("VELMOR_REQUIRE_SOUND_SERVER"))                          \
                QFAIL(qPrintable(why));                                                            \
            QSKIP(qPrintable(why));                                                                \
        }                                                                                          \
    } while (false)

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

    static bool installed(const QString &program)
    {
        return !QStandardPaths::findExecutable(program).isEmpty();
    }

    static bool soxWrites(const QString &format)
    {
        if (!installed(u"sox"_s))
            return false;
        const QString help = run(u"sox"_s, {u"-h"_s}).output;
        const auto line = QRegularExpression(u"AUDIO FILE FORMATS:(.*)"_s).match(help);
        return line.hasMatch() && line.captured(1).split(u' ', Qt::SkipEmptyParts).contains(format);
    }

    static QByteArray readFile(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The synthesised Glass converted to `format` by whatever encoder this machine has; nothing,
    // with the reason in `why`, when it has none.
    std::optional<QByteArray> encodeGlass(const QString &format, QString *why) const
    {
        const QString source = path(u"glass.wav"_s);
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(*SoundSynth::wav(u"Glass"_s)) < 0) {
            *why = u"cannot write "_s + source;
            return std::nullopt;
        }
        file.close();
        const QString target = path(u"glass-"_s + format + u"."_s + format.section(u'-', 0, 0));

        QString program;
        QStringList arguments;
        const QString gstInput =
            u"filesrc location=%1 ! wavparse ! audioconvert ! audioresample"_s.arg(source);
        if (format == u"wav-24bit-stereo-48k") {
            program = u"sox"_s;
            arguments = {source, u"-b"_s, u"24"_s, u"-c"_s, u"2"_s, u"-r"_s, u"48000"_s, target};
        } else if ((format == u"ogg" || format == u"flac" || format == u"mp3")
            && soxWrites(format)) {
            program = u"sox"_s;
            arguments = {source, target};
        } else if (format == u"mp3" && installed(u"gst-launch-1.0"_s)) {
            program = u"gst-launch-1.0"_s;
            arguments = QProcess::splitCommand(
                u"-q %1 ! lamemp3enc ! filesink location=%2"_s.arg(gstInput, target));
        } else if (format == u"m4a" && installed(u"gst-launch-1.0"_s)) {
            program = u"gst-launch-1.0"_s;
            arguments = QProcess::splitCommand(
                u"-q %1 ! avenc_aac ! mp4mux ! filesink location=%2"_s.arg(gstInput, target));
        }
        if (program.isEmpty() || !installed(program)) {
            *why = u"no encoder for "_s + format + u" on this machine (sox, gst-launch-1.0)"_s;
            return std::nullopt;
        }
        const Run encoded = run(program, arguments);
        const QByteArray bytes = readFile(target);
        if (!encoded.ok || bytes.isEmpty()) {
            *why = program + u" could not encode "_s + format + u": "_s + encoded.output;
            return std::nullopt;
        }
        return bytes;
    }

    // --- playback through a sound server -------------------------------------------------------

    static QString whyNoSoundServer()
    {
        for (const QString &tool : {u"pactl"_s, u"parecord"_s, u"sox"_s})
            if (!installed(tool))
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

    void shouldCreateEveryNamedSoundFromItsSynthesisedWav_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : SoundSynth::names())
            QTest::newRow(name.toUtf8().constData()) << name;
    }
    void shouldCreateEveryNamedSoundFromItsSynthesisedWav()
    {
        QFETCH(QString, name);
        QVERIFY(m_service.createNamed(name));
        QVERIFY(m_service.createFromData(*SoundSynth::wav(name), name + u".wav"_s));
    }

    void shouldRefuseNamesWithoutASound_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("none") << u"none"_s;
        QTest::newRow("custom") << u"custom"_s;
        QTest::newRow("a sound that is not made here") << u"Basso"_s;
        QTest::newRow("other case") << u"glass"_s;
    }
    void shouldRefuseNamesWithoutASound()
    {
        QFETCH(QString, name);
        QVERIFY(!m_service.createNamed(name));
    }

    void shouldDecodeCommonAudioFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("24-bit stereo WAV at 48 kHz") << u"wav-24bit-stereo-48k"_s << u"a.wav"_s;
        QTest::newRow("Ogg Vorbis") << u"ogg"_s << u"a.ogg"_s;
        QTest::newRow("FLAC") << u"flac"_s << u"a.flac"_s;
        QTest::newRow("MP3") << u"mp3"_s << u"a.mp3"_s;
        QTest::newRow("AAC in M4A") << u"m4a"_s << u"a.m4a"_s;
    }
    void shouldDecodeCommonAudioFormats()
    {
        QFETCH(QString, format);
        QFETCH(QString, fileName);
        QString why;
        const auto bytes = encodeGlass(format, &why);
        if (!bytes)
            QSKIP(qPrintable(why));
        QVERIFY(m_service.createFromData(*bytes, fileName));
    }

    // An imported copy keeps the user's extension, whatever it is, or none.
    void shouldJudgeByContentNotByFileName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("wrong extension") << u"ring.mp3"_s;
        QTest::newRow("no extension") << u"ring."_s;
        QTest::newRow("no name at all") << QString();
        QTest::newRow("Chinese name with a hash") << u"/home/用户/铃声 #1.ogg"_s;
    }
    void shouldJudgeByContentNotByFileName()
    {
        QFETCH(QString, fileName);
        QString why;
        const auto ogg = encodeGlass(u"ogg"_s, &why);
        if (!ogg)
            QSKIP(qPrintable(why));
        QVERIFY(m_service.createFromData(*ogg, fileName));
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
    }
    void shouldRefuseWhatIsNotAudio()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fileName);
        QVERIFY(!m_service.createFromData(bytes, fileName));
    }

    void shouldRefuseAVideoWithoutSound()
    {
        if (!installed(u"gst-launch-1.0"_s))
            QSKIP("gst-launch-1.0 is not installed, so no video can be made");
        const QString video = path(u"silent.avi"_s);
        const Run made = run(u"gst-launch-1.0"_s,
            QProcess::splitCommand(u"-q videotestsrc num-buffers=10 ! jpegenc ! "
                                   u"avimux ! filesink location=%1"_s.arg(video)));
        if (!made.ok)
            QSKIP(qPrintable(u"gst-launch-1.0 could not make a video: "_s + made.output));
        QVERIFY(!m_service.createFromData(readFile(video), u"clip.mp3"_s));
    }

    // Loading always takes more than one pass of the event loop; the half-loaded player is then
    // thrown away.
    void shouldRefuseSoundsThatDoNotLoadInTime()
    {
        QtSoundService impatient(std::chrono::milliseconds(0));
        QVERIFY(!impatient.createFromData(*SoundSynth::wav(u"Glass"_s), u"a.wav"_s));
        QVERIFY(!impatient.createNamed(u"Glass"_s));
    }

    void shouldStartAgainAfterBeingStopped()
    {
        const auto sound = m_service.createNamed(u"Pop"_s);
        QVERIFY(sound);
        QVERIFY(sound->start());
        sound->stop();
        QVERIFY(sound->start());
        sound->stop();
        sound->stop();
    }

    // --- what actually reaches the sound server ------------------------------------------------

    void shouldBeHeardOnTheSoundServer()
    {
        REQUIRE_SOUND_SERVER();
        const auto sound = m_service.createNamed(u"Glass"_s);
        QVERIFY(sound);
        bool started = false;
        const Level level = levelOf(record(u"heard"_s, 2.5, [&] { started = sound->start(); }));
        QVERIFY(started);
        qInfo("Glass on the sound server: %.2f s recorded, maximum amplitude %.3f", level.seconds,
            level.peak);
        QVERIFY2(level.peak > 0.2, qPrintable(QString::number(level.peak)));
    }

    void shouldBeHeardAgainWhenStartedAfterBeingStopped()
    {
        REQUIRE_SOUND_SERVER();
        const auto sound = m_service.createNamed(u"Ping"_s);
        QVERIFY(sound);
        QVERIFY(sound->start());
        sound->stop();
        bool started = false;
        const Level level = levelOf(record(u"again"_s, 2.0, [&] { started = sound->start(); }));
        QVERIFY(started);
        qInfo("Ping started again: %.2f s recorded, maximum amplitude %.3f", level.seconds,
            level.peak);
        QVERIFY2(level.peak > 0.2, qPrintable(QString::number(level.peak)));
    }

    void shouldFallSilentAfterOnePassWhenNotLooping()
    {
        REQUIRE_SOUND_SERVER();
        const auto sound = m_service.createNamed(u"Pop"_s); // 0.4 s
        QVERIFY(sound);
        sound->setLooping(false);
        QVERIFY(sound->start());
        QTest::qWait(settleMs);
        const Level level = levelOf(record(u"after-once"_s, 2.0, [] {}));
        qInfo("Pop played once, later: %.2f s recorded, maximum amplitude %.3f", level.seconds,
            level.peak);
        QVERIFY(level.seconds > 0.5);
        QVERIFY2(level.peak >= 0.0 && level.peak < 0.02, qPrintable(QString::number(level.peak)));
    }

    void shouldStillBePlayingLongAfterOnePassWhenLooping()
    {
        REQUIRE_SOUND_SERVER();
        const auto sound = m_service.createNamed(u"Pop"_s);
        QVERIFY(sound);
        sound->setLooping(true);
        QVERIFY(sound->start());
        QTest::qWait(settleMs);
        const Level level = levelOf(record(u"looping"_s, 2.0, [] {}));
        sound->stop();
        qInfo("Pop looping, later: %.2f s recorded, maximum amplitude %.3f", level.seconds,
            level.peak);
        QVERIFY2(level.peak > 0.2, qPrintable(QString::number(level.peak)));
    }

    void shouldFallSilentWhenStoppedWhileLooping()
    {
        REQUIRE_SOUND_SERVER();
        const auto sound = m_service.createNamed(u"Pop"_s);
        QVERIFY(sound);
        sound->setLooping(true);
        QVERIFY(sound->start());
        QTest::qWait(1000);
        sound->stop();
        QTest::qWait(settleMs);
        const Level level = levelOf(record(u"stopped"_s, 2.0, [] {}));
        qInfo("Pop stopped, later: %.2f s recorded, maximum amplitude %.3f", level.seconds,
            level.peak);
        QVERIFY(level.seconds > 0.5);
        QVERIFY2(level.peak >= 0.0 && level.peak < 0.02, qPrintable(QString::number(level.peak)));
    }
};

QTEST_MAIN(TestQtSoundService)
#include "tst_qtsoundservice.moc"
