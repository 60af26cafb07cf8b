// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"

#include "records/instant.h"

#include <QQmlComponent>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(VelmorFocusPlugin)

using namespace Qt::StringLiterals;

double PageFixture::sampleNow()
{
    return Instant::fromDateTime(QDateTime(QDate(2024, 3, 13), QTime(12, 0)));
}

FocusRecord PageFixture::record(const QString &project, int dayOfMarch, double minutes)
{
    FocusRecord record;
    record.title = u"整理"_s;
    record.project = project;
    record.endedAt = Instant::fromDateTime(QDateTime(QDate(2024, 3, dayOfMarch), QTime(20, 0)));
    record.duration = minutes * 60;
    record.startedAt = record.endedAt - record.duration;
    return record;
}

FocusRecord PageFixture::todayRecord(
    const QString &project, double minutes, std::optional<QString> subproject)
{
    FocusRecord today = record(project, 13, minutes);
    today.endedAt = sampleNow() - 3600;
    today.startedAt = today.endedAt - today.duration;
    today.subproject = std::move(subproject);
    return today;
}

void PageFixture::useSoftwareRendering()
{
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

PageFixture::PageFixture()
{
    // A warning from the module's QML is a broken binding or assignment: it fails the test that
    // caused it. Made from init(), this holds for the test function that follows.
    QTest::failOnWarning(QRegularExpression(u"^qrc:/VelmorFocus/"_s));
    QStandardPaths::setTestModeEnabled(true);
    services.storageFolder = folder.filePath(u"VelmorTimer"_s);
    services.todayClock = clock.clock();
    services.sound = &sound;
    services.dialogs = &dialogs;
    model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
    window.resize(900, 1200);
    window.show();
    // Shortcuts and typing reach only the focused window.
    window.requestActivate();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("The test window did not become active.");
}

PageFixture::~PageFixture()
{
    qDeleteAll(m_loaded);
}

QObject *PageFixture::load(const QString &file, QVariantMap properties)
{
    QQmlComponent component(&engine, QUrl(u"qrc:/VelmorFocus/"_s + file));
    if (component.isError()) {
        qWarning() << component.errors();
        return nullptr;
    }
    const bool popup = file == u"ProjectEditor.qml"_s;
    if (popup)
        properties.insert(u"parent"_s, QVariant::fromValue(window.contentItem()));
    QObject *object = component.createWithInitialProperties(properties, engine.rootContext());
    if (!object) {
        qWarning() << component.errors();
        return nullptr;
    }
    m_loaded.append(object);
    if (auto *item = qobject_cast<QQuickItem *>(object)) {
        item->setParentItem(window.contentItem());
        item->setSize(window.size());
    }
    render();
    return object;
}

void PageFixture::render()
{
    // Grabbing polishes the layouts and draws a frame, without waiting for the display.
    window.grabWindow();
}

void PageFixture::click(QQuickItem *item)
{
    render();
    QTest::mouseClick(&window, Qt::LeftButton, {}, sceneRect(item).center().toPoint());
    render();
}

void PageFixture::press(Qt::Key key)
{
    QTest::keyClick(&window, key);
    render();
}

QList<QQuickItem *> PageFixture::items(const QString &objectName, QQuickItem *root) const
{
    QList<QQuickItem *> found;
    const std::function<void(QQuickItem *)> visit = [&](QQuickItem *item) {
        if (item->objectName() == objectName)
            found.append(item);
        const QList<QQuickItem *> children = item->childItems();
        for (QQuickItem *child : children)
            visit(child);
    };
    visit(root ? root : window.contentItem());
    return found;
}

QQuickItem *PageFixture::item(const QString &objectName, QQuickItem *root) const
{
    const QList<QQuickItem *> found = items(objectName, root);
    return found.isEmpty() ? nullptr : found.first();
}

QList<QQuickItem *> PageFixture::byPosition(QList<QQuickItem *> items)
{
    std::stable_sort(items.begin(), items.end(), [](QQuickItem *a, QQuickItem *b) {
        const QRectF ra = sceneRect(a);
        const QRectF rb = sceneRect(b);
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    return items;
}

QRectF PageFixture::sceneRect(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

QQuickItem *showPage(PageFixture &fixture, const QString &file)
{
    return qobject_cast<QQuickItem *>(
        fixture.load(file, {{u"model"_s, QVariant::fromValue(fixture.model.get())}}));
}

QString textIn(const PageFixture &fixture, const QString &objectName, QQuickItem *root)
{
    const QQuickItem *found = fixture.item(objectName, root);
    return found ? found->property("text").toString() : u"<missing>"_s;
}
