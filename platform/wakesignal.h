// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// Tells when the machine has woken from sleep.
class WakeSignal : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void woke();
};

// logind's PrepareForSleep(false) on the system bus. Without a system bus there is simply no
// signal and no error.
class LogindWakeSignal final : public WakeSignal {
    Q_OBJECT
public:
    using WakeSignal::WakeSignal;

    // Subscribes to logind's signal; a start asks for it once its window is on screen, since the
    // system bus may be slow to answer.
    void listen();

    bool isConnected() const { return m_connected; }

private Q_SLOTS:
    void onPrepareForSleep(bool sleeping);

private:
    bool m_connected = false;
};
