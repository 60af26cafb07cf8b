// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/soundservice.h"

#include <chrono>

// Sounds played by QtMultimedia (QMediaPlayer + QAudioOutput) from bytes held in memory; the
// named sounds are the synthesised ones of SoundSynth. Main thread only.
//
// Creating a sound loads it at once: the call waits, in a local event loop, until the backend
// has either decoded the start of the audio or refused it, so that a null result reliably means
// "not playable audio". Timers and other queued work run during that wait; user input does not.
class QtSoundService final : public SoundService {
public:
    explicit QtSoundService(std::chrono::milliseconds loadTimeout = std::chrono::seconds(5));

    // Null for a name that SoundSynth does not know.
    std::unique_ptr<Sound> createNamed(const QString &name) override;
    // Null when the bytes are empty, do not decode within the load timeout, or hold no audio
    // (a picture or a silent video). The file name only names the source; the content decides.
    std::unique_ptr<Sound> createFromData(const QByteArray &data, const QString &fileName) override;

private:
    std::chrono::milliseconds m_loadTimeout;
};
