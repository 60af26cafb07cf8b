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

// The samples of a canonical mono 16-bit PCM WAV file at 44.1 kHz, -1 … 1: a RIFF header whose
// size is right, a 16-byte format chunk, and the data chunk running to the end of the file.
std::optional<std::vector<double>> parse(const QByteArray &bytes)
{
    const auto u32 = [&bytes](qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.data() + at);
    };
    const auto u16 = [&bytes](qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.data() + at);
    };
    if (bytes.size() < 46
        || bytes.left(4) + bytes.mid(8, 8) + bytes.mid(36, 4) != "RIFFWAVEfmt data"
        || u32(4) != quint32(bytes.size() - 8) || u32(16) != 16
        || u32(40) != quint32(bytes.size() - 44)
        || QList<quint32> {u16(20), u16(22), u32(24), u32(28), u16(32), u16(34)}
            != QList<quint32> {1, 1, 44100, 88200, 2, 16})
        return std::nullopt;
    std::vector<double> samples;
    for (qsizetype i = 44; i + 1 < bytes.size(); i += 2)
        samples.push_back(qFromLittleEndian<qint16>(bytes.data() + i) / 32768.0);
    return samples;
}

double peakOf(const std::vector<double> &s, double fromSecond = 0, double toSecond = 99)
{
    const auto first = s.begin() + std::min(s.size(), std::size_t(fromSecond * 44100));
    const auto last = s.begin() + std::min(s.size(), std::size_t(toSecond * 44100));
    double peak = 0.0;
    for (auto it = first; it < last; ++it)
        peak = std::max(peak, std::abs(*it));
    return peak;
}

// Rough pitch from the zero crossings between `from` and `to` seconds.
double pitchOf(const std::vector<double> &s, double from, double to)
{
    int crossings = 0;
    for (auto i = std::size_t(from * 44100) + 1; i < std::min(s.size(), std::size_t(to * 44100));
         ++i)
        crossings += (s[i - 1] < 0.0) != (s[i] < 0.0);
    return crossings / 2.0 / (to - from);
}

} // namespace

class TestSoundSynth : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each sound is a well-formed WAV file of half a second to a second and a half, peaking near
    // -3 dBFS without clipping, without a click at either end, its own, the same
    // every time, and in the register its name suggests.
    void shouldMakeEachNamedSoundAsItsNameSuggests_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<double>>("pitch"); // from and to seconds, lowest and highest Hz
        QTest::newRow("Glass is high") << u"Glass"_s << QList<double> {0.05, 0.3, 1000, 4000};
        QTest::newRow("Ping is bright") << u"Ping"_s << QList<double> {0.02, 0.2, 1500, 4000};
        QTest::newRow("Pop sweeps down to low") << u"Pop"_s << QList<double> {0.05, 0.1, 100, 400};
        QTest::newRow("Purr is low") << u"Purr"_s << QList<double> {0.2, 0.8, 60, 400};
        QTest::newRow("Submarine is mid") << u"Submarine"_s << QList<double> {0.05, 0.3, 800, 1100};
        QTest::newRow("Hero ends high") << u"Hero"_s << QList<double> {0.45, 0.75, 500, 2000};
    }
    void shouldMakeEachNamedSoundAsItsNameSuggests()
    {
        QFETCH(QString, name);
        QFETCH(QList<double>, pitch);
        const auto bytes = SoundSynth::wav(name);
        QVERIFY(bytes);
        const auto samples = parse(*bytes);
        QVERIFY(samples);
        const std::vector<double> &s = *samples;
        const double seconds = double(s.size()) / 44100;
        QVERIFY2(seconds >= 0.4 && seconds <= 1.5, qPrintable(QString::number(seconds)));
        const double peak = peakOf(s);
        QVERIFY2(peak > 0.63 && peak < 0.79, qPrintable(QString::number(peak))); // -4 … -2 dBFS
        // A sample far from zero at either end is heard as a click.
        QVERIFY(peakOf({s.begin(), s.begin() + 4}) < 0.001);
        QVERIFY(peakOf({s.end() - 44, s.end()}) < 0.01);
        const double hz = pitchOf(s, pitch[0], pitch[1]);
        QVERIFY2(hz >= pitch[2] && hz <= pitch[3], qPrintable(QString::number(hz)));

        QCOMPARE(SoundSynth::wav(name), bytes);
        for (const QString &other : SoundSynth::names())
            QVERIFY2(other == name || SoundSynth::wav(other) != bytes, qPrintable(other));
    }

    void shouldGiveNothingForAnyOtherName()
    {
        for (const QString &name : {u"none"_s, u"custom"_s, QString(), u"glass"_s, u" Glass"_s})
            QVERIFY2(!SoundSynth::wav(name), qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestSoundSynth)
#include "tst_soundsynth.moc"
