// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/mainwindowkeeper.h"

#include "model/timermodel.h"
#include "platform/defaultsstore.h"
#include "ui/app/trayhost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVariantMap>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The area that holds most of the frame; the first one when none holds any of it.
QRect areaFor(const QRect &frame, const QList<QRect> &areas)
{
    QRect best = areas.first();
    qint64 bestShare = 0;
    for (const QRect &area : areas) {
        const QRect common = area.intersected(frame);
        const qint64 share = qint64(common.width()) * common.height();
        if (share > bestShare) {
            bestShare = share;
            best = area;
        }
    }
    return best;
}

QRect frameFrom(const QVariant &stored)
{
    if (!DefaultsValue::isMap(stored))
        return {};
    const QVariantMap map = stored.toMap();
    for (const QString &key : {u"x"_s, u"y"_s, u"width"_s, u"height"_s}) {
        if (!DefaultsValue::isInteger(map.value(key)))
            return {};
    }
    const auto part = [&](const QString &key) {
        return int(std::clamp<qint64>(DefaultsValue::toInteger(map.value(key)), -100000, 100000));
    };
    const QRect frame(part(u"x"_s), part(u"y"_s), part(u"width"_s), part(u"height"_s));
    return frame.width() > 0 && frame.height() > 0 ? frame : QRect();
}

} // namespace

MainWindowKeeper::MainWindowKeeper(TimerModel &model, TrayHost &tray, DefaultsStore &defaults,
    std::function<void()> quit, QObject *parent)
    : QObject(parent), m_model(model), m_tray(tray), m_defaults(defaults), m_quit(std::move(quit))
{
    // A drag or a resize moves the frame many times a second; it is stored once it rests.
    m_storeSoon.setSingleShot(true);
    m_storeSoon.setInterval(800);
    connect(&m_storeSoon, &QTimer::timeout, this, &MainWindowKeeper::storeFrame);
    if (QCoreApplication::instance()) {
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
            if (m_storeSoon.isActive())
                storeFrame();
        });
    }
}

MainWindowKeeper::~MainWindowKeeper() = default;

void MainWindowKeeper::setConfirmingClose(bool confirming)
{
    if (confirming == m_confirmingClose)
        return;
    m_confirmingClose = confirming;
    Q_EMIT confirmingCloseChanged();
}

void MainWindowKeeper::setMinimumSize(const QSize &size)
{
    if (size == m_minimumSize)
        return;
    m_minimumSize = size;
    Q_EMIT minimumSizeChanged();
}

QRect MainWindowKeeper::initialFrame()
{
    m_stored = frameFrom(m_defaults.value(frameKey()));
    const QList<QRect> areas = screenAreas();
    m_frame = fitted(m_stored, areas);
    if (!areas.isEmpty())
        setMinimumSize(minimumWithin(areaFor(m_frame, areas)));
    return m_frame;
}

void MainWindowKeeper::keep(QWindow *window)
{
    m_window = window;
    m_frame = window->geometry();
    const auto moved = [this] {
        if (!m_window->isVisible() || m_window->windowState() != Qt::WindowNoState)
            return;
        m_frame = m_window->geometry();
        m_storeSoon.start();
    };
    connect(window, &QWindow::xChanged, this, moved);
    connect(window, &QWindow::yChanged, this, moved);
    connect(window, &QWindow::widthChanged, this, moved);
    connect(window, &QWindow::heightChanged, this, moved);
    connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
        if (!visible)
            windowHidden();
    });
    connect(window, &QWindow::screenChanged, this, [this](QScreen *screen) {
        if (screen)
            setMinimumSize(minimumWithin(screen->availableGeometry()));
    });
}

void MainWindowKeeper::bringForward()
{
    if (!m_window)
        return;
    if (!m_window->isVisible()) {
        // Where it was, unless the screens changed meanwhile so that it would not fit there.
        const QList<QRect> areas = screenAreas();
        if (!areas.isEmpty())
            m_window->setGeometry(fitted(m_frame, areas));
        m_window->show();
    }
    if (m_window->windowStates() & Qt::WindowMinimized)
        m_window->setWindowStates(m_window->windowStates() & ~Qt::WindowMinimized);
    m_window->raise();
    m_window->requestActivate();
}

bool MainWindowKeeper::mayClose()
{
    if (m_tray.available() || !m_model.started())
        return true;
    setConfirmingClose(true);
    return false;
}

void MainWindowKeeper::quit()
{
    setConfirmingClose(false);
    m_storeSoon.stop();
    storeFrame();
    m_quit();
}

void MainWindowKeeper::storeFrame()
{
    if (!m_frame.isValid() || m_frame == m_stored)
        return;
    const QVariantMap map {{u"x"_s, m_frame.x()}, {u"y"_s, m_frame.y()},
        {u"width"_s, m_frame.width()}, {u"height"_s, m_frame.height()}};
    if (m_defaults.setValue(frameKey(), map))
        m_stored = m_frame;
}

void MainWindowKeeper::windowHidden()
{
    m_storeSoon.stop();
    storeFrame();
    // Without a tray item nothing could bring the window back.
    if (!m_tray.available())
        m_quit();
}

QRect MainWindowKeeper::fitted(const QRect &frame, const QList<QRect> &areas)
{
    QRect wanted = frame;
    if (areas.isEmpty())
        return wanted.isValid() ? wanted : QRect(QPoint(), defaultSize());
    if (!wanted.isValid()) {
        wanted = QRect(QPoint(), defaultSize());
        wanted.moveCenter(areas.first().center());
    }
    const QRect area = areaFor(wanted, areas);
    const QSize minimum = minimumWithin(area);
    const int width = std::clamp(wanted.width(), minimum.width(), area.width());
    const int height = std::clamp(wanted.height(), minimum.height(), area.height());
    const int x = std::clamp(wanted.x(), area.x(), area.x() + area.width() - width);
    const int y = std::clamp(wanted.y(), area.y(), area.y() + area.height() - height);
    return {x, y, width, height};
}

QSize MainWindowKeeper::minimumWithin(const QRect &area)
{
    return designedMinimum().boundedTo(area.size());
}

QList<QRect> MainWindowKeeper::screenAreas()
{
    QList<QRect> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append(primary->availableGeometry());
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        if (screen != primary)
            areas.append(screen->availableGeometry());
    }
    return areas;
}
