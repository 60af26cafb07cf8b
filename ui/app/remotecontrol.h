// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/timermodel.h"
#include "platform/remotecommand.h"
#include "ui/focus/focuspagestate.h"

#include <QByteArray>
#include <QObject>

#include <functional>

// Carries out the commands of the command line on the model, through the model's own operations
// and the focus page's button rule, and tells the state in the texts the window shows.
class RemoteControl final : public QObject {
    Q_OBJECT
public:
    // show brings the main window forward, showing it again when it was closed.
    RemoteControl(TimerModel &model, std::function<void()> show, QObject *parent = nullptr);

    void apply(RemoteCommand command);
    // One line: the state as the ring shows it, the time left as the focus page shows it, and
    // the project with its subproject. As JSON: state, remaining, total, title, project,
    // subproject and today (whole seconds).
    QByteArray status(bool json) const;

Q_SIGNALS:
    // The status may have changed.
    void statusChanged();

private:
    TimerModel &m_model;
    std::function<void()> m_show;
    FocusPageState m_page;
};
