// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class TimerModel;

// What the focus page shows that is more than one model field: the texts that follow the
// countdown's state and the selection, the start button's rule and the daily-goal fraction.
// Not final: QML creates it through a derived wrapper.
class FocusPageState : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(TimerModel *model READ model WRITE setModel NOTIFY modelChanged FINAL)
    Q_PROPERTY(QString dateText READ dateText NOTIFY dateTextChanged FINAL)
    Q_PROPERTY(QString stateText READ stateText NOTIFY sessionChanged FINAL)
    Q_PROPERTY(QString sessionLabel READ sessionLabel NOTIFY sessionChanged FINAL)
    Q_PROPERTY(QString attribution READ attribution NOTIFY sessionChanged FINAL)
    Q_PROPERTY(QColor sessionColor READ sessionColor NOTIFY sessionChanged FINAL)
    Q_PROPERTY(QString startLabel READ startLabel NOTIFY sessionChanged FINAL)
    Q_PROPERTY(bool startEnabled READ startEnabled NOTIFY sessionChanged FINAL)
    Q_PROPERTY(double goalFraction READ goalFraction NOTIFY goalFractionChanged FINAL)

public:
    explicit FocusPageState(QObject *parent = nullptr);

    TimerModel *model() const { return m_model; }
    void setModel(TimerModel *model);

    // Today's date with year, abbreviated month, day and full weekday, in Chinese.
    QString dateText() const;
    // "正在专注", "已完成" after a natural end, "已暂停" or "准备开始".
    QString stateText() const;
    // The attributed project (the session's own while one is held), with " / " and the
    // subproject when there is one.
    QString sessionLabel() const;
    // "计时归属：" and the attribution; "未指定子项目" follows the project when there is no
    // subproject.
    QString attribution() const;
    QColor sessionColor() const;
    // "暂停" while running, "继续" while paused, else "开始" (also after a natural end).
    QString startLabel() const;
    // A fresh start needs a length above zero; a held session can always pause or resume.
    bool startEnabled() const;
    // Today's focus over the daily goal, capped at 1.
    double goalFraction() const;

    // The start/pause button: pauses while running, otherwise resumes or starts; after a natural
    // end it starts the next session of the chosen length.
    Q_INVOKABLE void startOrPause();
    // "00", "01", … up to count − 1: the choices of a duration picker.
    Q_INVOKABLE QStringList choices(int count) const;

Q_SIGNALS:
    void modelChanged();
    void dateTextChanged();
    void sessionChanged();
    void goalFractionChanged();

private:
    QPointer<TimerModel> m_model;
};
