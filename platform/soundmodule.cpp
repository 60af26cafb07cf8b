// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/soundmodule.h"

#include "platform/qtsoundservice.h"

#include <QtGlobal>

#include <new>

// Named as SoundModule::entry says.
extern "C" Q_DECL_EXPORT SoundService *velmorFocusCreateSoundService()
{
    return new (std::nothrow) QtSoundService();
}
