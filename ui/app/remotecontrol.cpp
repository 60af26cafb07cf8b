// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/remotecontrol.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace Qt::StringLiterals;

RemoteControl::RemoteControl(TimerModel &model, std::function<void()> show, QObject *parent)
    : QObject(parent), m_model(model), m_show(std::move(show))
{
    m_page.setModel(&m_model);
    connect(&m_page, &FocusPageState::sessionChanged, this, &RemoteControl::statusChanged);
    connect(&m_model, &TimerModel::displayChanged, this, &RemoteControl::statusChanged);
    connect(&m_model, &TimerModel::titleChanged, this, &RemoteControl::statusChanged);
    connect(&m_model, &TimerModel::todayTotalChanged, this, &RemoteControl::statusChanged);
}

void RemoteControl::apply(RemoteCommand command)
{
    switch (command) {
    case RemoteCommand::Toggle:
        // The button is disabled for a fresh start of zero length; so is this.
        if (m_page.startEnabled())
            m_page.startOrPause();
        break;
    case RemoteCommand::Start:
        if (!m_model.running() && m_page.startEnabled())
            m_page.startOrPause();
        break;
    case RemoteCommand::Pause:
        m_model.pause();
        break;
    case RemoteCommand::Reset:
        // What "中止" does once confirmed; nobody is asked on the command line.
        m_model.reset();
        break;
    case RemoteCommand::Activate:
    case RemoteCommand::Show:
        if (m_show)
            m_show();
        break;
    case RemoteCommand::Status:
    case RemoteCommand::StatusJson:
    case RemoteCommand::Follow:
    case RemoteCommand::FollowJson:
        break;
    }
}

QByteArray RemoteControl::status(bool json) const
{
    const QString state = m_page.stateText();
    if (!json)
        return (state + u' ' + m_model.display() + u' ' + m_page.sessionLabel()).toUtf8();

    // Whole seconds as the page shows them: the time left rounded up, the others truncated.
    const double left = m_model.started() ? m_model.remaining() : m_model.duration();
    const std::optional<QString> subproject = m_model.attributedSubproject();
    const QJsonObject object {
        {u"state"_s, state},
        {u"remaining"_s, left > 0 ? qint64(std::ceil(left)) : 0},
        {u"total"_s, qint64(m_model.duration())},
        {u"title"_s, m_model.started() ? m_model.countdown().sessionTitle() : m_model.title()},
        {u"project"_s, m_model.attributedProject()},
        {u"subproject"_s, subproject ? QJsonValue(*subproject) : QJsonValue()},
        {u"today"_s, qint64(m_model.todayTotal())},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
