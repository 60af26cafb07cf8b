// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A model on test doubles: a clock moved by hand (also the clock of "today"), a defaults store
// in memory, a temporary storage folder, and recorders for the alert, sound, dialogs and wake.
class ModelFixture {
public:
    explicit ModelFixture(FileWriter *writer = nullptr)
    {
        services.storageFolder = folder.filePath(QStringLiteral("VelmorTimer"));
        services.alertPanels = &alert;
        services.wake = &wake;
        services.sound = &sound;
        services.dialogs = &dialogs;
        services.fileBrowser = &browser;
        services.fileWriter = writer;
        services.todayClock = clock.clock();
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
    }

    // A new start of the application over the same stores and folder.
    void restart()
    {
        model.reset();
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
    }

    QString storage() const { return *services.storageFolder; }
    QString recordFile() const { return storage() + QStringLiteral("/focus-records.json"); }

    // Runs a fresh session of the chosen length to its natural end.
    void runToEnd(const QString &title = QString())
    {
        model->reset();
        model->setTitle(title);
        model->start();
        clock.advance(model->duration());
        model->tick();
        model->reset();
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    // 2026-03-04 10:00 in Asia/Shanghai, a Wednesday.
    FakeClock clock {794282400.0};
    MemoryDefaultsStore defaults;
    RecordingAlertPanels alert;
    FakeWakeSignal wake;
    RecordingSoundService sound;
    ScriptedFileDialogs dialogs;
    RecordingFileBrowser browser;
    TimerServices services;
    std::unique_ptr<TimerModel> model;
};
