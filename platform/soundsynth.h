// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The named alert sounds, made in code rather than shipped as files: short tones written as
// 16-bit mono PCM WAV at 44.1 kHz, peaking at -3 dBFS, with fades so that they start and end
// without a click.
class SoundSynth {
public:
    static constexpr int sampleRate = 44100;

    // "Glass", "Ping", "Pop", "Purr", "Submarine", "Hero".
    static QStringList names();

    // The complete WAV file of a named sound (names are case-sensitive); nothing for any other
    // name. Each sound is synthesised once and then served from a cache.
    static std::optional<QByteArray> wav(const QString &name);
};
