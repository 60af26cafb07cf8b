// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/instant.h"

#include <cmath>

namespace Instant {

QDateTime toDateTime(double instant)
{
    const double msecs = std::floor(toUnixSeconds(instant) * 1000.0);
    // Beyond about ±290 million years QDateTime cannot represent the value.
    if (!std::isfinite(msecs) || std::fabs(msecs) > 8.0e18)
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(msecs));
}

double currentWallClock()
{
    return fromUnixSeconds(double(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}

} // namespace Instant
