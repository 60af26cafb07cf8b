// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The countdown and finishing operations of the model: start, pause, reset, the tick, and the two
// ways a session becomes a record.

#include "model/sessionrecord.h"
#include "model/timermodel.h"

TimerModel::CountdownSnapshot TimerModel::snapshot() const
{
    return {m_countdown.remaining(), m_countdown.running(), m_countdown.started(),
        m_countdown.duration(), m_countdown.elapsed(), m_countdown.currentProgress(),
        m_countdown.display()};
}

void TimerModel::notifyCountdown(const CountdownSnapshot &before, bool remainingAssigned)
{
    const CountdownSnapshot after = snapshot();
    // Exact comparisons on purpose: any change at all must reach the views.
    const auto differs = [](double a, double b) {
        return !(a == b) && !(a != a && b != b);
    };
    if (remainingAssigned || differs(before.remaining, after.remaining))
        Q_EMIT remainingChanged();
    if (before.running != after.running)
        Q_EMIT runningChanged();
    if (before.started != after.started)
        Q_EMIT startedChanged();
    if (differs(before.duration, after.duration))
        Q_EMIT durationChanged();
    if (differs(before.elapsed, after.elapsed))
        Q_EMIT elapsedChanged();
    if (differs(before.progress, after.progress))
        Q_EMIT currentProgressChanged();
    if (before.display != after.display)
        Q_EMIT displayChanged();
    // Today's total and ring include the session while it runs.
    if (after.running || before.running != after.running)
        Q_EMIT todayTotalChanged();
}

void TimerModel::start()
{
    if (!m_countdown.canStartOrResume())
        return;
    const CountdownSnapshot before = snapshot();
    dismiss();
    m_countdown.startOrResume(m_title, m_catalog.selectedProject(), m_catalog.selectedSubproject());
    notifyCountdown(before);
}

void TimerModel::pause()
{
    tick();
    if (!m_countdown.running())
        return;
    const CountdownSnapshot before = snapshot();
    m_countdown.stop();
    notifyCountdown(before);
}

void TimerModel::tick()
{
    if (!m_countdown.running())
        return;
    const CountdownSnapshot before = snapshot();
    double reachedDeadline = 0;
    const Countdown::TickOutcome outcome = m_countdown.tick(&reachedDeadline);
    notifyCountdown(before, true);
    if (outcome == Countdown::TickOutcome::ReachedZero)
        finishNaturally(reachedDeadline);
}

void TimerModel::requestReset()
{
    if (m_countdown.running() && m_countdown.elapsed() >= 60) {
        setPendingReset(true);
        return;
    }
    reset();
}

void TimerModel::reset()
{
    const CountdownSnapshot before = snapshot();
    m_countdown.reset();
    notifyCountdown(before);
    dismiss();
}

void TimerModel::preset(int minutes)
{
    reset();
    setHours(minutes / 60);
    setMinutes(minutes % 60);
    setSeconds(0);
}

QString TimerModel::rawValue(TimerMode mode)
{
    switch (mode) {
    case TimerMode::Focus:
        break;
    }
    return QStringLiteral("专注");
}

std::optional<TimerModel::TimerMode> TimerModel::timerMode(const QString &rawValue)
{
    if (rawValue == u"专注")
        return TimerMode::Focus;
    return std::nullopt;
}

void TimerModel::selectMode(TimerMode mode)
{
    if (m_countdown.started())
        return;
    m_mode = mode;
    Q_EMIT modeChanged();
    setHours(0);
    setMinutes(25);
    setSeconds(0);
}

void TimerModel::finishNaturally(double reachedDeadline)
{
    // The countdown is already finished (not running, no deadline) when this runs.
    if (m_countdown.sessionStart()) {
        const FocusRecord record = SessionRecord::naturalEnd(m_countdown, reachedDeadline);
        FocusRecordList updated;
        updated.reserve(loadedRecords().size() + 1);
        updated.append(record);
        updated.append(records());
        // On failure recordError tells why; the session has ended anyway. While writing is
        // locked it is kept for the repair to write.
        if (!saveInBackground(updated) && !recordsReadable())
            keepWaiting(record);
    }
    if (m_completion)
        m_completion();
    else
        showCompletion();
}

void TimerModel::finishEarly()
{
    if (m_countdown.running())
        pause();
    // A session that ran to zero is already recorded, also when the pause above was what
    // noticed it: finishing it again would store it twice.
    if (m_countdown.finished() || !m_countdown.started())
        return;
    if (m_countdown.elapsed() >= 60) {
        setPendingFinish(true);
        setWrapDraft(QString());
    } else {
        setToast(QStringLiteral("专注不足 1 分钟，不计入记录。"));
    }
}

void TimerModel::commitEarly()
{
    commitEarly(std::optional<QString>());
}

void TimerModel::commitEarly(const QString &wrapUp)
{
    commitEarly(std::optional<QString>(wrapUp));
}

void TimerModel::commitEarly(const std::optional<QString> &wrapUp)
{
    if (m_countdown.finished())
        return; // already recorded when it ran to zero
    awaitRecords();
    if (!recordsReadable()) {
        setRecordError(RecordStore::lockedMessage());
        return;
    }
    if (!m_countdown.sessionStart())
        return;
    const double spent = m_countdown.elapsed();
    FocusRecordList updated;
    updated.reserve(records().size() + 1);
    updated.append(SessionRecord::early(m_countdown, m_now(), wrapUp));
    updated.append(records());
    if (!saveRecords(updated))
        return;
    setPendingFinish(false);
    setToast(QStringLiteral("已记录") + QString::number(qint64(spent / 60))
        + QStringLiteral("分钟专注。"));
    const CountdownSnapshot before = snapshot();
    m_countdown.clearAfterCommit();
    notifyCountdown(before);
}

void TimerModel::completeWrap(const std::optional<QString> &wrapUp)
{
    if (loadedRecords().isEmpty())
        return;
    FocusRecordList updated = records();
    updated.first().wrapUp = wrapUp;
    saveRecords(updated);
}
