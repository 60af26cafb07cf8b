// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/soundsynth.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <numbers>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr double rate = SoundSynth::sampleRate;
constexpr double twoPi = 2.0 * std::numbers::pi;
constexpr double peakLevel = 0.7071; // -3 dBFS
constexpr double fadeInSeconds = 0.003;
constexpr double fadeOutSeconds = 0.03;

using Signal = std::vector<double>;

Signal silence(double seconds)
{
    return Signal(static_cast<std::size_t>(seconds * rate), 0.0);
}

// 0 → 1 along half a cosine: a ramp without the corner that a straight line puts at each end.
double smoothRamp(double x)
{
    return x >= 1.0 ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * std::max(x, 0.0));
}

// One sine component: it rises over `attack` seconds, then dies away exponentially with the time
// constant `decay`. With `glideTo` set, its pitch slides exponentially to that frequency over
// `glideSeconds`.
struct Partial {
    double frequency = 440.0;
    double amplitude = 1.0;
    double decay = 0.2;
    double attack = 0.002;
    double start = 0.0;
    double glideTo = 0.0;
    double glideSeconds = 1.0;
};

void add(Signal &signal, const Partial &p)
{
    const auto first = static_cast<std::size_t>(p.start * rate);
    double phase = 0.0;
    for (std::size_t i = first; i < signal.size(); ++i) {
        const double t = static_cast<double>(i - first) / rate;
        double frequency = p.frequency;
        if (p.glideTo > 0.0)
            frequency *= std::pow(p.glideTo / p.frequency, std::min(t / p.glideSeconds, 1.0));
        const double envelope = smoothRamp(t / p.attack) * std::exp(-t / p.decay);
        signal[i] += p.amplitude * envelope * std::sin(phase);
        phase += twoPi * frequency / rate;
    }
}

// Inharmonic partials in the ratios of a free bar, the upper ones dying fastest; a slightly
// detuned copy of the fundamental beats against it and gives the shimmer of struck glass.
Signal glass()
{
    Signal s = silence(1.3);
    const double f0 = 1318.5;
    add(s, {.frequency = f0, .amplitude = 1.0, .decay = 0.45});
    add(s, {.frequency = f0 * 1.0035, .amplitude = 0.35, .decay = 0.5});
    add(s, {.frequency = f0 * 2.756, .amplitude = 0.5, .decay = 0.2});
    add(s, {.frequency = f0 * 5.404, .amplitude = 0.25, .decay = 0.09});
    add(s, {.frequency = f0 * 8.933, .amplitude = 0.12, .decay = 0.05});
    return s;
}

Signal ping()
{
    Signal s = silence(0.7);
    const double f0 = 1760.0;
    add(s, {.frequency = f0, .amplitude = 1.0, .decay = 0.16});
    add(s, {.frequency = f0 * 2.0, .amplitude = 0.3, .decay = 0.07});
    add(s, {.frequency = f0 * 3.0, .amplitude = 0.12, .decay = 0.04});
    return s;
}

// A fast downward sweep that is over almost before it is heard, like a cork.
Signal pop()
{
    Signal s = silence(0.4);
    add(s,
        {.frequency = 700.0,
            .amplitude = 1.0,
            .decay = 0.04,
            .attack = 0.001,
            .glideTo = 140.0,
            .glideSeconds = 0.05});
    add(s,
        {.frequency = 1400.0,
            .amplitude = 0.2,
            .decay = 0.02,
            .attack = 0.001,
            .glideTo = 280.0,
            .glideSeconds = 0.05});
    return s;
}

// A low, soft harmonic tone whose loudness flutters about 24 times a second.
Signal purr()
{
    Signal s = silence(1.1);
    const double f0 = 98.0;
    const double attack = 0.08;
    const double release = 0.3;
    const double length = static_cast<double>(s.size()) / rate;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        double tone = 0.0;
        for (int n = 1; n <= 6; ++n)
            tone += std::sin(twoPi * n * f0 * t) / std::pow(n, 1.5);
        const double flutter = 0.55 + 0.45 * std::sin(twoPi * 24.0 * t);
        const double envelope = smoothRamp(t / attack) * smoothRamp((length - t) / release);
        s[i] = envelope * flutter * tone;
    }
    return s;
}

