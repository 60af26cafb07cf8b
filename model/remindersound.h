// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class DefaultsStore;
class Sound;
class SoundService;

// The reminder sound: the chosen sound's two settings, playing it, and importing an audio file
// as the custom sound. Failures come back as the message to show; nothing is thrown.
class ReminderSound final : public QObject {
    Q_OBJECT

public:
    // settings holds "timer-sound" and "timer-custom-audio"; an absent sound service plays
    // nothing; storageFolder receives imported copies.
    ReminderSound(DefaultsStore &settings, SoundService *service,
        std::optional<QString> storageFolder, QObject *parent = nullptr);
    ~ReminderSound() override;

    // "Glass" while no name is stored; "none" plays nothing, "custom" plays customPath.
    QString name() const;
    void setName(const QString &value);
    QString customPath() const;
    void setCustomPath(const QString &value);

    // Plays the chosen sound from its beginning, stopping one that still plays. Returns the
    // message to show when it cannot play.
    std::optional<QString> play(bool loop);
    void stop();
    bool isPlaying() const { return m_playing != nullptr; }

    // Copies the chosen file into the storage folder and makes the copy the custom sound, once
    // the copy is known to play. Returns the message to show when it is refused.
    std::optional<QString> importFile(const QString &chosen);

Q_SIGNALS:
    void nameChanged();
    void customPathChanged();

private:
    // The imported sound read into memory; null when it cannot be read or played.
    std::unique_ptr<Sound> createCustom(const QString &path) const;
    // A copy that importFile made: the only file an import may delete.
    bool isImported(const QString &path) const;

    DefaultsStore &m_settings;
    SoundService *m_service;
    std::optional<QString> m_storageFolder;
    std::unique_ptr<Sound> m_playing;
};
