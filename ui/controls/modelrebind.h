// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/timermodel.h"

#include <QObject>
#include <QPointer>

// Points a view helper at another model and drops every connection the old model had to it.
// False when it is the same model, so the caller has nothing to redo.
inline bool rebindModel(QObject &receiver, QPointer<TimerModel> &current, TimerModel *next)
{
    if (current == next)
        return false;
    if (current)
        QObject::disconnect(current, nullptr, &receiver, nullptr);
    current = next;
    return true;
}
