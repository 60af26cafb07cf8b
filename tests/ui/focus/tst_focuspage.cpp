// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

using namespace Qt::StringLiterals;

enum class State { Idle, Running, Paused, Finished };

class FocusPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    QQuickItem *item(const QString &name) const { return window->item(name); }
    TimerModel &model() const { return *window->model; }
    QStringList legend() const
    {
        QStringList rows;
        const QList<QQuickItem *> found = window->items(u"legendRow"_s);
        for (QQuickItem *row : found) {
            rows.append(textOf(window->item(u"legendKey"_s, row)) + u'|'
                + textOf(window->item(u"legendValue"_s, row)));
        }
        return rows;
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        window = std::make_unique<WindowFixture>();
        QVERIFY(window->show());
    }
    void cleanup() { window.reset(); }

    void shouldFollowTheCountdownState_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("stateText");
        QTest::addColumn<QString>("startLabel");

        QTest::newRow("idle") << State::Idle << u"准备开始"_s << u"开始"_s;
        QTest::newRow("running") << State::Running << u"正在专注"_s << u"暂停"_s;
        QTest::newRow("paused") << State::Paused << u"已暂停"_s << u"继续"_s;
        // Ran to zero and not yet reset: recorded, and the button starts the next session.
        QTest::newRow("finished") << State::Finished << u"已完成"_s << u"开始"_s;
    }

    void shouldFollowTheCountdownState()
    {
        QFETCH(State, state);
        QFETCH(QString, stateText);
        QFETCH(QString, startLabel);

        model().setMinutes(10);
        if (state != State::Idle)
            window->runFor(state == State::Finished ? 25 * 60 + 1 : 125);
        if (state == State::Paused)
            model().pause();
        window->render();
        QCOMPARE(textOf(item(u"ringState"_s)), stateText);
        QCOMPARE(textOf(item(u"startPauseButton"_s)), startLabel);

        // One button starts, pauses and resumes; after a natural end it starts the next
        // session of the chosen length.
        const qsizetype records = model().records().size();
        window->click(item(u"startPauseButton"_s));
        QCOMPARE(model().running(), state != State::Running);
        QCOMPARE(model().started(), true);
        if (state != State::Paused)
            QCOMPARE(model().remaining(), state == State::Running ? 10 * 60 - 125.0 : 10 * 60.0);
        QCOMPARE(model().records().size(), records);
    }

    void shouldStartAndPauseWithSpaceUnlessTyping()
    {
        // A picker chosen with the mouse keeps the keyboard but shows no ring: Space is still
        // the timer's.
        QQuickItem *picker = window->item(u"picker"_s, item(u"minutesPicker"_s));
        window->click(picker);
        window->press(Qt::Key_Escape);
        QVERIFY(picker->hasActiveFocus());
        window->press(Qt::Key_Space);
        QVERIFY(model().running());
        window->clock.advance(30);
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
    }

    void shouldShowTheSessionsOwnAttribution()
    {
        model().addSubproject(u"阅读"_s, u"学习"_s);
        model().setSelectedProject(u"学习"_s);
        model().setSelectedSubproject(u"阅读"_s);
        window->runFor(600);
        // Adding a project selects it, but the running time still goes to the session's own.
        model().addProject(u"写作"_s);
        window->render();
        QCOMPARE(textOf(item(u"attribution"_s)), u"计时归属：学习 / 阅读"_s);
        // Today's ring is the running session alone.
        QCOMPARE(legend(), QStringList {u"学习 / 阅读|10分 · 100%"_s});
        QCOMPARE(textOf(item(u"todayRingTotal"_s)), u"0:10"_s);
    }

    void shouldShowTodayAgainstTheGoal_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("total");

        QTest::newRow("nothing yet") << 0.0 << 0.0 << u"0:00"_s;
        QTest::newRow("half") << 60.0 << 0.5 << u"1:00"_s;
        QTest::newRow("over the goal") << 180.0 << 1.0 << u"3:00"_s;
    }

    void shouldShowTodayAgainstTheGoal()
    {
        QFETCH(double, minutes);
        QFETCH(double, fraction);
        QFETCH(QString, total);

        model().setDailyGoalHours(2);
        if (minutes > 0)
            model().saveRecords({PageFixture::todayRecord(u"学习"_s, minutes)});
        // A paused session adds nothing.
        window->runFor(600);
        model().pause();
        window->render();
        QCOMPARE(textOf(item(u"dateHeader"_s)), u"2024年3月13日 星期三"_s);
        QCOMPARE(textOf(item(u"todayTotal"_s)), total);
        QCOMPARE(item(u"goalArc"_s)->property("fraction").toDouble(), fraction);
        QCOMPARE(item(u"todayEmptyText"_s)->isVisible(), minutes == 0);
    }

    void shouldListTodaysSlicesInKeyOrder()
    {
        model().saveRecords({PageFixture::todayRecord(u"学习"_s, 30, u"阅读"_s),
            PageFixture::todayRecord(u"学习"_s, 30), PageFixture::todayRecord(u"工作"_s, 60)});
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
};

QTEST_MAIN(FocusPageTest)
#include "tst_focuspage.moc"
