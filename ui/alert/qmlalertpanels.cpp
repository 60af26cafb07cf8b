// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/alert/qmlalertpanels.h"

#include "model/timermodel.h"
#include "ui/alert/keyboardonpress.h"
#include "ui/alert/x11workspaces.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>

#include <utility>

using namespace Qt::StringLiterals;

QmlAlertPanels::QmlAlertPanels(QQmlEngine &engine) : m_engine(engine) { }

QmlAlertPanels::~QmlAlertPanels()
{
    // Panels still waiting for the event loop go too: the engine that built them may go next.
    for (const QPointer<QQuickView> &panel : std::as_const(m_retired))
        delete panel.data();
    for (const QPointer<QQuickView> &panel : std::as_const(m_panels))
        delete panel.data();
}

void QmlAlertPanels::setModel(TimerModel *model)
{
    m_model = model;
}

Qt::WindowFlags QmlAlertPanels::flags()
{
    return Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
        | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

QRect QmlAlertPanels::geometryIn(const QRect &available)
{
    const QSize panel = size();
    return {available.x() + (available.width() - panel.width()) / 2,
        available.y() + (available.height() - panel.height()) / 2, panel.width(), panel.height()};
}

QQuickView *QmlAlertPanels::createPanel() const
{
    auto *panel = new QQuickView(&m_engine, nullptr);
    panel->setFlags(flags());
    panel->setTitle(title());
    panel->setResizeMode(QQuickView::SizeRootObjectToView);
    panel->setMinimumSize(size());
    panel->setMaximumSize(size());
    // Read by the X11 platform plugin: map the window without asking the window manager to
    // activate it, so typing in the application in front goes on undisturbed.
    panel->setProperty("_q_showWithoutActivating", true);
    KeyboardOnPress::install(*panel);
    panel->setInitialProperties({{u"model"_s, QVariant::fromValue(m_model.data())}});
    panel->setSource(source());
    if (panel->status() != QQuickView::Ready) {
        for (const QQmlError &error : panel->errors())
            qWarning("Completion alert: %ls", qUtf16Printable(error.toString()));
        delete panel;
        return nullptr;
    }
    return panel;
}

void QmlAlertPanels::showOnEveryScreen()
{
    hideAll();
    if (!m_model)
        return;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        QQuickView *panel = createPanel();
        if (!panel)
            break;
        panel->setScreen(screen);
        panel->setGeometry(geometryIn(screen->availableGeometry()));
        // A user on another workspace must see the alert too.
        X11Workspaces::showOnAllWorkspaces(*panel);
        m_panels.append(panel);
    }
    // A newly mapped window goes on top of its layer; the stay-on-top hint puts that layer above
    // ordinary windows.
    for (const QPointer<QQuickView> &panel : std::as_const(m_panels))
        panel->show();
}

void QmlAlertPanels::hideAll()
{
    m_retired.removeAll(nullptr);
    const QList<QPointer<QQuickView>> panels = std::exchange(m_panels, {});
    for (const QPointer<QQuickView> &panel : panels) {
        if (!panel)
            continue;
        // A press already on its way to another panel must not act again: a second reset would
        // end the fresh session that "再来一次" has just started.
        if (QQuickItem *content = panel->rootObject())
            content->setEnabled(false);
        panel->hide();
        panel->deleteLater();
        m_retired.append(panel);
    }
}

QList<QQuickWindow *> QmlAlertPanels::panels() const
{
    QList<QQuickWindow *> result;
    for (const QPointer<QQuickView> &panel : m_panels) {
        if (panel)
            result.append(panel.data());
    }
    return result;
}
