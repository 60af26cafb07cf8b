// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

#include "projects/projectpalette.h"
#include "ui/controls/colorcontrast.h"
#include "ui/history/historytreemodel.h"

#include <QApplication>
#include <QImage>
#include <QQmlComponent>
#include <QQmlProperty>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {

enum class State { Idle, Running, Paused, Finished };

// Today's records of the sample day (Wednesday 13 March 2024) in minutes.
FocusRecord todayRecord(
    const QString &project, double minutes, std::optional<QString> subproject = std::nullopt)
{
    FocusRecord record = PageFixture::record(project, 13, minutes);
    record.endedAt = PageFixture::sampleNow() - 3600;
    record.startedAt = record.endedAt - record.duration;
    record.subproject = std::move(subproject);
    return record;
}

// The display scales of the offscreen screens, side by side from the primary one at 1. The
// platform takes a screen's scale from its logical DPI; a window moved onto a screen takes its
// device pixel ratio, as on a desktop whose monitors have different scales.
const QList<qreal> displayScales = {1.0, 1.25, 1.5, 1.75, 2.0};

QByteArray scaledScreens()
{
    QByteArray screens;
    for (qsizetype i = 0; i < displayScales.size(); ++i) {
        screens += (i ? ", " : "")
            + QStringLiteral(R"({"name": "x%1", "x": %2, "y": 0, )"
                             R"("width": 2000, "height": 2600, )"
                             R"("logicalDpi": %3, "dpr": 1})")
                  .arg(displayScales[i])
                  .arg(i * 2000)
                  .arg(96 * displayScales[i])
                  .toLatin1();
    }
    return R"({"screens": [)" + screens + "]}";
}

// What one drawn element (a ring, a slice ring, a symbol) put on the screen, in logical pixels:
// its ink, each pixel weighted by how far it differs from what lies under the element, and the
// box of the pixels it changed.
struct Ink {
    QString name;
    QPointF place;
    qreal amount = 0;
    QRectF box;
    qreal rotation = 0;
};

bool isDrawnElement(const QQuickItem *item)
{
    static const QStringList names = {u"ringTrack"_s, u"goalArc"_s, u"sessionArc"_s,
        u"todayTrack"_s, u"todaySegments"_s, u"completionSymbol"_s};
    static const QStringList types = {u"WindowSymbol_"_s, u"ReviewSymbol_"_s, u"HistoryChevron_"_s,
        u"HistoryTrashIcon_"_s, u"HistoryClockBadgeIcon_"_s};
    const QString type = QString::fromLatin1(item->metaObject()->className());
    return names.contains(item->objectName())
        || std::any_of(types.begin(), types.end(),
            [&](const QString &prefix) { return type.startsWith(prefix); });
}

// Shown whole: visible, not transparent, and inside the window and every clipping ancestor.
bool shownWhole(const QQuickItem *item)
{
    if (!item->isVisible() || item->width() <= 0 || item->height() <= 0)
        return false;
    const QRectF rect = PageFixture::sceneRect(item);
    QRectF shown(QPointF(0, 0), item->window()->size());
    for (const QQuickItem *up = item; up; up = up->parentItem()) {
        if (up->opacity() <= 0)
            return false;
        if (up != item && up->clip())
            shown &= PageFixture::sceneRect(up);
    }
    return shown.contains(rect);
}

