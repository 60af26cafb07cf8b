// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>
#include <optional>

// The countdown of one focus session, held as a deadline on the wall clock so that missed ticks
// and sleep cost nothing. Plain state and rules; the model facade adds notification and the
// side effects (closing the alert, recording a finished session).
class Countdown {
public:
    using Clock = std::function<double()>;

    explicit Countdown(Clock now);

    // The chosen length. Not bounded here: the focus page offers 0…99 h and 0…59 min/s.
    int hours = 0;
    int minutes = 25;
    int seconds = 0;

    double remaining() const { return m_remaining; }
    bool running() const { return m_running; }
    bool started() const { return m_started; }
    double total() const { return m_total; }
    std::optional<double> deadline() const { return m_deadline; }
    // Ran to zero and not yet reset: the session is already recorded.
    bool finished() const { return m_started && !m_running && m_remaining <= 0; }

    std::optional<double> sessionStart() const { return m_sessionStart; }
    const QString &sessionTitle() const { return m_sessionTitle; }
    const QString &sessionProject() const { return m_sessionProject; }
    const std::optional<QString> &sessionSubproject() const { return m_sessionSubproject; }
    // Counted down or paused: the time goes to the session's own project, not to the selection.
    bool holdsSession() const { return m_started && !finished(); }

    // A rename reaches the session being counted, so that it is recorded under a name that
    // still exists.
    void renameSessionProject(const QString &oldName, const QString &newName);
    void renameSessionSubproject(
        const QString &project, const QString &oldName, const QString &newName);

    double duration() const;
    double elapsed() const { return m_total - m_remaining; }
    double currentProgress() const;
    QString display() const;

    // start is split around closing the alert: first whether anything happens at all, then the
    // fresh start or the resume. Returns false when a fresh start is refused (length 0).
    bool canStartOrResume() const;
    bool startOrResume(
        const QString &title, const QString &project, const std::optional<QString> &subproject);

    enum class TickOutcome { Idle, Counting, ReachedZero };
    // Recomputes remaining from the deadline. On ReachedZero the countdown is finished and
    // reachedDeadline holds the deadline that was reached.
    TickOutcome tick(double *reachedDeadline = nullptr);

    // Stops counting and keeps the time left; call tick first.
    void stop();
    // Back to idle with the chosen length.
    void reset();
    // Back to idle after a session was recorded early.
    void clearAfterCommit();
    void setLength(int h, int m, int s);

private:
    Clock m_now;
    double m_remaining = 1500.0;
    double m_total = 1500.0;
    bool m_running = false;
    bool m_started = false;
    std::optional<double> m_deadline;
    std::optional<double> m_sessionStart;
    QString m_sessionTitle;
    QString m_sessionProject = QStringLiteral("学习");
    std::optional<QString> m_sessionSubproject;
};
