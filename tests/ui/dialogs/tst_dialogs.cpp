// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

using namespace Qt::StringLiterals;

class DialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    TimerModel &model() const { return *window->model; }
    void press(const QString &dialog, const QString &button) const
    {
        QQuickItem *target = window->dialogButton(dialog, button);
        QVERIFY2(target, qPrintable(dialog + u'/' + button));
        window->click(target);
    }
    // Puts the named dialog on show as the user's path to it does: the finish and reset
    // dialogs over a session of two minutes.
    void bringUp(const QString &dialog) const
    {
        if (dialog == u"finishDialog"_s || dialog == u"resetDialog"_s) {
            model().setMinutes(59);
            window->runFor(120);
            if (dialog == u"finishDialog"_s)
                model().finishEarly();
            else
                model().requestReset();
        } else if (dialog == u"deleteProjectDialog"_s) {
            window->draft->setConfirmingDelete(u"工作"_s);
        } else {
            model().setError(u"铃声无法播放，请重新选择音频。"_s);
        }
        window->render();
    }
    bool flagged(const QString &dialog) const
    {
        if (dialog == u"finishDialog"_s)
            return model().pendingFinish();
        if (dialog == u"resetDialog"_s)
            return model().pendingReset();
        if (dialog == u"deleteProjectDialog"_s)
            return window->draft->confirmingDelete().has_value();
        return !model().error().isEmpty();
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        window = std::make_unique<WindowFixture>();
        QVERIFY(window->show());
    }
    void cleanup() { window.reset(); }

    void shouldActAndClearTheFlagWhenADialogIsAnswered_data()
    {
        QTest::addColumn<QString>("dialog");
        // A button's objectName, or the key Escape or Return, or "close" for the window's own.
        QTest::addColumn<QString>("answer");
        // Afterwards: the session ("running", "paused" or "idle"), the records and projects
        // there are, and the dialog that comes next.
        QTest::addColumn<QString>("session");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("projects");
        QTest::addColumn<QString>("next");

        const auto row = [](const char *name, const QString &dialog, const QString &answer,
                             const QString &session, int records = 0, int projects = 3,
                             const QString &next = {}) {
            QTest::newRow(name) << dialog << answer << session << records << projects << next;
        };
        const QString finish = u"finishDialog"_s;
        const QString reset = u"resetDialog"_s;
        const QString remove = u"deleteProjectDialog"_s;
        // Escape presses the cancel button: both "继续计时" resume the session.
        row("finish, Escape", finish, u"Escape"_s, u"running"_s);
        row("finish, window", finish, u"close"_s, u"paused"_s);
        row("finish, later", finish, u"laterButton"_s, u"idle"_s, 1);
        // The note's field has the keyboard: Return saves with the note.
        row("finish, Return", finish, u"Return"_s, u"idle"_s, 1);
        row("reset, Escape", reset, u"Escape"_s, u"running"_s);
        row("reset, discard", reset, u"discardButton"_s, u"idle"_s);
        row("reset, Return", reset, u"Return"_s, u"paused"_s, 0, 3, finish);
        row("delete, Escape", remove, u"Escape"_s, u"idle"_s);
        row("delete, confirm", remove, u"confirmDeleteButton"_s, u"idle"_s, 0, 2);
        row("sound error, ok", u"soundErrorDialog"_s, u"okButton"_s, u"idle"_s);
    }

    void shouldActAndClearTheFlagWhenADialogIsAnswered()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, answer);
        QFETCH(QString, session);
        QFETCH(int, records);
        QFETCH(int, projects);
        QFETCH(QString, next);

        QVERIFY(!window->opened(dialog));
        bringUp(dialog);
        QVERIFY(flagged(dialog));
        QVERIFY(window->opened(dialog));
        if (dialog == u"finishDialog"_s) {
            QVERIFY(window->dialogButton(dialog, u"wrapField"_s)->hasActiveFocus());
            window->type(u"next: tests"_s);
        }

        if (answer == u"Escape"_s || answer == u"Return"_s)
            window->press(answer == u"Escape"_s ? Qt::Key_Escape : Qt::Key_Return);
        else if (answer == u"close"_s)
            QMetaObject::invokeMethod(window->popup(dialog), "close");
        else
            press(dialog, answer);
        window->render();
        QVERIFY(!window->opened(dialog));
        QVERIFY(!flagged(dialog));
        QCOMPARE(model().running(), session == u"running"_s);
        QCOMPARE(model().started(), session != u"idle"_s);
        QCOMPARE(model().records().size(), records);
        QCOMPARE(model().projects().size(), projects);
        if (!next.isEmpty())
            QVERIFY(window->opened(next) && flagged(next));
        // Only "保存并结束" keeps the note; an early finish says so.
        if (records > 0) {
            QCOMPARE(model().records().first().wrapUp,
                answer == u"laterButton"_s ? std::nullopt
                                           : std::optional<QString>(u"next: tests"_s));
            QVERIFY(model().records().first().early);
        }
    }

    void shouldHideOrEndOrAskWhenTheWindowCloses_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("asked");

        // The tray item brings the window back, so it only hides; a session runs on.
        QTest::newRow("tray, running") << true << u"running"_s << true << false;
        // Without one closing ends the application: at once when idle, after asking when a
        // started session would be lost.
        QTest::newRow("no tray, idle") << false << u"idle"_s << true << false;
        QTest::newRow("no tray, running") << false << u"running"_s << false << true;
        QTest::newRow("no tray, paused") << false << u"paused"_s << false << true;
    }

    void shouldHideOrEndOrAskWhenTheWindowCloses()
    {
        QFETCH(bool, tray);
        QFETCH(QString, state);
        QFETCH(bool, hidden);
        QFETCH(bool, asked);
        window->trayHost.setAvailable(tray);
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        if (state != u"idle"_s)
            window->runFor(120);
        if (state == u"paused"_s)
            model().pause();

        main->close();
        main->grabWindow();
        QCOMPARE(!main->isVisible(), hidden);
        QCOMPARE(window->keeper->confirmingClose(), asked);
        // The dialog is built the first time it is asked for.
        const QObject *dialog = window->popup(u"closeConfirmDialog"_s, main);
        QCOMPARE(dialog && dialog->property("opened").toBool(), asked);
        QCOMPARE(window->quits, !tray && !asked ? 1 : 0);
        QCOMPARE(model().started(), state != u"idle"_s);
        QVERIFY(model().records().isEmpty());
    }

    void shouldOpenWhereItWasClosedLastTime()
    {
        window->trayHost.setAvailable(true);
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        // Nothing is stored while the window only opened.
        QVERIFY(!window->defaults.writtenKeys.contains(u"timer-window-frame"_s));
        main->setGeometry(10, 20, 830, 780);
        QCoreApplication::processEvents();
        main->close();
        MainWindowKeeper next(model(), window->trayHost, window->defaults, [] {});
        QCOMPARE(next.initialFrame(), QRect(10, 20, 830, 780));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
