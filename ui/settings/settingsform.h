// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class TimerModel;

// What the settings page shows of the model's sound and goal settings, and the changes its
// controls make: the reminder options with the one selected, whether a preview can play, and the
// daily goal stepper kept within its range.
class SettingsForm : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(TimerModel *model READ model WRITE setModel NOTIFY modelChanged FINAL)
    // [{label, value}] in picker order; "自选音频" only while an imported sound exists.
    Q_PROPERTY(QVariantList soundOptions READ soundOptions NOTIFY soundOptionsChanged FINAL)
    // The option holding soundName, or -1 when none does.
    Q_PROPERTY(int soundIndex READ soundIndex NOTIFY soundIndexChanged FINAL)
    Q_PROPERTY(bool canPreview READ canPreview NOTIFY soundIndexChanged FINAL)
    Q_PROPERTY(QString goalText READ goalText NOTIFY goalChanged FINAL)
    Q_PROPERTY(bool canIncreaseGoal READ canIncreaseGoal NOTIFY goalChanged FINAL)
    Q_PROPERTY(bool canDecreaseGoal READ canDecreaseGoal NOTIFY goalChanged FINAL)

public:
    static constexpr int minimumGoal = 1;
    static constexpr int maximumGoal = 16;

    explicit SettingsForm(QObject *parent = nullptr);

    TimerModel *model() const { return m_model; }
    void setModel(TimerModel *model);

    QVariantList soundOptions() const;
    int soundIndex() const;
    bool canPreview() const;
    QString goalText() const;
    bool canIncreaseGoal() const;
    bool canDecreaseGoal() const;

    // A picker choice: assigns soundName and nothing else; an index outside the options is ignored.
    Q_INVOKABLE void chooseSound(int index);
    // One hour more or less; nothing happens at the ends of 1 … 16.
    Q_INVOKABLE void increaseGoal();
    Q_INVOKABLE void decreaseGoal();

Q_SIGNALS:
    void modelChanged();
    void soundOptionsChanged();
    void soundIndexChanged();
    void goalChanged();

private:
    QStringList soundValues() const;

    QPointer<TimerModel> m_model;
};
