// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/countdown.h"
#include "records/focusrecord.h"

// The records that a session becomes when it ends.
namespace SessionRecord {

inline QString untitled()
{
    return QStringLiteral("未命名专注");
}

// A session that ran to zero: it ends at the deadline it reached, not when that was noticed, and
// lasts its planned length. A title of only white space counts as no title.
FocusRecord naturalEnd(const Countdown &countdown, double reachedDeadline);

// A session finished early: it ends now and lasts the time counted down so far. Only an empty
// title counts as no title; a note of only white space is no note.
FocusRecord early(const Countdown &countdown, double now, const std::optional<QString> &wrapUp);

} // namespace SessionRecord
