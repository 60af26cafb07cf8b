// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

class TimerModel;

// What the completion alert says and does, for CompletionView.
class CompletionPrompt : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(TimerModel *model READ model WRITE setModel NOTIFY modelChanged FINAL)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged FINAL)

public:
    explicit CompletionPrompt(QObject *parent = nullptr);

    TimerModel *model() const { return m_model; }
    void setModel(TimerModel *model);

    // The session's title, or "这一段时间，完成了。" when it has none.
    QString message() const;

    // "再来一次": a fresh session of the chosen length, with the current title and project.
    Q_INVOKABLE void again();
    // "知道了".
    Q_INVOKABLE void acknowledge();

    static QString untitledMessage() { return QStringLiteral("这一段时间，完成了。"); }

Q_SIGNALS:
    void modelChanged();
    void messageChanged();

private:
    QPointer<TimerModel> m_model;
};
