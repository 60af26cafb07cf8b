// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/modelfixture.h"
#include "ui/alert/qmlalertpanels.h"

#include <QApplication>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTest>

#include <QtQml/qqmlextensionplugin.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>

Q_IMPORT_QML_PLUGIN(VelmorFocusPlugin)

using namespace Qt::StringLiterals;

namespace {

// Two screens side by side of different sizes, as Qt's offscreen platform reads them.
const QByteArray twoScreens = R"({"screens": [
    {"name": "left", "x": 0, "y": 0, "width": 1280, "height": 1000, "logicalDpi": 96, "dpr": 1},
    {"name": "right", "x": 1280, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "dpr": 1}
]})";

// The real model on doubles, with the real panels, set to one minute.
struct Alert {
    Alert()
    {
        f.services.alertPanels = &panels;
        f.restart();
        model = f.model.get();
        panels.setModel(model);
        model->setHours(0);
        model->setMinutes(1);
        model->setSeconds(0);
    }
    // A one-minute session that runs to zero: the natural end raises the alert.
    void runToTheEnd()
    {
        model->start();
        f.clock.advance(60);
        model->tick();
    }

    QQmlEngine engine;
    QmlAlertPanels panels {engine};
    ModelFixture f;
    TimerModel *model = nullptr;
};

// The item of that objectName in the panel, laid out and drawn so that positions are final.
QQuickItem *findItem(QQuickWindow *panel, const QString &objectName)
{
    panel->grabWindow();
    return panel->findChild<QQuickItem *>(objectName);
}

void deleteHiddenPanels()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<QPointer<QQuickWindow>> watch(const QList<QQuickWindow *> &panels)
{
    return {panels.cbegin(), panels.cend()};
}

// The first 32-bit value of a property of the window as the X server holds it.
std::optional<uint32_t> cardinal(QWindow *window, const char *name)
{
    xcb_connection_t *c =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!atom)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    std::free(atom);
    std::optional<uint32_t> value;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        value = *static_cast<const uint32_t *>(xcb_get_property_value(reply));
    std::free(reply);
    return value;
}

} // namespace

class TestAlertPanels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (QGuiApplication::platformName() != u"xcb"_s)
            QCOMPARE(QGuiApplication::screens().size(), 2);
    }
    void cleanup() { deleteHiddenPanels(); }

    void shouldCentreOnePanelOnEachScreenOnceWhenASessionRunsToZero()
    {
        Alert alert;
        alert.runToTheEnd();
        QCOMPARE(alert.model->records().size(), 1);

        const QList<QQuickWindow *> panels = alert.panels.panels();
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(panels.size(), 2);
        for (int i = 0; i < panels.size(); ++i) {
            QQuickWindow *panel = panels.at(i);
            const QRect available = screens.at(i)->availableGeometry();
            QCOMPARE(panel->screen(), screens.at(i));
            const QPoint offset = panel->geometry().center() - available.center();
            // Within a pixel: an odd free width or height has no exact centre.
            QVERIFY(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1);
            QCOMPARE(panel->flags(),
                Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                    | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        }
        // The alert plays the reminder, once.
        QCOMPARE(alert.f.sound.log.events,
            QStringList({u"create:Glass"_s, u"loop:false"_s, u"start"_s}));

        // Shown again, it replaces the panels instead of adding to them.
        alert.model->showCompletion();
        QCOMPARE(alert.panels.panels().size(), 2);
        QVERIFY(!panels.at(0)->isVisible() && !panels.at(1)->isVisible());
    }

    void shouldCloseEveryPanelAndIgnoreLatePressesWhenAnswered()
    {
        Alert alert;
        alert.runToTheEnd();
        const QList<QPointer<QQuickWindow>> shown = watch(alert.panels.panels());
        QCOMPARE(shown.size(), 2);
        QQuickItem *acknowledge = findItem(shown.at(0), u"acknowledgeButton"_s);
        const QPointF late =
            acknowledge->mapToScene(QPointF(acknowledge->width() / 2, acknowledge->height() / 2));
        alert.f.sound.log.events.clear();

        // "再来一次" on the right; the event loop has not run since, so the left panel still
        // exists.
        QVERIFY(QMetaObject::invokeMethod(findItem(shown.at(1), u"againButton"_s), "clicked"));
        QVERIFY(alert.panels.panels().isEmpty());
        QVERIFY(!shown.at(0)->isVisible() && !shown.at(1)->isVisible());
        QCOMPARE(alert.f.sound.log.events, QStringList {u"stop"_s});
        QVERIFY(alert.model->running());

        // A press that was already on its way to the left panel changes nothing.
        const QPointF global = shown.at(0)->mapToGlobal(late);
        QMouseEvent press(
            QEvent::MouseButtonPress, late, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(shown.at(0), &press);
        QMouseEvent release(
            QEvent::MouseButtonRelease, late, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(shown.at(0), &release);
        QVERIFY(alert.model->running());
        QCOMPARE(alert.model->remaining(), 60.0);

        // Released once the press has been handled.
        deleteHiddenPanels();
        QVERIFY(shown.at(0).isNull() && shown.at(1).isNull());
        // The finished session is recorded once; a new one only when it ends.
        QCOMPARE(alert.model->records().size(), 1);
        alert.f.clock.advance(60);
        alert.model->tick();
        QCOMPARE(alert.model->records().size(), 2);
        QCOMPARE(alert.panels.panels().size(), 2);
    }

    // On a real X server (the tst_alertpanels_x11 run): what the window manager is told.
    void shouldShowOnEveryWorkspaceAndTakeTheKeyboardOnlyWhenPressed()
    {
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("needs an X server");
        Alert alert;
        alert.runToTheEnd();
        const QList<QQuickWindow *> shown = alert.panels.panels();
        QCOMPARE(shown.size(), 1);
        QVERIFY(QTest::qWaitForWindowExposed(shown.first()));
        // 0xFFFFFFFF: on all desktops.
        QCOMPARE(cardinal(shown.first(), "_NET_WM_DESKTOP"), std::optional<uint32_t>(0xFFFFFFFF));
        QVERIFY(!shown.first()->isActive());

        QTest::mouseClick(shown.first(), Qt::LeftButton, {}, QPoint(12, 12));
        QVERIFY(QTest::qWaitForWindowActive(shown.first()));
        QTest::keyClick(shown.first(), Qt::Key_Return);
        QVERIFY(alert.panels.panels().isEmpty());
        QVERIFY(!alert.model->started());
    }
};

int main(int argc, char **argv)
{
    // The offscreen platform reads its screens from a file named in the platform argument; it
    // must be in place before the application object exists. A real X server has its own.
    QTemporaryFile screens;
    if (!screens.open() || screens.write(twoScreens) != twoScreens.size() || !screens.flush())
        return 2;
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    // Drawn in software: the tests need no graphics driver.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication application(argc, argv);
    TestAlertPanels test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_alertpanels.moc"
