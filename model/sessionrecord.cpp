// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/sessionrecord.h"

namespace SessionRecord {

FocusRecord naturalEnd(const Countdown &countdown, double reachedDeadline)
{
    FocusRecord record;
    const QString &title = countdown.sessionTitle();
    record.title = title.trimmed().isEmpty() ? untitled() : title;
    record.startedAt = countdown.sessionStart().value_or(reachedDeadline);
    record.endedAt = reachedDeadline;
    record.duration = countdown.total();
    record.project = countdown.sessionProject();
    record.subproject = countdown.sessionSubproject();
    return record;
}

FocusRecord early(const Countdown &countdown, double now, const std::optional<QString> &wrapUp)
{
    FocusRecord record;
    const QString &title = countdown.sessionTitle();
    record.title = title.isEmpty() ? untitled() : title;
    record.startedAt = countdown.sessionStart().value_or(now);
    record.endedAt = now;
    record.duration = countdown.elapsed();
    record.project = countdown.sessionProject();
    record.subproject = countdown.sessionSubproject();
    if (wrapUp && !wrapUp->trimmed().isEmpty())
        record.wrapUp = wrapUp;
    record.early = true;
    return record;
}

} // namespace SessionRecord
