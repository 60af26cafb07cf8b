// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/soundservice.h"

#include <QLibrary>
#include <QStringList>

// The sound service of the sound module (QtSoundService, with QtMultimedia and the sound server's
// libraries behind it), loaded with the first sound asked for instead of with the application:
// linking them would add their loading to every start. A module that does not load makes every
// sound null, which the caller reports as a sound that cannot play; why is said once on stderr.
// Main thread only.
class LazySoundService final : public SoundService {
public:
    // The module's places, tried in order.
    explicit LazySoundService(QStringList modulePaths);
    ~LazySoundService() override;

    // Beside the executable (a build folder), then where the package installs it.
    static QStringList installedModulePaths();

    std::unique_ptr<Sound> createNamed(const QString &name) override;
    std::unique_ptr<Sound> createFromData(const QByteArray &data, const QString &fileName) override;

private:
    SoundService *service();

    QStringList m_modulePaths;
    bool m_tried = false;
    // Never unloaded: sounds made by the module's code may outlive this object.
    QLibrary m_library;
    std::unique_ptr<SoundService> m_service;
};
