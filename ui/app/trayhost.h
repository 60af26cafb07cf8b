// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QTimer>

#include <optional>

// The desktop's status area, where the tray item lives. It can come after the application: a
// panel often starts after an application that the session starts, and may restart later.
class TrayHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool available() const = 0;

Q_SIGNALS:
    void availableChanged();
};

// The status area of the running desktop, as Qt's tray icon finds it. Qt says nothing when one
// appears or goes, so it is looked for every few seconds; the look is a cached X11 selection
// owner, nothing that costs while the timer runs. The first look, which asks the X server and
// the session bus, waits for the first question, so that the window's start does not wait for it.
class SystemTrayHost final : public TrayHost {
    Q_OBJECT
public:
    explicit SystemTrayHost(QObject *parent = nullptr);

    bool available() const override;

private:
    void look();

    QTimer m_poll;
    mutable std::optional<bool> m_available;
};