void collectDrawnElements(QQuickItem *item, QList<QQuickItem *> &found)
{
    if (isDrawnElement(item)) {
        if (shownWhole(item))
            found.append(item);
        return;
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectDrawnElements(child, found);
}

// Moves the window onto the screen, draws it there, and measures each drawn element under root
// against a picture of the same window with every one of them hidden.
QList<Ink> inkOnScreen(PageFixture &page, QQuickItem *root, QScreen *screen)
{
    page.window.setPosition(screen->geometry().topLeft());
    page.render();
    QList<QQuickItem *> elements;
    collectDrawnElements(root, elements);
    elements = PageFixture::byPosition(elements);
    const QImage shown = page.window.grabWindow().convertToFormat(QImage::Format_RGB32);
    QList<qreal> opacities;
    for (QQuickItem *element : elements) {
        opacities.append(element->opacity());
        element->setOpacity(0);
    }
    const QImage hidden = page.window.grabWindow().convertToFormat(QImage::Format_RGB32);
    for (qsizetype i = 0; i < elements.size(); ++i)
        elements[i]->setOpacity(opacities[i]);
    page.render();

    const qreal ratio = page.window.effectiveDevicePixelRatio();
    QList<Ink> result;
    for (QQuickItem *element : elements) {
        Ink ink;
        ink.name = QString::fromLatin1(element->metaObject()->className()).section(u'_', 0, 0)
            + u' ' + element->objectName();
        ink.rotation = element->rotation();
        const QRectF logical = PageFixture::sceneRect(element);
        ink.place = logical.topLeft();
        const QRect pixels = QRectF(logical.topLeft() * ratio, logical.bottomRight() * ratio)
                                 .toAlignedRect()
                                 .intersected(shown.rect());
        QRect changed;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            const auto *with = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
            const auto *without = reinterpret_cast<const QRgb *>(hidden.constScanLine(y));
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const int difference = std::max({std::abs(qRed(with[x]) - qRed(without[x])),
                    std::abs(qGreen(with[x]) - qGreen(without[x])),
                    std::abs(qBlue(with[x]) - qBlue(without[x]))});
                ink.amount += difference / 255.0;
                if (difference >= 8)
                    changed |= QRect(x, y, 1, 1);
            }
        }
        ink.amount /= ratio * ratio;
        ink.box = QRectF(changed.topLeft().toPointF() / ratio,
            QPointF(changed.right() + 1, changed.bottom() + 1) / ratio);
        result.append(ink);
    }
    return result;
}

QScreen *screenOfScale(qreal scale)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const auto found = std::find_if(screens.begin(), screens.end(),
        [&](const QScreen *screen) { return qFuzzyCompare(screen->devicePixelRatio(), scale); });
    return found == screens.end() ? nullptr : *found;
}

} // namespace

class FocusPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    QQuickItem *item(const QString &name) const { return window->item(name); }
    TimerModel &model() const { return window->model(); }
    QQuickItem *picker(const QString &name) const { return window->item(u"picker"_s, item(name)); }
    QStringList legend() const
    {
        QStringList rows;
        const QList<QQuickItem *> found = window->page->items(u"legendRow"_s);
        for (QQuickItem *row : found) {
            rows.append(textOf(window->item(u"legendKey"_s, row)) + u'|'
                + textOf(window->item(u"legendValue"_s, row)));
        }
        return rows;
    }
    void enter(State state)
    {
        switch (state) {
        case State::Idle:
            break;
        case State::Running:
            window->runFor(125);
            break;
        case State::Paused:
            window->runFor(125);
            model().pause();
            break;
        case State::Finished:
            window->runFor(25 * 60 + 1);
            break;
        }
        window->render();
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        window = std::make_unique<WindowFixture>();
        QVERIFY(window->show());
    }
    void cleanup() { window.reset(); }

    void shouldOpenTheMainWindowWithItsTitleAndSizes()
    {
        QQmlComponent component(&window->page->engine, QUrl(u"qrc:/VelmorFocus/Main.qml"_s));
        std::unique_ptr<QObject> main(
            component.createWithInitialProperties({{u"model"_s, QVariant::fromValue(&model())},
                {u"projectDraft"_s, QVariant::fromValue(window->draft.get())},
                {u"keeper"_s, QVariant::fromValue(window->keeper.get())}}));
        QVERIFY2(main, qPrintable(component.errorString()));
        auto *mainWindow = qobject_cast<QQuickWindow *>(main.get());
        QVERIFY(mainWindow);
        QCOMPARE(mainWindow->title(), u"Velmor's Focus"_s);
        QCOMPARE(mainWindow->minimumSize(), QSize(820, 760));
        QCOMPARE(mainWindow->size(), QSize(900, 840));
        QVERIFY(window->page->item(u"focusPage"_s, mainWindow->contentItem()));
    }

    void shouldFollowTheCountdownState_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("stateText");
        QTest::addColumn<QString>("startLabel");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("finishShown");

        QTest::newRow("idle") << State::Idle << u"准备开始"_s << u"开始"_s << true << false;
        QTest::newRow("running") << State::Running << u"正在专注"_s << u"暂停"_s << false << true;
        QTest::newRow("paused") << State::Paused << u"已暂停"_s << u"继续"_s << false << true;
        // Ran to zero and not yet reset: recorded, and the button starts the next session.
        QTest::newRow("finished") << State::Finished << u"已完成"_s << u"开始"_s << false << true;
    }

    void shouldFollowTheCountdownState()
    {
        QFETCH(State, state);
        QFETCH(QString, stateText);
        QFETCH(QString, startLabel);
        QFETCH(bool, editable);
        QFETCH(bool, finishShown);

        enter(state);

        QCOMPARE(textOf(item(u"ringState"_s)), stateText);
        QCOMPARE(textOf(item(u"ringDisplay"_s)), model().display());
        QCOMPARE(textOf(item(u"startPauseButton"_s)), startLabel);
        QVERIFY(item(u"startPauseButton"_s)->isEnabled());
        QVERIFY(item(u"stopButton"_s)->isEnabled());
        QCOMPARE(item(u"titleField"_s)->isEnabled(), editable);
        QCOMPARE(picker(u"hoursPicker"_s)->isEnabled(), editable);
        QCOMPARE(picker(u"minutesPicker"_s)->isEnabled(), editable);
        QCOMPARE(picker(u"secondsPicker"_s)->isEnabled(), editable);
        QCOMPARE(item(u"finishButton"_s)->isVisible(), finishShown);
    }

    void shouldDisableStartForAZeroLengthOnlyWhileIdle()
    {
        model().setHours(0);
        model().setMinutes(0);
        model().setSeconds(0);
        window->render();
        QVERIFY(!item(u"startPauseButton"_s)->isEnabled());
        QCOMPARE(textOf(item(u"startPauseButton"_s)), u"开始"_s);

        model().setSeconds(1);
        window->render();
        QVERIFY(item(u"startPauseButton"_s)->isEnabled());
    }

    void shouldStartPauseAndResumeFromOneButton()
    {
        QQuickItem *button = item(u"startPauseButton"_s);
        window->click(button);
        QVERIFY(model().running());
        QCOMPARE(textOf(button), u"暂停"_s);

        window->clock().advance(30);
        window->click(button);
        QVERIFY(!model().running());
        QVERIFY(model().started());
        QCOMPARE(textOf(button), u"继续"_s);
        QCOMPARE(model().remaining(), 25 * 60 - 30.0);

        window->click(button);
        QVERIFY(model().running());

        // After a natural end the same button starts the next session of the chosen length.
        model().setMinutes(10);
        window->clock().advance(25 * 60);
        model().tick();
        QCOMPARE(model().records().size(), 1);
        window->click(button);
        QVERIFY(model().running());
        QCOMPARE(model().remaining(), 10 * 60.0);
        QCOMPARE(model().records().size(), 1);
    }

    void shouldStartAndPauseWithSpaceUnlessTyping()
    {
        // A picker chosen with the mouse keeps the keyboard but shows no ring: Space is still
        // the timer's.
        window->click(picker(u"minutesPicker"_s));
        window->press(Qt::Key_Escape);
        QVERIFY(picker(u"minutesPicker"_s)->hasActiveFocus());
        window->press(Qt::Key_Space);
        QVERIFY(model().running());
        window->clock().advance(30);
        window->press(Qt::Key_Space);
        QVERIFY(!model().running());
        QCOMPARE(model().remaining(), 25 * 60 - 30.0);
        model().reset();
        window->render();

        // In the title field Space is a space.
        item(u"titleField"_s)->forceActiveFocus();
        window->type(u"a b"_s);
        QCOMPARE(model().title(), u"a b"_s);
        QVERIFY(!model().started());
        // A button reached by Tab takes Space as its own press.
        window->press(Qt::Key_Tab);
        QQuickItem *focused = window->page->window.activeFocusItem();
        QVERIFY(focused && focused->property("visualFocus").toBool());
        QCOMPARE(focused->parentItem()->objectName(), u"hoursPicker"_s);
        window->press(Qt::Key_Space);
        QVERIFY(!model().started());
    }

    void shouldPutTheKeyboardInTheHistorySearchWithCtrlF()
    {
        QTest::keyClick(&window->page->window, Qt::Key_F, Qt::ControlModifier);
        window->render();
        QVERIFY(model().showRecords());
        QQuickItem *search = item(u"historySearchField"_s);
        QVERIFY(search);
        QVERIFY(search->hasActiveFocus());
        window->type(u"x"_s);
        QCOMPARE(model().recordSearch(), u"x"_s);
    }

    void shouldReadTheTimeLeftAsText()
    {
        const auto spoken = [&] {
            QQuickItem *ring = item(u"sessionRing"_s);
            return QQmlProperty(ring, u"Accessible.name"_s, qmlContext(ring)).read().toString();
        };
        QCOMPARE(spoken(), u"剩余时间 25:00"_s);
        window->runFor(61);
        QCOMPARE(spoken(), u"剩余时间 23:59"_s);
    }

    void shouldKeepEveryTextReadableOnItsBackground_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");

        // Before init(): an engine of its own.
        QQmlEngine engine;
        QQmlComponent component(&engine);
        // In the module's folder, where its singleton is found.
        component.setData("import QtQml\nQtObject { property var theme: Theme }",
            QUrl(u"qrc:/VelmorFocus/ThemeColours.qml"_s));
        std::unique_ptr<QObject> holder(component.create());
        QVERIFY2(holder, qPrintable(component.errorString()));
        const auto *theme = holder->property("theme").value<QObject *>();
        QVERIFY(theme);
        const auto colour = [&](const char *name) {
            return theme->property(name).value<QColor>();
        };
        const QColor white(Qt::white);
        // Where text is drawn: the page, the sidebar, the cards and a selected entry on either.
        const QList<std::pair<QString, QColor>> backgrounds {{u"canvas"_s, colour("canvas")},
            {u"pale"_s, colour("pale")}, {u"card"_s, colour("card")},
            {u"selected on pale"_s, ColorContrast::over(colour("selection"), colour("pale"))},
            {u"selected on card"_s, ColorContrast::over(colour("selection"), colour("card"))}};
        for (const char *name : {"ink", "secondary", "accentText"}) {
            for (const auto &[place, background] : backgrounds) {
                QTest::addRow("%s on %s", name, qPrintable(place)) << colour(name) << background;
            }
        }
        // The badge "提前结束" on its orange tint over a record's card; red labels on the white
        // of menus and alerts.
        QColor badge = colour("orange");
        badge.setAlphaF(0.12f);
        QTest::newRow("warningText on its badge")
            << colour("warningText") << ColorContrast::over(badge, colour("card"));
        QTest::newRow("red on card") << colour("red") << colour("card");
        // White labels on the filled buttons.
        QTest::newRow("white on blue") << white << colour("blue");
        QTest::newRow("white on red") << white << colour("red");
        // The project colours, as the history writes its project names and durations.
        for (const ProjectPalette::Entry &entry : ProjectPalette::entries()) {
            const QColor readable = ColorContrast::readable(entry.color(), colour("pale"));
            for (const auto &[place, background] : backgrounds.mid(0, 3)) {
                QTest::addRow("%s on %s", qPrintable(entry.name), qPrintable(place))
                    << readable << background;
            }
        }
    }

    void shouldKeepEveryTextReadableOnItsBackground()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QVERIFY2(ColorContrast::ratio(text, background) >= 4.5,
            qPrintable(QString::number(ColorContrast::ratio(text, background), 'f', 2)));
        // The measure itself: black on white is the most there is.
        QCOMPARE(qRound(ColorContrast::ratio(Qt::black, Qt::white) * 10), 210);
    }

    void shouldShowTheAttribution_data()
    {
        QTest::addColumn<QString>("subproject");
        QTest::addColumn<QString>("addedDuringASession");
        QTest::addColumn<QString>("attribution");
        QTest::addColumn<QString>("ringLabel");

        QTest::newRow("project alone")
            << QString() << QString() << u"计时归属：学习未指定子项目"_s << u"学习"_s;
        QTest::newRow("with subproject")
            << u"阅读"_s << QString() << u"计时归属：学习 / 阅读"_s << u"学习 / 阅读"_s;
        // Adding a project selects it, but the running time still goes to the session's own.
        QTest::newRow("a project added during a session")
            << u"阅读"_s << u"写作"_s << u"计时归属：学习 / 阅读"_s << u"学习 / 阅读"_s;
    }

    void shouldShowTheAttribution()
    {
        QFETCH(QString, subproject);
        QFETCH(QString, addedDuringASession);
        QFETCH(QString, attribution);
        QFETCH(QString, ringLabel);

        if (!subproject.isEmpty())
            model().addSubproject(subproject, u"学习"_s);
        model().setSelectedProject(u"学习"_s);
        model().setSelectedSubproject(subproject);
        if (!addedDuringASession.isEmpty()) {
            window->runFor(60);
            model().addProject(addedDuringASession);
        }
        window->render();

        QCOMPARE(textOf(item(u"attribution"_s)), attribution);
        QCOMPARE(textOf(item(u"ringProject"_s)), ringLabel);
    }

    void shouldEditTheTitleAndTheLength()
    {
        QQuickItem *field = item(u"titleField"_s);
        field->forceActiveFocus();
        window->type(u"Chapter 3"_s);
        QCOMPARE(model().title(), u"Chapter 3"_s);

        QCOMPARE(picker(u"minutesPicker"_s)->property("displayText").toString(), u"25"_s);
        QCOMPARE(picker(u"secondsPicker"_s)->property("displayText").toString(), u"00"_s);
        QCOMPARE(picker(u"hoursPicker"_s)->property("count").toInt(), 100);
        QCOMPARE(picker(u"minutesPicker"_s)->property("count").toInt(), 60);
        QMetaObject::invokeMethod(picker(u"hoursPicker"_s), "activated", Q_ARG(int, 2));
        QMetaObject::invokeMethod(picker(u"secondsPicker"_s), "activated", Q_ARG(int, 7));
        QCOMPARE(model().hours(), 2);
        QCOMPARE(model().seconds(), 7);
        window->render();
        QCOMPARE(picker(u"hoursPicker"_s)->property("displayText").toString(), u"02"_s);
        QCOMPARE(picker(u"secondsPicker"_s)->property("displayText").toString(), u"07"_s);
    }

    void shouldFinishEarlyOnlyFromAStartedSession()
    {
        window->runFor(90);
        window->click(item(u"finishButton"_s));
        QVERIFY(model().pendingFinish());
        QVERIFY(window->opened(u"finishDialog"_s));
        QVERIFY(!model().running());
    }

    void shouldAskBeforeResettingALongSession()
    {
        window->runFor(30);
        window->click(item(u"stopButton"_s));
        QVERIFY(!model().started());
        QVERIFY(!window->opened(u"resetDialog"_s));

        window->runFor(61);
        window->click(item(u"stopButton"_s));
        QVERIFY(model().pendingReset());
        QVERIFY(window->opened(u"resetDialog"_s));
    }

    void shouldShowTodaysDateAndTotal()
    {
        model().saveRecords({todayRecord(u"学习"_s, 95)});
        window->render();
        QCOMPARE(textOf(item(u"dateHeader"_s)), u"2024年3月13日 星期三"_s);
        QCOMPARE(textOf(item(u"todayTotal"_s)), u"1:35"_s);
    }

    void shouldFillTheGoalRingUpToTheGoal_data()
    {
        QTest::addColumn<int>("goalHours");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("fraction");

        QTest::newRow("nothing yet") << 2 << 0.0 << 0.0;
        QTest::newRow("half") << 2 << 60.0 << 0.5;
        QTest::newRow("over the goal") << 2 << 180.0 << 1.0;
    }

    void shouldFillTheGoalRingUpToTheGoal()
    {
        QFETCH(int, goalHours);
        QFETCH(double, minutes);
        QFETCH(double, fraction);

        model().setDailyGoalHours(goalHours);
        if (minutes > 0)
            model().saveRecords({todayRecord(u"学习"_s, minutes)});
        window->render();
        QQuickItem *arc = item(u"goalArc"_s);
        QCOMPARE(arc->property("fraction").toDouble(), fraction);
        QCOMPARE(arc->isVisible(), fraction > 0);
    }

    void shouldShowTheEmptyTodayCard()
    {
        QVERIFY(item(u"todayEmptyText"_s)->isVisible());
        QCOMPARE(textOf(item(u"todayEmptyText"_s)),
            u"今天还没有专注记录，开始计时后这里会展示各项目的时间占比。"_s);
        QVERIFY(!item(u"todayRing"_s)->isVisible());

        // A paused session adds nothing.
        window->runFor(600);
        model().pause();
        window->render();
        QVERIFY(item(u"todayEmptyText"_s)->isVisible());
    }

    void shouldShowTheRunningSessionAsTheWholeRing()
    {
        model().addSubproject(u"阅读"_s, u"学习"_s);
        window->runFor(600);
        QVERIFY(!item(u"todayEmptyText"_s)->isVisible());
        QVERIFY(item(u"todayRing"_s)->isVisible());
        QCOMPARE(legend(), QStringList {u"学习 / 阅读|10分 · 100%"_s});
        QCOMPARE(textOf(item(u"todayRingTotal"_s)), u"0:10"_s);
    }

    void shouldListTodaysSlicesInKeyOrder()
    {
        model().saveRecords({todayRecord(u"学习"_s, 30, u"阅读"_s), todayRecord(u"学习"_s, 30),
            todayRecord(u"工作"_s, 60)});
        window->render();
        QCOMPARE(legend(),
            (QStringList {
                u"学习|30分 · 25%"_s, u"学习 / 阅读|30分 · 25%"_s, u"工作|60分 · 50%"_s}));
        const auto *slices =
            item(u"todaySegments"_s)->property("slices").value<FigureListModel *>();
        QCOMPARE(slices->count(), 3);
        QCOMPARE(slices->value(0, "start").toDouble(), 0.0);
        QCOMPARE(slices->value(2, "end").toDouble(), 1.0);
    }

    void shouldShowTheToastForAWhileThenClearIt()
    {
        QQuickItem *toast = item(u"toast"_s);
        QVERIFY(!toast->isVisible());

        window->runFor(30);
        window->click(item(u"finishButton"_s));
        QCOMPARE(model().toast(), u"专注不足 1 分钟，不计入记录。"_s);
        QVERIFY(toast->isVisible());
        QCOMPARE(textOf(item(u"toastText"_s)), u"专注不足 1 分钟，不计入记录。"_s);

        QObject *timer = toast->findChild<QObject *>(u"toastTimer"_s);
        QVERIFY(timer);
        QVERIFY(timer->property("running").toBool());
        QCOMPARE(timer->property("interval").toInt(), 3000);

        // The same message again starts its three seconds afresh.
        QSignalSpy restarted(timer, SIGNAL(runningChanged()));
        window->click(item(u"finishButton"_s));
        QVERIFY(!restarted.isEmpty());
        QVERIFY(timer->property("running").toBool());
        QVERIFY(toast->isVisible());

        QMetaObject::invokeMethod(timer, "triggered");
        window->render();
        QCOMPARE(model().toast(), QString());
        QVERIFY(!toast->isVisible());
    }

    void shouldShowTheConfirmationOfARecordedSession()
    {
        model().setMinutes(30);
        window->runFor(25 * 60 + 59);
        model().pause();
        model().finishEarly();
        window->render();
        window->click(window->dialogButton(u"finishDialog"_s, u"laterButton"_s));
        QCOMPARE(textOf(item(u"toastText"_s)), u"已记录25分钟专注。"_s);
        QVERIFY(item(u"toast"_s)->isVisible());
    }

    // A fresh main window on that screen showing the page: a goal two thirds met, three slices
    // today and a running session (no records for the empty history). The root of what shows
    // the page, or null.
    QQuickItem *showOn(QScreen *screen, const QString &page)
    {
        window = std::make_unique<WindowFixture>();
        window->page->window.setPosition(screen->geometry().topLeft());
        if (!window->show())
            return nullptr;
        model().setDailyGoalHours(3);
        if (page != u"empty history"_s) {
            model().saveRecords({todayRecord(u"学习"_s, 30, u"阅读"_s), todayRecord(u"学习"_s, 30),
                todayRecord(u"工作"_s, 60)});
        }
        window->runFor(125);
        if (page == u"review"_s) {
            window->click(item(u"navReview"_s));
        } else if (page.endsWith(u"history"_s)) {
            window->click(item(u"navRecords"_s));
            auto *tree = qobject_cast<HistoryTreeModel *>(
                item(u"historyList"_s)->property("model").value<QObject *>());
            // The year, the month and the day.
            for (int row = 0; tree && row < 3 && row < tree->rowCount(); ++row)
                tree->setExpanded(row, true);
        } else if (page == u"alert"_s) {
            return qobject_cast<QQuickItem *>(window->page->load(
                u"CompletionView.qml"_s, {{u"model"_s, QVariant::fromValue(&model())}}));
        }
        return window->view;
    }

    // In logical pixels each element's ink, and the box of its ink, are those of the reference.
    static void compareInk(const QList<Ink> &reference, const QList<Ink> &drawn, const char *where)
    {
        QCOMPARE(drawn.size(), reference.size());
        for (qsizetype i = 0; i < reference.size(); ++i) {
            const Ink &expected = reference[i];
            const Ink &actual = drawn[i];
            const QString what = expected.name + u" at "_s + QString::number(expected.place.x())
                + u',' + QString::number(expected.place.y()) + u' ' + QString::fromUtf8(where);
            QCOMPARE(actual.name, expected.name);
            QVERIFY2(expected.amount >= 0.5 && !expected.box.isEmpty(),
                qPrintable(QString(what + u": no ink at scale 1"_s)));
            // The faintest symbols, of a pixel or two of ink, lose some of it to rounding.
            QVERIFY2(qAbs(actual.amount - expected.amount) <= 0.15 * expected.amount + 0.5,
                qPrintable(QString(what + u": "_s + QString::number(actual.amount)
                    + u" px² of ink instead of "_s + QString::number(expected.amount))));
            // A disclosure arrow may still be turning; its ink does not depend on that.
            if (actual.rotation != expected.rotation)
                continue;
            const QRectF &a = expected.box;
            const QRectF &b = actual.box;
            const qreal apart = std::max({qAbs(a.left() - b.left()), qAbs(a.top() - b.top()),
                qAbs(a.right() - b.right()), qAbs(a.bottom() - b.bottom())});
            QVERIFY2(apart < 1.5,
                qPrintable(QString(what + u": edges of the ink "_s + QString::number(apart)
                    + u" px from where they belong"_s)));
        }
    }

    // Every drawn element is whole at every display scale: as the window starts on a scaled
    // screen, and after it moved from there onto a screen at scale 1.
    void shouldDrawEveryElementWholeAtEachScale_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<qreal>("scale");
        for (const char *page : {"focus", "review", "history", "empty history", "alert"}) {
            for (const qreal scale : displayScales)
                QTest::addRow("%s at %g", page, scale) << QString::fromLatin1(page) << scale;
        }
    }

    void shouldDrawEveryElementWholeAtEachScale()
    {
        QFETCH(QString, page);
        QFETCH(qreal, scale);
        QScreen *unscaled = screenOfScale(1);
        QScreen *scaled = screenOfScale(scale);
        QVERIFY2(unscaled && scaled, "the offscreen platform has no screen at this scale");

        QQuickItem *root = showOn(unscaled, page);
        QVERIFY(root);
        const QList<Ink> reference = inkOnScreen(*window->page, root, unscaled);
        QVERIFY(!reference.isEmpty());

        root = showOn(scaled, page);
        QVERIFY(root);
        const QList<Ink> started = inkOnScreen(*window->page, root, scaled);
        QCOMPARE(window->page->window.effectiveDevicePixelRatio(), scale);
        compareInk(reference, started, "on the scaled screen");
        if (QTest::currentTestFailed())
            return;
        compareInk(reference, inkOnScreen(*window->page, root, unscaled), "after the move");
    }
};

int main(int argc, char **argv)
{
    // Screens at every display scale, unless the test runs on another platform.
    QTemporaryFile screens;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        const QByteArray config = scaledScreens();
        if (!screens.open() || screens.write(config) != config.size() || !screens.flush())
            return 2;
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    QApplication application(argc, argv);
    FocusPageTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_focuspage.moc"
