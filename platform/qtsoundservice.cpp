// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtsoundservice.h"

#include "platform/soundsynth.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMetaObject>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// One player over its own copy of the bytes. Members are declared so that the player is
// destroyed before the output and the buffer it reads from.
//
// Looping is done here, by starting again at the end: Qt 6.4's GStreamer backend ignores
// setLoops(QMediaPlayer::Infinite), plays the source once and then stays in PlayingState.
class QtSound final : public Sound {
public:
    QtSound(const QByteArray &data, const QString &fileName)
    {
        m_buffer.setData(data);
        m_buffer.open(QIODevice::ReadOnly);
        m_player.setAudioOutput(&m_output);
        QObject::connect(
            &m_player, &QMediaPlayer::errorOccurred, &m_player, [this](QMediaPlayer::Error error) {
                if (error != QMediaPlayer::NoError)
                    m_failed = true;
            });
        QObject::connect(&m_player, &QMediaPlayer::mediaStatusChanged, &m_player,
            [this](QMediaPlayer::MediaStatus status) { onStatus(status); });
        // The backend refuses to play a device source whose URL is empty, although it reads only
        // the device.
        const QString name = QFileInfo(fileName).fileName();
        m_url = QUrl::fromLocalFile(name.isEmpty() ? u"sound"_s : name);
        m_player.setSourceDevice(&m_buffer, m_url);
    }

    // Qt 6.4's GStreamer backend can crash tearing down, in its destructor, a pipeline that
    // holds a video stream; emptying the source first takes it down while all is still alive.
    ~QtSound() override { m_player.setSource(QUrl()); }

    // True once the backend has found audio in the bytes; false on refusal or timeout.
    bool waitUntilLoaded(std::chrono::milliseconds timeout)
    {
        if (!settled()) {
            QEventLoop loop;
            QTimer timer;
            timer.setSingleShot(true);
            QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
            QObject::connect(&m_player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
            QObject::connect(&m_player, &QMediaPlayer::mediaStatusChanged, &loop, [this, &loop] {
                if (settled())
                    loop.quit();
            });
            timer.start(timeout);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        return !m_failed && m_player.mediaStatus() == QMediaPlayer::LoadedMedia
            && m_player.hasAudio();
    }

    void setLooping(bool looping) override { m_looping = looping; }

    bool start() override
    {
        if (m_failed)
            return false;
        if (m_played)
            reload();
        m_played = true;
        m_playing = true;
        m_player.play();
        if (m_failed || m_player.playbackState() != QMediaPlayer::PlayingState) {
            m_playing = false;
            return false;
        }
        return true;
    }

    void stop() override
    {
        m_playing = false;
        m_player.stop();
    }

private:
    bool settled() const
    {
        const auto status = m_player.mediaStatus();
        return m_failed || status == QMediaPlayer::LoadedMedia
            || status == QMediaPlayer::InvalidMedia;
    }

    void onStatus(QMediaPlayer::MediaStatus status)
    {
        if (status == QMediaPlayer::InvalidMedia) {
            m_failed = true;
        } else if (status == QMediaPlayer::EndOfMedia) {
            if (m_playing && m_looping)
                QMetaObject::invokeMethod(
                    &m_player, [this] { playAgain(); }, Qt::QueuedConnection);
            else
                m_playing = false;
        }
    }

    void playAgain()
    {
        if (!m_playing || !m_looping)
            return;
        reload();
        m_player.play();
    }

    // Playing again from the start would otherwise seek the device source back, and now and then
    // that leaves the backend waiting for data for ever, silent.
    void reload()
    {
        m_player.setSource(QUrl());
        m_buffer.seek(0);
        m_player.setSourceDevice(&m_buffer, m_url);
    }

    QUrl m_url;
    QBuffer m_buffer;
    QAudioOutput m_output;
    QMediaPlayer m_player;
    bool m_looping = false;
    bool m_played = false; // started at least once
    bool m_playing = false; // started and neither stopped nor at its end
    bool m_failed = false;
};

} // namespace

QtSoundService::QtSoundService(std::chrono::milliseconds loadTimeout) : m_loadTimeout(loadTimeout)
{
}

std::unique_ptr<Sound> QtSoundService::createNamed(const QString &name)
{
    const auto wav = SoundSynth::wav(name);
    if (!wav)
        return nullptr;
    return createFromData(*wav, name + u".wav"_s);
}

std::unique_ptr<Sound> QtSoundService::createFromData(
    const QByteArray &data, const QString &fileName)
{
    // Without an application object there is no event loop for the backend to report through.
    if (data.isEmpty() || !QCoreApplication::instance())
        return nullptr;
    auto sound = std::make_unique<QtSound>(data, fileName);
    if (!sound->waitUntilLoaded(m_loadTimeout))
        return nullptr;
    return sound;
}
