// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/focus/focuspagestate.h"

#include "model/timermodel.h"
#include "records/instant.h"
#include "ui/controls/modelrebind.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

FocusPageState::FocusPageState(QObject *parent) : QObject(parent) { }

void FocusPageState::setModel(TimerModel *model)
{
    if (!rebindModel(*this, m_model, model))
        return;
    if (m_model) {
        const auto session = [this](auto signal) {
            connect(m_model, signal, this, &FocusPageState::sessionChanged);
        };
        session(&TimerModel::runningChanged);
        session(&TimerModel::startedChanged);
        session(&TimerModel::durationChanged);
        session(&TimerModel::selectedProjectChanged);
        session(&TimerModel::selectedSubprojectChanged);
        // A rename can reach the session's own project or subproject.
        session(&TimerModel::projectsChanged);
        session(&TimerModel::subprojectsChanged);
        session(&TimerModel::projectColorIndicesChanged);
        session(&TimerModel::customProjectColorsChanged);
        connect(
            m_model, &TimerModel::todayTotalChanged, this, &FocusPageState::goalFractionChanged);
        connect(m_model, &TimerModel::dailyGoalHoursChanged, this,
            &FocusPageState::goalFractionChanged);
        // A new day tells the week's figures too; the header follows it.
        connect(m_model, &TimerModel::weekChanged, this, &FocusPageState::dateTextChanged);
    }
    Q_EMIT modelChanged();
    Q_EMIT dateTextChanged();
    Q_EMIT sessionChanged();
    Q_EMIT goalFractionChanged();
}

QString FocusPageState::dateText() const
{
    if (!m_model)
        return {};
    const QDateTime now = Instant::toDateTime(m_model->stats().systemNow());
    return QLocale(QLocale::Chinese, QLocale::China).toString(now.date(), u"yyyy年MMMd日 dddd"_s);
}

QString FocusPageState::stateText() const
{
    if (!m_model)
        return {};
    if (m_model->running())
        return u"正在专注"_s;
    if (m_model->countdown().finished())
        return u"已完成"_s;
    return m_model->started() ? u"已暂停"_s : u"准备开始"_s;
}

QString FocusPageState::sessionLabel() const
{
    if (!m_model)
        return {};
    const std::optional<QString> subproject = m_model->attributedSubproject();
    if (!subproject)
        return m_model->attributedProject();
    return m_model->attributedProject() + u" / "_s + *subproject;
}

QString FocusPageState::attribution() const
{
    if (!m_model)
        return {};
    const std::optional<QString> subproject = m_model->attributedSubproject();
    // With no subproject the placeholder follows the project name directly, without a separator.
    const QString tail = subproject ? QString(u" / "_s + *subproject) : u"未指定子项目"_s;
    return u"计时归属："_s + m_model->attributedProject() + tail;
}

QColor FocusPageState::sessionColor() const
{
    return m_model ? m_model->projectColor(m_model->attributedProject()) : QColor();
}

QString FocusPageState::startLabel() const
{
    if (!m_model)
        return {};
    if (m_model->running())
        return u"暂停"_s;
    return m_model->countdown().holdsSession() ? u"继续"_s : u"开始"_s;
}

bool FocusPageState::startEnabled() const
{
    return m_model && (m_model->countdown().holdsSession() || m_model->duration() != 0);
}

double FocusPageState::goalFraction() const
{
    if (!m_model)
        return 0;
    const double goalSeconds = double(m_model->dailyGoalHours()) * 3600.0;
    if (!(goalSeconds > 0))
        return 0;
    const double fraction = m_model->todayTotal() / goalSeconds;
    return fraction > 0 ? std::min(1.0, fraction) : 0.0;
}

void FocusPageState::startOrPause()
{
    if (!m_model)
        return;
    if (m_model->running()) {
        m_model->pause();
        return;
    }
    // A session that ran to zero is recorded already; the button starts the next one.
    if (m_model->countdown().finished())
        m_model->reset();
    m_model->start();
}

QStringList FocusPageState::choices(int count) const
{
    QStringList list;
    list.reserve(std::max(count, 0));
    for (int value = 0; value < count; ++value)
        list.append(u"%1"_s.arg(value, 2, 10, QLatin1Char('0')));
    return list;
}
