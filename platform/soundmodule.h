// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class SoundService;

// The one entry of the sound module: a new sound service, owned by the caller, or null.
namespace SoundModule {
using CreateFunction = SoundService *(*)();
inline constexpr char entry[] = "velmorFocusCreateSoundService";
} // namespace SoundModule
