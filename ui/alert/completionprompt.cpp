// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/alert/completionprompt.h"

#include "model/timermodel.h"

CompletionPrompt::CompletionPrompt(QObject *parent) : QObject(parent) { }

void CompletionPrompt::setModel(TimerModel *model)
{
    if (m_model == model)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (m_model)
        connect(m_model, &TimerModel::titleChanged, this, &CompletionPrompt::messageChanged);
    Q_EMIT modelChanged();
    Q_EMIT messageChanged();
}

QString CompletionPrompt::message() const
{
    const QString title = m_model ? m_model->title() : QString();
    // A title of blanks would leave an empty line where the message belongs.
    return title.trimmed().isEmpty() ? untitledMessage() : title;
}

void CompletionPrompt::again()
{
    if (!m_model)
        return;
    m_model->reset();
    m_model->start();
}

void CompletionPrompt::acknowledge()
{
    if (m_model)
        m_model->reset();
}
