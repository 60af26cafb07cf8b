// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class TimerModel;

// The page region's choice from the model's three page flags, and the navigation that sets them
// so that at most one is ever set.
// Not final: QML creates it through a derived wrapper.
class PageNavigation : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(TimerModel *model READ model WRITE setModel NOTIFY modelChanged FINAL)
    Q_PROPERTY(Page page READ page NOTIFY pageChanged FINAL)
    // The focus entry is highlighted while no flag is set.
    Q_PROPERTY(bool focusSelected READ focusSelected NOTIFY pageChanged FINAL)

public:
    enum Page { Focus, Review, Records, Settings };
    Q_ENUM(Page)

    explicit PageNavigation(QObject *parent = nullptr);

    TimerModel *model() const { return m_model; }
    void setModel(TimerModel *model);

    // The first flag that is set wins: records, then review, then settings.
    Page page() const;
    bool focusSelected() const;

    Q_INVOKABLE void open(PageNavigation::Page page);

Q_SIGNALS:
    void modelChanged();
    void pageChanged();

private:
    QPointer<TimerModel> m_model;
};
