// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/focusinview.h"

#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>

namespace {

// A little of what lies around the control shows too.
constexpr double margin = 8;

} // namespace

FocusInView::FocusInView(QObject *parent) : QObject(parent) { }

void FocusInView::setFlickable(QQuickItem *flickable)
{
    if (flickable == m_flickable)
        return;
    disconnect(m_windowConnection);
    m_flickable = flickable;
    if (m_flickable) {
        m_windowConnection =
            connect(m_flickable, &QQuickItem::windowChanged, this, &FocusInView::watch);
        watch(m_flickable->window());
    } else {
        watch(nullptr);
    }
    Q_EMIT flickableChanged();
}

void FocusInView::watch(QQuickWindow *window)
{
    disconnect(m_focusConnection);
    if (window) {
        m_focusConnection =
            connect(window, &QQuickWindow::activeFocusItemChanged, this, &FocusInView::reveal);
    }
}

double FocusInView::scrolledTo(
    double current, double viewHeight, double contentHeight, double top, double bottom)
{
    double wanted = current;
    if (bottom > current + viewHeight)
        wanted = bottom - viewHeight;
    if (top < wanted)
        wanted = top;
    return std::clamp(wanted, 0.0, std::max(0.0, contentHeight - viewHeight));
}

void FocusInView::reveal()
{
    if (!m_flickable || !m_flickable->window())
        return;
    auto *content = m_flickable->property("contentItem").value<QQuickItem *>();
    QQuickItem *focused = m_flickable->window()->activeFocusItem();
    if (!content || !focused || !content->isAncestorOf(focused))
        return;
    const QRectF box = focused->mapRectToItem(content, focused->boundingRect());
    const double current = m_flickable->property("contentY").toDouble();
    const double originY = m_flickable->property("originY").toDouble();
    // In the flickable's content coordinates, which may start above zero (a ListView's header).
    const double shown = scrolledTo(current - originY, m_flickable->height(),
                             m_flickable->property("contentHeight").toDouble(),
                             box.top() - originY - margin, box.bottom() - originY + margin)
        + originY;
    if (shown != current)
        m_flickable->setProperty("contentY", shown);
}
