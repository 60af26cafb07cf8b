// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/focusrecord.h"

#include <cmath>
#include <limits>

namespace RecordMath {

qint64 wholeSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it is clamped.
    constexpr double limit = 9223372036854775808.0;
    if (seconds >= limit)
        return std::numeric_limits<qint64>::max();
    if (seconds <= -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(seconds); // truncates toward zero
}

} // namespace RecordMath

QString FocusRecord::durationText() const
{
    const qint64 s = RecordMath::wholeSeconds(duration);
    if (s >= 3600)
        return QString::number(s / 3600) + u"小时" + QString::number((s / 60) % 60) + u"分钟";
    if (s < 60)
        return QString::number(s) + u"秒";
    QString text = QString::number(s / 60) + u"分钟";
    if (s % 60 != 0)
        text += QString::number(s % 60) + u"秒";
    return text;
}
