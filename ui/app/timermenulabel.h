// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The tray item's label: the countdown drawn into a tray icon. Tray icons are about 22 px square,
// far too small for "24:59", so the icon carries a short number and the tooltip the full text.
class TimerMenuLabel {
public:
    // What fits in the icon, from the countdown text ("mm:ss" or "h:mm:ss"):
    // - within the last minute, the seconds left: "59" … "1", and "0" at 00:00;
    // - below 100 minutes, the whole minutes left, hours included ("24" for 24:59, "90" for
    //   1:30:00). Minutes are truncated like the minute field of the countdown text, so the icon
    //   and the window always show the same minute, and "1" is followed directly by "59";
    // - from 100 minutes on, the whole hours with an "h" ("99h" for 99:59:59), and "99+" past
    //   99 hours;
    // - "--" for a text that is not a countdown.
    static QString iconText(const QString &display);

    // What a screen reader announces, e.g. "专注计时器，24:59，计时中".
    static QString toolTip(const QString &modeName, const QString &display, bool running);

    // A size × size icon (in device-independent pixels, so the image has size × dpr pixels):
    // iconText(display) in bold white on a rounded badge, red while running and slate grey while
    // paused or idle, with a light rim that keeps the badge apart from dark panels. A null image
    // for a size below 1.
    static QImage render(const QString &display, bool running, int size, qreal dpr = 1.0);

    static QColor backgroundColor(bool running);
    static QColor textColor();
};

// Keeps the last drawn tray icon: some trays write a file per icon change, so the icon is drawn
// again only when its text, its state or its size changes, not at every tick.
class TrayIconCache {
public:
    explicit TrayIconCache(int size = 22, qreal dpr = 1.0);

    // True when the icon was drawn again and must be handed to the tray.
    bool update(const QString &display, bool running);
    // A new size or pixel ratio (the tray moved to another screen); the next update redraws.
    void setSize(int size, qreal dpr);

    const QImage &image() const { return m_image; }
    QString iconText() const { return m_text; }
    bool isRunning() const { return m_running; }

private:
    int m_size;
    qreal m_dpr;
    QString m_text;
    bool m_running = false;
    bool m_drawn = false;
    QImage m_image;
};
