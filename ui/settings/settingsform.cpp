// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/settings/settingsform.h"

#include "model/timermodel.h"
#include "ui/controls/modelrebind.h"

using namespace Qt::StringLiterals;

namespace {

const QString noSound = u"none"_s;
const QString customSound = u"custom"_s;

QStringList namedSounds()
{
    return {u"Glass"_s, u"Ping"_s, u"Pop"_s, u"Purr"_s, u"Submarine"_s, u"Hero"_s};
}

} // namespace

SettingsForm::SettingsForm(QObject *parent) : QObject(parent) { }

void SettingsForm::setModel(TimerModel *model)
{
    if (!rebindModel(*this, m_model, model))
        return;
    if (m_model) {
        // An import changes both settings; the selection follows whichever arrives.
        connect(m_model, &TimerModel::customPathChanged, this, [this] {
            Q_EMIT soundOptionsChanged();
            Q_EMIT soundIndexChanged();
        });
        connect(m_model, &TimerModel::soundNameChanged, this, &SettingsForm::soundIndexChanged);
        connect(m_model, &TimerModel::dailyGoalHoursChanged, this, &SettingsForm::goalChanged);
    }
    Q_EMIT modelChanged();
    Q_EMIT soundOptionsChanged();
    Q_EMIT soundIndexChanged();
    Q_EMIT goalChanged();
}

QStringList SettingsForm::soundValues() const
{
    QStringList values = QStringList {noSound} + namedSounds();
    if (m_model && !m_model->customPath().isEmpty())
        values.append(customSound);
    return values;
}

QVariantList SettingsForm::soundOptions() const
{
    QVariantList options;
    for (const QString &value : soundValues()) {
        const QString label = value == noSound ? u"无铃声"_s
            : value == customSound             ? u"自选音频"_s
                                               : value;
        options.append(QVariantMap {{u"label"_s, label}, {u"value"_s, value}});
    }
    return options;
}

int SettingsForm::soundIndex() const
{
    return m_model ? int(soundValues().indexOf(m_model->soundName())) : -1;
}

bool SettingsForm::canPreview() const
{
    return m_model && m_model->soundName() != noSound;
}

QString SettingsForm::goalText() const
{
    return u"每日目标　"_s + QString::number(m_model ? m_model->dailyGoalHours() : 0) + u" 小时"_s;
}

bool SettingsForm::canIncreaseGoal() const
{
    return m_model && m_model->dailyGoalHours() < maximumGoal;
}

bool SettingsForm::canDecreaseGoal() const
{
    return m_model && m_model->dailyGoalHours() > minimumGoal;
}

void SettingsForm::chooseSound(int index)
{
    const QStringList values = soundValues();
    if (m_model && index >= 0 && index < values.size())
        m_model->setSoundName(values.at(index));
}

void SettingsForm::increaseGoal()
{
    if (canIncreaseGoal())
        m_model->setDailyGoalHours(m_model->dailyGoalHours() + 1);
}

void SettingsForm::decreaseGoal()
{
    if (canDecreaseGoal())
        m_model->setDailyGoalHours(m_model->dailyGoalHours() - 1);
}
