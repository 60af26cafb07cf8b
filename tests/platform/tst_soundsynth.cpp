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

double peakOf(const std::vector<double> &s)
{
    double peak = 0.0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    return peak;
}

} // namespace

class TestSoundSynth : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each sound is a well-formed WAV file of half a second to a second and a half, peaking near
    // -3 dBFS without clipping, without a click at either end, and the same every time.
    void shouldMakeEachNamedSoundAWellFormedChime_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : SoundSynth::names())
            QTest::newRow(qPrintable(name)) << name;
    }
    void shouldMakeEachNamedSoundAWellFormedChime()
    {
        QFETCH(QString, name);
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
        QCOMPARE(SoundSynth::wav(name), bytes);
    }
};

QTEST_GUILESS_MAIN(TestSoundSynth)
#include "tst_soundsynth.moc"
