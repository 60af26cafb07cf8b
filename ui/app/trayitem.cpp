// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/trayitem.h"

#include "model/timermodel.h"
#include "ui/app/trayhost.h"
#include "ui/app/velmorstimerapp.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

// Tray icons are drawn about 22 px high.
constexpr int iconSize = 22;

} // namespace

TrayItem::TrayItem(TimerModel &model, TrayHost &host, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_host(host),
      m_cache(iconSize, 1.0),
      m_menu(std::make_unique<QMenu>())
{
    m_return = m_menu->addAction(u"回到计时器"_s);
    m_startPause = m_menu->addAction(startPauseLabel(m_model.running()));
    m_reset = m_menu->addAction(u"重置"_s);
    m_menu->addSeparator();
    m_quit = m_menu->addAction(u"退出"_s);
    // The entry that brings the application's window back wears the application's icon.
    m_return->setIcon(VelmorsTimerApp::applicationIcon());
    // The window's own keys, shown beside the entries that do the same.
    m_startPause->setShortcut(QKeySequence(Qt::Key_Space));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    connect(m_return, &QAction::triggered, this, &TrayItem::returnRequested);
    connect(m_startPause, &QAction::triggered, this, &TrayItem::startOrPause);
    // The menu resets at once; only the focus page asks first.
    connect(m_reset, &QAction::triggered, &m_model, &TimerModel::reset);
    connect(m_quit, &QAction::triggered, this, &TrayItem::quitRequested);
    // The label always matches the state at the moment the menu opens.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &TrayItem::updateStartPause);

    connect(&m_model, &TimerModel::runningChanged, this, [this] {
        updateStartPause();
        updateIcon();
        updateToolTip();
    });
    connect(&m_model, &TimerModel::displayChanged, this, [this] {
        updateIcon();
        updateToolTip();
    });
    connect(&m_model, &TimerModel::modeChanged, this, &TrayItem::updateToolTip);

    m_icon.setContextMenu(m_menu.get());
    // A left click opens the same menu: the item is a menu, not a launcher.
    connect(&m_icon, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger)
                m_menu->popup(QCursor::pos());
        });

    // A screen that changes its scale, or the icon moving to another screen, draws the icon again
    // at the new pixel ratio (the ticks catch a move made while the session runs).
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        followScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        followScreen(screen);
        updateIcon();
    });
    connect(
        qApp, &QGuiApplication::screenRemoved, this, &TrayItem::updateIcon, Qt::QueuedConnection);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &TrayItem::updateIcon);
    connect(&m_host, &TrayHost::availableChanged, this, &TrayItem::updateVisibility);

    updateIcon();
    updateToolTip();
}

TrayItem::~TrayItem() = default;

qreal TrayItem::iconPixelRatio() const
{
    const QRect place = m_icon.geometry();
    QScreen *screen = place.isValid() ? QGuiApplication::screenAt(place.center()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

void TrayItem::followScreen(QScreen *screen)
{
    // A screen's scale follows its logical DPI on X11, and its logical size changes with it.
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &TrayItem::updateIcon);
    connect(screen, &QScreen::geometryChanged, this, &TrayItem::updateIcon);
}

bool TrayItem::showIfAvailable()
{
    m_wanted = true;
    updateVisibility();
    return m_icon.isVisible();
}

void TrayItem::updateVisibility()
{
    // A desktop without a status area is a normal setup, not a fault: the window is enough. An
    // icon whose host went away is hidden, so that it is docked anew when a host comes back.
    const bool show = m_wanted && m_host.available();
    if (show != m_icon.isVisible())
        m_icon.setVisible(show);
}

QString TrayItem::startPauseLabel(bool running)
{
    return running ? u"暂停"_s : u"开始 / 继续"_s;
}

void TrayItem::updateIcon()
{
    m_cache.setSize(iconSize, iconPixelRatio());
    if (!m_cache.update(m_model.display(), m_model.running()))
        return;
    m_icon.setIcon(QIcon(QPixmap::fromImage(m_cache.image())));
    Q_EMIT iconRedrawn();
}

void TrayItem::updateToolTip()
{
    m_icon.setToolTip(TimerMenuLabel::toolTip(
        TimerModel::rawValue(m_model.mode()), m_model.display(), m_model.running()));
}

void TrayItem::updateStartPause()
{
    m_startPause->setText(startPauseLabel(m_model.running()));
}

void TrayItem::startOrPause()
{
    if (m_model.running())
        m_model.pause();
    else
        m_model.start();
}
