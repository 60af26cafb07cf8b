// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

class QQuickWindow;

// Scrolls a flickable area so that the control with the keyboard focus is in view: Tab moves
// through every control of a page, including those scrolled out of sight.
class FocusInView : public QObject {
    Q_OBJECT
    QML_ELEMENT

    // The scrolling area (a Flickable, a ListView, a ScrollView's content item).
    Q_PROPERTY(
        QQuickItem *flickable READ flickable WRITE setFlickable NOTIFY flickableChanged FINAL)

public:
    explicit FocusInView(QObject *parent = nullptr);

    QQuickItem *flickable() const { return m_flickable; }
    void setFlickable(QQuickItem *flickable);

    // The content position that shows [top, bottom) of the content whole, moving as little as
    // possible from `current`, within [0, contentHeight - viewHeight].
    static double scrolledTo(
        double current, double viewHeight, double contentHeight, double top, double bottom);

Q_SIGNALS:
    void flickableChanged();

private:
    void watch(QQuickWindow *window);
    void reveal();

    QPointer<QQuickItem> m_flickable;
    QMetaObject::Connection m_windowConnection;
    QMetaObject::Connection m_focusConnection;
};
