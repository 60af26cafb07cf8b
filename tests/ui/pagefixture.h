// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <memory>

// The real model on test doubles, and a window that shows the module's QML on it.
class PageFixture {
public:
    // Wednesday 13 March 2024, 12:00 local time: a week from Monday 11 to Sunday 17 March.
    static double sampleNow();
    // A record of that many minutes that ended at 20:00 local time on that day of March 2024.
    static FocusRecord record(const QString &project, int dayOfMarch, double minutes);
    // A record of that many minutes that ended an hour before sampleNow().
    static FocusRecord todayRecord(
        const QString &project, double minutes, std::optional<QString> subproject = std::nullopt);
    // Draws everything in software, so that the tests need no graphics driver, unless
    // QT_QUICK_BACKEND chooses otherwise.
    static void useSoftwareRendering();

    PageFixture();
    ~PageFixture();

    // Creates qrc:/VelmorFocus/<file> with these initial properties, in the window; a visual
    // item fills the window, a popup takes the window's content as its parent.
    QObject *load(const QString &file, QVariantMap properties);
    // Lays out and draws the window once, as the next frame would.
    void render();
    void click(QQuickItem *item);
    void press(Qt::Key key);

    // The items of that objectName under root (the window's content when absent), depth first.
    QList<QQuickItem *> items(const QString &objectName, QQuickItem *root = nullptr) const;
    QQuickItem *item(const QString &objectName, QQuickItem *root = nullptr) const;
    // Items by their position in the window: top to bottom, then left to right.
    static QList<QQuickItem *> byPosition(QList<QQuickItem *> items);
    static QRectF sceneRect(const QQuickItem *item);

    QTemporaryDir folder;
    FakeClock clock {sampleNow()};
    MemoryDefaultsStore defaults;
    RecordingSoundService sound;
    ScriptedFileDialogs dialogs;
    TimerServices services;
    std::unique_ptr<TimerModel> model;
    QQmlEngine engine;
    QQuickWindow window;

protected:
    QList<QObject *> m_loaded;
};

// The page in that file (FocusHistoryView.qml, ReviewPage.qml, …) on the fixture's model.
QQuickItem *showPage(PageFixture &fixture, const QString &file);
// The text of the item of that objectName under root, "<missing>" when there is none.
QString textIn(const PageFixture &fixture, const QString &objectName, QQuickItem *root = nullptr);
