#include "windowfixture.h"

#include "projects/projectpalette.h"
#include "ui/colorcontrast.h"

#include <QQmlComponent>
#include <QQmlProperty>
#include <QSignalSpy>

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
        // Ran to zero and not yet reset: still started.
        QTest::newRow("finished") << State::Finished << u"已暂停"_s << u"继续"_s << false << true;
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
        QTest::addColumn<QString>("attribution");
        QTest::addColumn<QString>("ringLabel");

        QTest::newRow("project alone") << QString() << u"计时归属：学习未指定子项目"_s << u"学习"_s;
        QTest::newRow("with subproject")
            << u"阅读"_s << u"计时归属：学习 / 阅读"_s << u"学习 / 阅读"_s;
    }

    void shouldShowTheAttribution()
    {
        QFETCH(QString, subproject);
        QFETCH(QString, attribution);
        QFETCH(QString, ringLabel);

        if (!subproject.isEmpty())
            model().addSubproject(subproject, u"学习"_s);
        model().setSelectedProject(u"学习"_s);
        model().setSelectedSubproject(subproject);
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
        const QVariantList slices = item(u"todaySegments"_s)->property("slices").toList();
        QCOMPARE(slices.size(), 3);
        QCOMPARE(slices.first().toMap().value(u"start"_s).toDouble(), 0.0);
        QCOMPARE(slices.last().toMap().value(u"end"_s).toDouble(), 1.0);
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
};

QTEST_MAIN(FocusPageTest)
#include "tst_focuspage.moc"
