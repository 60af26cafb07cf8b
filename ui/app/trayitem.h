// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/app/timermenulabel.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class QAction;
class QMenu;
class QScreen;
class TimerModel;
class TrayHost;

// The status-area item: an icon that always shows the time left, the full text as its tooltip,
// and the short menu "回到计时器", "暂停" or "开始 / 继续", "重置", "退出".
class TrayItem final : public QObject {
    Q_OBJECT
public:
    TrayItem(TimerModel &model, TrayHost &host, QObject *parent = nullptr);
    ~TrayItem() override;

    // Shows the icon while the desktop has a status area, from now on: at once when there is one,
    // otherwise as soon as one appears. Says whether the icon is shown now.
    bool showIfAvailable();

    const QSystemTrayIcon &icon() const { return m_icon; }
    QMenu *menu() const { return m_menu.get(); }
    QAction *returnAction() const { return m_return; }
    QAction *startPauseAction() const { return m_startPause; }
    QAction *resetAction() const { return m_reset; }
    QAction *quitAction() const { return m_quit; }

    static QString startPauseLabel(bool running);

    // The device pixel ratio of the screen the icon is on: where the tray tells the icon's place,
    // the screen there, else the primary screen.
    qreal iconPixelRatio() const;

Q_SIGNALS:
    // "回到计时器".
    void returnRequested();
    // "退出".
    void quitRequested();
    // The icon was drawn again (its figures, state or size changed).
    void iconRedrawn();

private:
    void followScreen(QScreen *screen);
    void updateVisibility();
    void updateIcon();
    void updateToolTip();
    void updateStartPause();
    void startOrPause();

    TimerModel &m_model;
    TrayHost &m_host;
    bool m_wanted = false;
    TrayIconCache m_cache;
    std::unique_ptr<QMenu> m_menu;
    QAction *m_return = nullptr;
    QAction *m_startPause = nullptr;
    QAction *m_reset = nullptr;
    QAction *m_quit = nullptr;
    QSystemTrayIcon m_icon;
};
