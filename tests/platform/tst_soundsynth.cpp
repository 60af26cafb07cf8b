// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/soundsynth.h"

#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// What a player needs from a PCM WAV file, read by walking its chunks.
struct Wav {
    bool valid = false;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int byteRate = 0;
    int blockAlign = 0;
    std::vector<double> samples; // first channel, -1 … 1

    double seconds() const { return rate > 0 ? double(samples.size()) / rate : 0.0; }
};

Wav parse(const QByteArray &bytes)
{
    Wav wav;
    const auto u32 = [&bytes](qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    const auto u16 = [&bytes](qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE"
        || u32(4) != quint32(bytes.size() - 8))
        return wav;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (body + size > bytes.size())
            return wav;
        if (id == "fmt " && size >= 16) {
            wav.format = u16(body);
            wav.channels = u16(body + 2);
            wav.rate = int(u32(body + 4));
            wav.byteRate = int(u32(body + 8));
            wav.blockAlign = u16(body + 12);
            wav.bits = u16(body + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat && wav.bits == 16 && wav.channels > 0) {
            if (size % wav.blockAlign != 0 || body + size != bytes.size())
                return wav;
            for (qsizetype i = body; i < body + size; i += wav.blockAlign)
                wav.samples.push_back(qFromLittleEndian<qint16>(bytes.constData() + i) / 32768.0);
            wav.valid = true;
        }
        at = body + size + (size & 1);
    }
    return wav;
}

double peakOf(const std::vector<double> &s)
{
    double peak = 0.0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    return peak;
}

// Rough pitch from the zero crossings between `from` and `to` seconds.
double pitchOf(const Wav &wav, double from, double to)
{
    const auto first = std::size_t(from * wav.rate);
    const auto last = std::min(wav.samples.size(), std::size_t(to * wav.rate));
    int crossings = 0;
    for (std::size_t i = first + 1; i < last; ++i)
        if ((wav.samples[i - 1] < 0.0) != (wav.samples[i] < 0.0))
            ++crossings;
    return crossings / 2.0 / (to - from);
}

Wav soundNamed(const QString &name)
{
    const auto bytes = SoundSynth::wav(name);
    return bytes ? parse(*bytes) : Wav {};
}

} // namespace

class TestSoundSynth : public QObject {
    Q_OBJECT

    static void addEachName()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : SoundSynth::names())
            QTest::newRow(name.toUtf8().constData()) << name;
    }

