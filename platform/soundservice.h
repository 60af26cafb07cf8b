// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// One playable sound.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void setLooping(bool looping) = 0;
    // False when playback could not start.
    virtual bool start() = 0;
    virtual void stop() = 0;
};

// Creates sounds: the named alert sounds, or audio held in memory. A null result means the
// sound could not be created (unknown name, bytes that do not decode as audio).
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual std::unique_ptr<Sound> createNamed(const QString &name) = 0;
    virtual std::unique_ptr<Sound> createFromData(
        const QByteArray &data, const QString &fileName) = 0;
};
