// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/alert/keyboardonpress.h"

#include <QEvent>
#include <QWindow>

KeyboardOnPress::KeyboardOnPress(QWindow &window) : QObject(&window) { }

void KeyboardOnPress::install(QWindow &window)
{
    window.installEventFilter(new KeyboardOnPress(window));
}

bool KeyboardOnPress::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::TouchBegin)
        return false;
    auto *window = qobject_cast<QWindow *>(watched);
    if (window && window->flags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
        window->setFlag(Qt::WindowDoesNotAcceptFocus, false);
        window->requestActivate();
    }
    // The press itself goes on to the button under it.
    return false;
}
