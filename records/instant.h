// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>

// Instants are seconds since 2001-01-01 00:00:00 UTC, as doubles; the record file stores them so.
namespace Instant {

inline constexpr double unixOffsetSeconds = 978307200.0;

inline double fromUnixSeconds(double unixSeconds)
{
    return unixSeconds - unixOffsetSeconds;
}
inline double toUnixSeconds(double instant)
{
    return instant + unixOffsetSeconds;
}

inline double fromDateTime(const QDateTime &dateTime)
{
    return fromUnixSeconds(double(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

// Local date and time of an instant; an instant that no date can hold gives an invalid QDateTime.
QDateTime toDateTime(double instant);

// The instant of the system's wall clock right now.
double currentWallClock();

} // namespace Instant