// A sonar ping: a pure tone sinking slightly in pitch as it rings out, and a fainter echo.
Signal submarine()
{
    Signal s = silence(1.5);
    for (const auto &[start, amplitude] : {std::pair {0.0, 1.0}, std::pair {0.35, 0.3}}) {
        add(s,
            {.frequency = 932.0,
                .amplitude = amplitude,
                .decay = 0.45,
                .attack = 0.006,
                .start = start,
                .glideTo = 880.0,
                .glideSeconds = 1.2});
        add(s,
            {.frequency = 1864.0,
                .amplitude = amplitude * 0.12,
                .decay = 0.2,
                .attack = 0.006,
                .start = start,
                .glideTo = 1760.0,
                .glideSeconds = 1.2});
    }
    return s;
}

// One brassy note: a few harmonics, a quick attack, a slow decay while held, then a release.
void addNote(
    Signal &signal, double start, double held, double frequency, double decay, double release)
{
    const auto first = static_cast<std::size_t>(start * rate);
    const auto last =
        std::min(signal.size(), first + static_cast<std::size_t>((held + release) * rate));
    for (std::size_t i = first; i < last; ++i) {
        const double t = static_cast<double>(i - first) / rate;
        double tone = 0.0;
        for (int n = 1; n <= 5; ++n)
            tone += std::sin(twoPi * n * frequency * t) / std::pow(n, 1.3);
        const double ending = t < held ? 1.0 : smoothRamp((held + release - t) / release);
        signal[i] += smoothRamp(t / 0.012) * std::exp(-t / decay) * ending * tone;
    }
}

// A rising major arpeggio ending on a held octave.
Signal hero()
{
    Signal s = silence(1.25);
    const double notes[] = {523.25, 659.25, 783.99};
    for (int i = 0; i < 3; ++i)
        addNote(s, 0.12 * i, 0.1, notes[i], 0.35, 0.04);
    addNote(s, 0.36, 0.7, 1046.5, 0.5, 0.15);
    return s;
}

// Fades both ends, scales the peak to peakLevel and writes the samples as a WAV file.
QByteArray toWav(Signal s)
{
    const auto fadeIn = static_cast<std::size_t>(fadeInSeconds * rate);
    const auto fadeOut = static_cast<std::size_t>(fadeOutSeconds * rate);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double fromEnd = static_cast<double>(s.size() - 1 - i);
        s[i] *= smoothRamp(static_cast<double>(i) / fadeIn) * smoothRamp(fromEnd / fadeOut);
    }
    double peak = 0.0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    const double gain = peak > 0.0 ? peakLevel / peak : 0.0;

    const auto dataBytes = static_cast<quint32>(s.size() * 2);
    QByteArray out;
    out.reserve(44 + static_cast<qsizetype>(dataBytes));
    const auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF");
    put32(36 + dataBytes);
    out.append("WAVE");
    out.append("fmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(SoundSynth::sampleRate);
    put32(SoundSynth::sampleRate * 2);
    put16(2);
    put16(16);
    out.append("data");
    put32(dataBytes);
    for (double v : s) {
        const auto sample =
            static_cast<qint16>(std::lround(std::clamp(v * gain, -1.0, 1.0) * 32767.0));
        put16(static_cast<quint16>(sample));
    }
    return out;
}

struct Voice {
    QString name;
    Signal (*render)();
};

const Voice voices[] = {
    {u"Glass"_s, glass},
    {u"Ping"_s, ping},
    {u"Pop"_s, pop},
    {u"Purr"_s, purr},
    {u"Submarine"_s, submarine},
    {u"Hero"_s, hero},
};

} // namespace

QStringList SoundSynth::names()
{
    QStringList result;
    for (const Voice &voice : voices)
        result.append(voice.name);
    return result;
}

std::optional<QByteArray> SoundSynth::wav(const QString &name)
{
    const auto voice = std::find_if(
        std::begin(voices), std::end(voices), [&name](const Voice &v) { return v.name == name; });
    if (voice == std::end(voices))
        return std::nullopt;

    static QMutex mutex;
    static QHash<QString, QByteArray> cache;
    const QMutexLocker lock(&mutex);
    auto cached = cache.constFind(name);
    if (cached == cache.constEnd())
        cached = cache.insert(name, toWav(voice->render()));
    return *cached;
}
