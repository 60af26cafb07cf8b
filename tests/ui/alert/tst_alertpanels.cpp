// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"
#include "ui/alert/qmlalertpanels.h"

#include <QApplication>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <QtQml/qqmlextensionplugin.h>

#include <functional>
#include <memory>

Q_IMPORT_QML_PLUGIN(VelmorFocusPlugin)

using namespace Qt::StringLiterals;

namespace {

// Two screens side by side of different sizes, as Qt's offscreen platform reads them.
const QByteArray twoScreens = R"({"screens": [
    {"name": "left", "x": 0, "y": 0, "width": 1280, "height": 1000, "logicalDpi": 96, "dpr": 1},
    {"name": "right", "x": 1280, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "dpr": 1}
]})";

// The real model on doubles, with the real panels.
struct Alert {
    Alert()
    {
        services.storageFolder = folder.filePath(u"VelmorTimer"_s);
        services.todayClock = clock.clock();
        services.sound = &sound;
        services.alertPanels = &panels;
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
        panels.setModel(model.get());
        model->setHours(0);
        model->setMinutes(1);
        model->setSeconds(0);
    }

    // A one-minute session that runs to zero: the natural end raises the alert.
    void runToTheEnd()
    {
        model->start();
        clock.advance(60);
        model->tick();
    }

    QTemporaryDir folder;
    FakeClock clock;
    MemoryDefaultsStore defaults;
    RecordingSoundService sound;
    QQmlEngine engine;
    QmlAlertPanels panels {engine};
    TimerServices services;
    std::unique_ptr<TimerModel> model;
};

QQuickItem *findItem(QQuickItem *root, const QString &objectName)
{
    if (root->objectName() == objectName)
        return root;
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findItem(child, objectName))
            return found;
    }
    return nullptr;
}

QQuickItem *findItem(QQuickWindow *panel, const QString &objectName)
{
    // Lays out and draws a frame, so that positions are final.
    panel->grabWindow();
    return findItem(panel->contentItem(), objectName);
}

void click(QQuickWindow *panel, const QString &buttonName)
{
    QQuickItem *button = findItem(panel, buttonName);
    QVERIFY2(button, qPrintable(buttonName));
    const QPointF centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
    QTest::mouseClick(panel, Qt::LeftButton, {}, centre.toPoint());
}

void deleteHiddenPanels()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

using Panels = QList<QPointer<QQuickWindow>>;

Panels watch(const QList<QQuickWindow *> &panels)
{
    return {panels.cbegin(), panels.cend()};
}

// Hidden, or already released by the event loop that delivered the press.
bool gone(const QPointer<QQuickWindow> &panel)
{
    return panel.isNull() || !panel->isVisible();
}

} // namespace

class TestAlertPanels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void shouldCentreOnePanelOnEachScreenWhenASessionRunsToZero();
    void shouldShowTheSameCompletionOnEveryPanel();
    void shouldFollowTheTitleWhileShown();
    void shouldCloseEveryPanelAndStopTheSoundWhenAcknowledged_data();
    void shouldCloseEveryPanelAndStopTheSoundWhenAcknowledged();
    void shouldAcknowledgeWithTheReturnKey();
    void shouldStartAFreshSessionOfTheChosenLengthWhenAskedAgain();
    void shouldIgnoreALatePressOnAnotherPanel();
    void shouldReplaceThePanelsWhenShownAgain();
    void shouldCloseThePanelsWhenTheWindowResets();
    void shouldShowNothingWithoutAModel();
};

void TestAlertPanels::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCOMPARE(QGuiApplication::screens().size(), 2);
}

void TestAlertPanels::cleanup()
{
    deleteHiddenPanels();
}

void TestAlertPanels::shouldCentreOnePanelOnEachScreenWhenASessionRunsToZero()
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
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->screen(), screens.at(i));
        QCOMPARE(panel->size(), QSize(440, 370));
        QVERIFY(available.contains(panel->geometry()));
        const QPoint offset = panel->geometry().center() - available.center();
        QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
            qPrintable(
                u"panel %1 is off centre by %2, %3"_s.arg(i).arg(offset.x()).arg(offset.y())));
        QCOMPARE(panel->title(), u"Velmor's Focus"_s);
        QCOMPARE(panel->flags(),
            Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        QVERIFY(panel->property("_q_showWithoutActivating").toBool());
    }
    // The alert plays the reminder, once.
    QCOMPARE(alert.sound.log.events, QStringList({u"create:Glass"_s, u"loop:false"_s, u"start"_s}));
}

