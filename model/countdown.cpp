// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/countdown.h"

#include <algorithm>
#include <cmath>
#include <limits>

Countdown::Countdown(Clock now) : m_now(std::move(now)) { }

double Countdown::duration() const
{
    // Integer arithmetic as specified, widened so that any int input stays exact.
    return double(qint64(hours) * 3600 + qint64(minutes) * 60 + qint64(seconds));
}

double Countdown::currentProgress() const
{
    if (!m_started)
        return 0.0;
    const double progress = 1.0 - m_remaining / std::max(m_total, 1.0);
    if (std::isnan(progress))
        return 0.0;
    return std::clamp(progress, 0.0, 1.0);
}

QString Countdown::display() const
{
    const double value = m_started ? m_remaining : duration();
    const double up = std::ceil(value);
    qint64 s = 0;
    if (up > 0)
        s = up >= 9.2e18 ? std::numeric_limits<qint64>::max() : qint64(up);
    const qint64 h = s / 3600;
    const qint64 m = (s / 60) % 60;
    const qint64 sec = s % 60;
    const auto two = [](qint64 v) {
        return QString::number(v).rightJustified(2, u'0');
    };
    if (h > 0)
        return QString::number(h) + u':' + two(m) + u':' + two(sec);
    return two(m) + u':' + two(sec);
}

bool Countdown::canStartOrResume() const
{
    if (m_running)
        return false;
    if (m_started && !(m_remaining > 0))
        return false; // a finished session must be reset first
    return true;
}

bool Countdown::startOrResume(
    const QString &title, const QString &project, const std::optional<QString> &subproject)
{
    if (!m_started) {
        if (!(duration() > 0))
            return false;
        m_total = duration();
        m_remaining = m_total;
        m_sessionStart = m_now();
        m_sessionTitle = title;
        m_sessionProject = project;
        m_sessionSubproject = subproject;
    }
    m_started = true;
    m_deadline = m_now() + m_remaining;
    m_running = true;
    return true;
}

Countdown::TickOutcome Countdown::tick(double *reachedDeadline)
{
    if (!m_running || !m_deadline)
        return TickOutcome::Idle;
    const double deadline = *m_deadline;
    m_remaining = std::max(0.0, deadline - m_now());
    if (m_remaining > 0)
        return TickOutcome::Counting;
    m_running = false;
    m_deadline.reset();
    if (reachedDeadline)
        *reachedDeadline = deadline;
    return TickOutcome::ReachedZero;
}

void Countdown::stop()
{
    m_running = false;
    m_deadline.reset();
}

void Countdown::reset()
{
    m_running = false;
    m_started = false;
    m_deadline.reset();
    m_remaining = duration();
    m_sessionStart.reset();
}

void Countdown::clearAfterCommit()
{
    reset();
}

void Countdown::renameSessionProject(const QString &oldName, const QString &newName)
{
    if (holdsSession() && m_sessionProject == oldName)
        m_sessionProject = newName;
}

void Countdown::renameSessionSubproject(
    const QString &project, const QString &oldName, const QString &newName)
{
    if (holdsSession() && m_sessionProject == project && m_sessionSubproject == oldName)
        m_sessionSubproject = newName;
}

void Countdown::setLength(int h, int m, int s)
{
    hours = h;
    minutes = m;
    seconds = s;
}
