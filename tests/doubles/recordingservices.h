// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/alertpanels.h"
#include "platform/filebrowser.h"
#include "platform/filedialogs.h"
#include "platform/soundservice.h"
#include "platform/wakesignal.h"
#include "ui/app/trayhost.h"

#include <QStringList>

#include <optional>

// Remembers what the model asked of the alert panels.
class RecordingAlertPanels final : public AlertPanels {
public:
    void showOnEveryScreen() override { visible = true; }
    void hideAll() override { visible = false; }
    bool visible = false;
};

// A wake signal that the test fires by hand.
class FakeWakeSignal final : public WakeSignal {
public:
    void fire() { Q_EMIT woke(); }
};

// A status area that the test puts up and takes away by hand.
class FakeTrayHost final : public TrayHost {
public:
    explicit FakeTrayHost(bool available = false) : m_available(available) { }
    bool available() const override { return m_available; }
    void setAvailable(bool available)
    {
        m_available = available;
        Q_EMIT availableChanged();
    }

private:
    bool m_available;
};

// Answers the open and save panels with what the test prepared.
class ScriptedFileDialogs final : public FileDialogs {
public:
    std::optional<QString> chooseSavePath(const QString &suggestedName, const QString &) override
    {
        lastSuggestedName = suggestedName;
        return savePath;
    }
    std::optional<QString> chooseAudioFile() override
    {
        ++openDialogs;
        return audioPath;
    }
    std::optional<QString> savePath;
    std::optional<QString> audioPath;
    QString lastSuggestedName;
    int openDialogs = 0;
};

class RecordingFileBrowser final : public FileBrowser {
public:
    void openFolder(const QString &path) override { opened.append(path); }
    QStringList opened;
};

// A sound service whose sounds only log what happens to them. Data equal to badData cannot be
// made a sound; failStart makes start() report failure.
class RecordingSoundService final : public SoundService {
public:
    struct Log {
        QStringList events; // "create:Glass", "loop:true", "start", "stop", "data:<fileName>"
    };

    class RecordingSound final : public Sound {
    public:
        RecordingSound(Log &log, bool failStart) : m_log(log), m_failStart(failStart) { }
        void setLooping(bool looping) override
        {
            m_log.events.append(
                looping ? QStringLiteral("loop:true") : QStringLiteral("loop:false"));
        }
        bool start() override
        {
            m_log.events.append(QStringLiteral("start"));
            return !m_failStart;
        }
        void stop() override { m_log.events.append(QStringLiteral("stop")); }

    private:
        Log &m_log;
        bool m_failStart;
    };

    std::unique_ptr<Sound> createNamed(const QString &name) override
    {
        log.events.append(QStringLiteral("create:") + name);
        return std::make_unique<RecordingSound>(log, failStart);
    }
    std::unique_ptr<Sound> createFromData(const QByteArray &data, const QString &fileName) override
    {
        if (data == badData)
            return nullptr;
        log.events.append(QStringLiteral("data:") + fileName);
        return std::make_unique<RecordingSound>(log, failStart);
    }

    Log log;
    QByteArray badData = QByteArrayLiteral("not audio");
    bool failStart = false;
};
