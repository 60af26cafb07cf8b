// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"
#include "records/instant.h"

#include <QDateTime>
#include <QTimeZone>

#include <optional>

// Pinned dates for the figures' tests: wall-clock times in Shanghai, as the runner's TZ.
namespace StatsTestData {

inline double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    static const QTimeZone shanghai("Asia/Shanghai");
    return Instant::fromDateTime(
        QDateTime(QDate(year, month, day), QTime(hour, minute, second), shanghai));
}

inline FocusRecord record(double endedAt, double duration,
    const QString &project = QStringLiteral("学习"), std::optional<QString> subproject = {})
{
    FocusRecord r;
    r.title = QStringLiteral("读书");
    r.startedAt = endedAt - duration;
    r.endedAt = endedAt;
    r.duration = duration;
    r.project = project;
    r.subproject = std::move(subproject);
    return r;
}

} // namespace StatsTestData
