// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QWindow;

// Lets a window that is shown without taking the keyboard accept it once the user presses on
// it: the alert panels leave the application in front undisturbed, yet a user who clicks into
// one can then answer it with Return, as with any panel they chose to use.
class KeyboardOnPress final : public QObject {
    Q_OBJECT

public:
    // Watches the window's presses; the watcher belongs to the window.
    static void install(QWindow &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit KeyboardOnPress(QWindow &window);
};