void TestAlertPanels::shouldShowTheSameCompletionOnEveryPanel()
{
    Alert alert;
    alert.runToTheEnd();
    const QList<QQuickWindow *> panels = alert.panels.panels();
    QCOMPARE(panels.size(), 2);
    for (QQuickWindow *panel : panels) {
        QQuickItem *symbol = findItem(panel, u"completionSymbol"_s);
        QVERIFY(symbol);
        QCOMPARE(symbol->size(), QSizeF(52, 52));
        QCOMPARE(findItem(panel, u"completionTitle"_s)->property("text").toString(), u"专注完成"_s);
        QVERIFY(findItem(panel, u"completionTitle"_s)->property("font").value<QFont>().bold());
        QCOMPARE(findItem(panel, u"completionMessage"_s)->property("text").toString(),
            u"这一段时间，完成了。"_s);
        QQuickItem *again = findItem(panel, u"againButton"_s);
        QQuickItem *acknowledge = findItem(panel, u"acknowledgeButton"_s);
        QCOMPARE(again->property("text").toString(), u"再来一次"_s);
        QCOMPARE(acknowledge->property("text").toString(), u"知道了"_s);
        QVERIFY(acknowledge->property("prominent").toBool());
        QVERIFY(!again->property("prominent").toBool());
        // Side by side, "知道了" on the right, 14 apart; everything inside the 30-point margin.
        const QRectF left = again->mapRectToScene(QRectF(0, 0, again->width(), again->height()));
        const QRectF right =
            acknowledge->mapRectToScene(QRectF(0, 0, acknowledge->width(), acknowledge->height()));
        QCOMPARE(right.left() - left.right(), 14.0);
        QCOMPARE(left.top(), right.top());
        QVERIFY(QRectF(30, 30, 440 - 60, 370 - 60).contains(left.united(right)));
    }
}

void TestAlertPanels::shouldFollowTheTitleWhileShown()
{
    Alert alert;
    alert.model->setTitle(u"写周报"_s);
    alert.runToTheEnd();
    const QList<QQuickWindow *> panels = alert.panels.panels();
    QCOMPARE(panels.size(), 2);
    for (QQuickWindow *panel : panels)
        QCOMPARE(findItem(panel, u"completionMessage"_s)->property("text").toString(), u"写周报"_s);

    alert.model->setTitle(u"整理下一步"_s);
    for (QQuickWindow *panel : panels) {
        QCOMPARE(
            findItem(panel, u"completionMessage"_s)->property("text").toString(), u"整理下一步"_s);
    }
    // Blanks say nothing: the panel says that the time was completed.
    alert.model->setTitle(u"  "_s);
    for (QQuickWindow *panel : panels) {
        QCOMPARE(findItem(panel, u"completionMessage"_s)->property("text").toString(),
            u"这一段时间，完成了。"_s);
    }
}

void TestAlertPanels::shouldCloseEveryPanelAndStopTheSoundWhenAcknowledged_data()
{
    QTest::addColumn<int>("pressedPanel");
    QTest::newRow("on the left screen") << 0;
    QTest::newRow("on the right screen") << 1;
}

void TestAlertPanels::shouldCloseEveryPanelAndStopTheSoundWhenAcknowledged()
{
    QFETCH(int, pressedPanel);
    Alert alert;
    alert.runToTheEnd();
    const Panels shown = watch(alert.panels.panels());
    QCOMPARE(shown.size(), 2);
    alert.sound.log.events.clear();

    click(shown.at(pressedPanel), u"acknowledgeButton"_s);

    QVERIFY(gone(shown.at(0)));
    QVERIFY(gone(shown.at(1)));
    QVERIFY(alert.panels.panels().isEmpty());
    QCOMPARE(alert.sound.log.events, QStringList {u"stop"_s});
    QVERIFY(!alert.model->started());
    QVERIFY(!alert.model->running());
    QCOMPARE(alert.model->display(), u"01:00"_s);
    QCOMPARE(alert.model->records().size(), 1);
    // Released once the press has been handled.
    deleteHiddenPanels();
    QVERIFY(shown.at(0).isNull());
    QVERIFY(shown.at(1).isNull());
}

