// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/alertpanels.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>

class QQmlEngine;
class QQuickView;
class QQuickWindow;
class TimerModel;

// The completion alert as Qt Quick windows: a CompletionView of the model on every screen, each a
// titled tool window without buttons, above other windows, shown without taking the keyboard
// focus from the application in front.
class QmlAlertPanels final : public AlertPanels {
public:
    // The panels are built by the given engine, which must outlive them.
    explicit QmlAlertPanels(QQmlEngine &engine);
    ~QmlAlertPanels() override;

    QmlAlertPanels(const QmlAlertPanels &) = delete;
    QmlAlertPanels &operator=(const QmlAlertPanels &) = delete;

    // The model that the panels show and act on. The model takes this object as a service when
    // it is constructed, so it is handed over afterwards; without it nothing is shown.
    void setModel(TimerModel *model);

    void showOnEveryScreen() override;
    // The panels are hidden at once but deleted only from the event loop: the press of a panel's
    // own button is what usually gets here.
    void hideAll() override;

    // The panels on screen, in the order of their screens.
    QList<QQuickWindow *> panels() const;

    static QString title() { return QStringLiteral("Velmor's Focus"); }
    static QSize size() { return {440, 370}; }
    // A tool window with a title bar and no buttons that stays on top and never takes the focus.
    static Qt::WindowFlags flags();
    // A panel's frame in the middle of a screen's available area.
    static QRect geometryIn(const QRect &available);
    static QUrl source() { return QUrl(QStringLiteral("qrc:/VelmorFocus/CompletionView.qml")); }

private:
    QQuickView *createPanel() const;

    QQmlEngine &m_engine;
    QPointer<TimerModel> m_model;
    QList<QPointer<QQuickView>> m_panels;
    // Hidden panels that the event loop has yet to delete.
    QList<QPointer<QQuickView>> m_retired;
};
