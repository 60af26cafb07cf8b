// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/trayhost.h"

#include <QSystemTrayIcon>

SystemTrayHost::SystemTrayHost(QObject *parent) : TrayHost(parent)
{
    m_poll.setInterval(3000);
    connect(&m_poll, &QTimer::timeout, this, &SystemTrayHost::look);
    m_poll.start();
}

bool SystemTrayHost::available() const
{
    if (!m_available)
        m_available = QSystemTrayIcon::isSystemTrayAvailable();
    return *m_available;
}

void SystemTrayHost::look()
{
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    // Nobody has asked yet, so nobody needs telling.
    if (!m_available) {
        m_available = available;
        return;
    }
    if (available == *m_available)
        return;
    m_available = available;
    Q_EMIT availableChanged();
}