void TestAlertPanels::shouldAcknowledgeWithTheReturnKey()
{
    Alert alert;
    alert.runToTheEnd();
    const Panels shown = watch(alert.panels.panels());
    QCOMPARE(shown.size(), 2);
    // Shown without the keyboard, so typing elsewhere goes on; a press anywhere on the panel,
    // here beside the text, hands the keyboard to it.
    QVERIFY(shown.at(1)->flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(!shown.at(1)->isActive());
    QTest::mouseClick(shown.at(1), Qt::LeftButton, {}, QPoint(12, 12));
    QCOMPARE(alert.panels.panels().size(), 2);
    QVERIFY(!shown.at(1)->flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(QTest::qWaitForWindowActive(shown.at(1)));
    // The other panel still leaves the keyboard alone.
    QVERIFY(shown.at(0)->flags().testFlag(Qt::WindowDoesNotAcceptFocus));

    QTest::keyClick(shown.at(1), Qt::Key_Return);

    QVERIFY(alert.panels.panels().isEmpty());
    QVERIFY(gone(shown.at(0)));
    QVERIFY(gone(shown.at(1)));
    QVERIFY(!alert.model->started());
    QCOMPARE(alert.sound.log.events.last(), u"stop"_s);
}

void TestAlertPanels::shouldStartAFreshSessionOfTheChosenLengthWhenAskedAgain()
{
    Alert alert;
    alert.model->setTitle(u"写周报"_s);
    alert.runToTheEnd();
    const Panels shown = watch(alert.panels.panels());
    QCOMPARE(shown.size(), 2);
    alert.sound.log.events.clear();

    click(shown.at(0), u"againButton"_s);

    QVERIFY(alert.panels.panels().isEmpty());
    QVERIFY(gone(shown.at(0)));
    QVERIFY(gone(shown.at(1)));
    QCOMPARE(alert.sound.log.events, QStringList {u"stop"_s});
    QVERIFY(alert.model->running());
    QCOMPARE(alert.model->duration(), 60.0);
    QCOMPARE(alert.model->remaining(), 60.0);
    QCOMPARE(alert.model->title(), u"写周报"_s);
    // The finished session is recorded once; the new one only when it ends.
    QCOMPARE(alert.model->records().size(), 1);
    alert.clock.advance(60);
    alert.model->tick();
    QCOMPARE(alert.model->records().size(), 2);
    QCOMPARE(alert.panels.panels().size(), 2);
}

void TestAlertPanels::shouldIgnoreALatePressOnAnotherPanel()
{
    Alert alert;
    alert.runToTheEnd();
    const QList<QQuickWindow *> shown = alert.panels.panels();
    QCOMPARE(shown.size(), 2);
    QQuickItem *again = findItem(shown.at(0), u"againButton"_s);
    QQuickItem *acknowledge = findItem(shown.at(1), u"acknowledgeButton"_s);
    const QPointF late =
        acknowledge->mapToScene(QPointF(acknowledge->width() / 2, acknowledge->height() / 2));

    // "再来一次" on the left; the event loop has not run since, so the right panel still exists.
    QVERIFY(QMetaObject::invokeMethod(again, "clicked"));
    QVERIFY(alert.model->running());

    // Presses that were already on their way to the right panel change nothing.
    QMouseEvent press(QEvent::MouseButtonPress, late, shown.at(1)->mapToGlobal(late),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(shown.at(1), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, late, shown.at(1)->mapToGlobal(late),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(shown.at(1), &release);
    QKeyEvent returnKey(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(shown.at(1), &returnKey);

    QVERIFY(alert.model->running());
    QCOMPARE(alert.model->remaining(), 60.0);
}

void TestAlertPanels::shouldReplaceThePanelsWhenShownAgain()
{
    Alert alert;
    alert.runToTheEnd();
    const QList<QQuickWindow *> first = alert.panels.panels();
    QCOMPARE(first.size(), 2);
    QPointer<QQuickWindow> old = first.at(0);

    alert.model->showCompletion();

    const QList<QQuickWindow *> second = alert.panels.panels();
    QCOMPARE(second.size(), 2);
    QVERIFY(!second.contains(first.at(0)));
    QVERIFY(!second.contains(first.at(1)));
    QVERIFY(!first.at(0)->isVisible());
    QVERIFY(!first.at(1)->isVisible());
    QVERIFY(second.at(0)->isVisible());
    QVERIFY(second.at(1)->isVisible());
    // One visible panel per screen, whatever was shown before.
    for (QScreen *screen : QGuiApplication::screens()) {
        int onScreen = 0;
        const QWindowList windows = QGuiApplication::topLevelWindows();
        for (QWindow *window : windows)
            onScreen += window->isVisible() && window->screen() == screen ? 1 : 0;
        QCOMPARE(onScreen, 1);
    }
    deleteHiddenPanels();
    QVERIFY(old.isNull());
}

void TestAlertPanels::shouldCloseThePanelsWhenTheWindowResets()
{
    Alert alert;
    alert.runToTheEnd();
    const QList<QQuickWindow *> shown = alert.panels.panels();
    QCOMPARE(shown.size(), 2);

    alert.model->reset();

    QVERIFY(alert.panels.panels().isEmpty());
    QVERIFY(!shown.at(0)->isVisible());
    QVERIFY(!shown.at(1)->isVisible());
}

void TestAlertPanels::shouldShowNothingWithoutAModel()
{
    QQmlEngine engine;
    QmlAlertPanels panels(engine);
    panels.showOnEveryScreen();
    QVERIFY(panels.panels().isEmpty());
    panels.hideAll();
}

int main(int argc, char **argv)
{
    // The offscreen platform reads its screens from a file named in the platform argument; it
    // must be in place before the application object exists.
    QTemporaryFile screens;
    if (!screens.open() || screens.write(twoScreens) != twoScreens.size() || !screens.flush())
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    // Drawn in software: the tests need no graphics driver.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication application(argc, argv);
    TestAlertPanels test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_alertpanels.moc"