private Q_SLOTS:
    void shouldOfferTheSixNamedSoundsInOrder()
    {
        QCOMPARE(SoundSynth::names(),
            QStringList({u"Glass"_s, u"Ping"_s, u"Pop"_s, u"Purr"_s, u"Submarine"_s, u"Hero"_s}));
    }

    void shouldWriteAWellFormedPcmWavFile_data() { addEachName(); }
    void shouldWriteAWellFormedPcmWavFile()
    {
        QFETCH(QString, name);
        const Wav wav = soundNamed(name);
        QVERIFY(wav.valid);
        QCOMPARE(wav.format, 1);
        QVERIFY(wav.channels == 1 || wav.channels == 2);
        QCOMPARE(wav.rate, 44100);
        QCOMPARE(wav.bits, 16);
        QCOMPARE(wav.blockAlign, wav.channels * 2);
        QCOMPARE(wav.byteRate, wav.rate * wav.blockAlign);
    }

    void shouldLastBetweenAboutHalfASecondAndOneAndAHalfSeconds_data() { addEachName(); }
    void shouldLastBetweenAboutHalfASecondAndOneAndAHalfSeconds()
    {
        QFETCH(QString, name);
        const double seconds = soundNamed(name).seconds();
        QVERIFY2(seconds >= 0.4 && seconds <= 1.5, qPrintable(QString::number(seconds)));
    }

    void shouldPeakNearMinusThreeDecibelsWithoutClipping_data() { addEachName(); }
    void shouldPeakNearMinusThreeDecibelsWithoutClipping()
    {
        QFETCH(QString, name);
        const double peak = peakOf(soundNamed(name).samples);
        QVERIFY2(peak > 0.63 && peak < 0.79, qPrintable(QString::number(peak))); // -4 … -2 dBFS
    }

    void shouldBeClearlyAudible_data() { addEachName(); }
    void shouldBeClearlyAudible()
    {
        QFETCH(QString, name);
        const Wav wav = soundNamed(name);
        double energy = 0.0;
        for (double v : wav.samples)
            energy += v * v;
        const double rms = std::sqrt(energy / double(wav.samples.size()));
        QVERIFY2(rms > 0.03, qPrintable(QString::number(rms)));
    }

    // A sample far from zero at either end is heard as a click.
    void shouldStartAndEndInSilence_data() { addEachName(); }
    void shouldStartAndEndInSilence()
    {
        QFETCH(QString, name);
        const std::vector<double> s = soundNamed(name).samples;
        const std::size_t edge = 44; // 1 ms
        QVERIFY(s.size() > 2 * edge);
        QVERIFY(peakOf({s.begin(), s.begin() + 4}) < 0.001);
        QVERIFY(peakOf({s.end() - 4, s.end()}) < 0.001);
        QVERIFY(peakOf({s.end() - edge, s.end()}) < 0.01);
    }

    void shouldGiveEachNameItsOwnSound()
    {
        const QStringList names = SoundSynth::names();
        for (qsizetype i = 0; i < names.size(); ++i)
            for (qsizetype j = i + 1; j < names.size(); ++j)
                QVERIFY2(SoundSynth::wav(names[i]) != SoundSynth::wav(names[j]),
                    qPrintable(names[i] + u" = "_s + names[j]));
    }

    void shouldSoundInTheRegisterItsNameSuggests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("lowestHz");
        QTest::addColumn<double>("highestHz");
        QTest::newRow("Glass is high") << u"Glass"_s << 0.05 << 0.3 << 1000.0 << 4000.0;
        QTest::newRow("Ping is bright") << u"Ping"_s << 0.02 << 0.2 << 1500.0 << 4000.0;
        QTest::newRow("Pop sweeps down to low") << u"Pop"_s << 0.05 << 0.1 << 100.0 << 400.0;
        QTest::newRow("Purr is low") << u"Purr"_s << 0.2 << 0.8 << 60.0 << 400.0;
        QTest::newRow("Submarine is mid") << u"Submarine"_s << 0.05 << 0.3 << 800.0 << 1100.0;
    }
    void shouldSoundInTheRegisterItsNameSuggests()
    {
        QFETCH(QString, name);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, lowestHz);
        QFETCH(double, highestHz);
        const double hz = pitchOf(soundNamed(name), from, to);
        QVERIFY2(hz >= lowestHz && hz <= highestHz, qPrintable(QString::number(hz)));
    }

    void shouldLetSubmarineRingOnLongAfterPingHasDied()
    {
        const auto levelAt = [](const QString &name, double second) {
            const Wav wav = soundNamed(name);
            const auto at = std::size_t(second * wav.rate);
            return peakOf({wav.samples.begin() + at, wav.samples.begin() + at + 2205});
        };
        QVERIFY(levelAt(u"Submarine"_s, 0.6) > 0.1);
        QVERIFY(levelAt(u"Ping"_s, 0.6) < 0.05);
    }

    void shouldLetHeroRiseFromItsFirstToItsLastNote()
    {
        const Wav hero = soundNamed(u"Hero"_s);
        const double first = pitchOf(hero, 0.02, 0.1);
        const double last = pitchOf(hero, 0.45, 0.75);
        QVERIFY2(last > 1.6 * first, qPrintable(u"%1 → %2"_s.arg(first).arg(last)));
    }

    void shouldGiveNothingForAnyOtherName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("none") << u"none"_s;
        QTest::newRow("custom") << u"custom"_s;
        QTest::newRow("a sound that is not made here") << u"Basso"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("other case") << u"glass"_s;
        QTest::newRow("padded") << u" Glass"_s;
    }
    void shouldGiveNothingForAnyOtherName()
    {
        QFETCH(QString, name);
        QVERIFY(!SoundSynth::wav(name).has_value());
    }

    void shouldGiveTheSameBytesEveryTime()
    {
        for (const QString &name : SoundSynth::names())
            QCOMPARE(SoundSynth::wav(name), SoundSynth::wav(name));
    }
};

QTEST_GUILESS_MAIN(TestSoundSynth)
#include "tst_soundsynth.moc"
