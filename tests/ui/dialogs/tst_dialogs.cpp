// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

#include "doubles/failingfilewriter.h"

using namespace Qt::StringLiterals;

class DialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    TimerModel &model() const { return window->model(); }
    void press(const QString &dialog, const QString &button) const
    {
        QQuickItem *target = window->dialogButton(dialog, button);
        QVERIFY2(target, qPrintable(dialog + u'/' + button));
        window->click(target);
    }
    // A session paused after `seconds` of focus, with the finish dialog open.
    void offerFinish(double seconds) const
    {
        model().setMinutes(59);
        window->runFor(seconds);
        model().finishEarly();
        window->render();
        QVERIFY(window->opened(u"finishDialog"_s));
    }
    // Puts the named dialog on show as the user's path to it does.
    void bringUp(const QString &dialog) const
    {
        if (dialog == u"finishDialog"_s) {
            offerFinish(120);
        } else if (dialog == u"resetDialog"_s) {
            window->runFor(120);
            model().requestReset();
        } else if (dialog == u"deleteProjectDialog"_s) {
            window->draft->setConfirmingDelete(u"工作"_s);
        } else {
            model().setError(u"铃声无法播放，请重新选择音频。"_s);
        }
        window->render();
    }
    // Moves and resizes the window as a user does, and lets it report that.
    static void moveTo(QWindow *window, const QRect &frame)
    {
        window->setGeometry(frame);
        QCoreApplication::processEvents();
        QCOMPARE(window->geometry(), frame);
    }
    void reopen()
    {
        window = std::make_unique<WindowFixture>(&failingWriter);
        QVERIFY(window->show());
    }

    FailingFileWriter failingWriter;

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        window = std::make_unique<WindowFixture>();
        QVERIFY(window->show());
    }
    void cleanup() { window.reset(); }

    void shouldClearTheFlagWhenADialogIsDismissed_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("byEscape");
        // Escape presses the cancel button: both "继续计时" resume the session.
        QTest::addColumn<bool>("running");

        QTest::newRow("finish, Escape") << u"finishDialog"_s << true << true;
        QTest::newRow("finish, window") << u"finishDialog"_s << false << false;
        QTest::newRow("reset, Escape") << u"resetDialog"_s << true << true;
        QTest::newRow("reset, window") << u"resetDialog"_s << false << true;
        QTest::newRow("delete, Escape") << u"deleteProjectDialog"_s << true << false;
        QTest::newRow("delete, window") << u"deleteProjectDialog"_s << false << false;
        QTest::newRow("sound error, Escape") << u"soundErrorDialog"_s << true << false;
        QTest::newRow("sound error, window") << u"soundErrorDialog"_s << false << false;
    }

    void shouldClearTheFlagWhenADialogIsDismissed()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, byEscape);
        QFETCH(bool, running);

        const auto flagged = [&] {
            if (dialog == u"finishDialog"_s)
                return model().pendingFinish();
            if (dialog == u"resetDialog"_s)
                return model().pendingReset();
            if (dialog == u"deleteProjectDialog"_s)
                return window->draft->confirmingDelete().has_value();
            return !model().error().isEmpty();
        };
        QVERIFY(!window->opened(dialog));
        bringUp(dialog);
        QVERIFY(flagged());
        QVERIFY(window->opened(dialog));

        if (byEscape)
            window->press(Qt::Key_Escape);
        else
            QMetaObject::invokeMethod(window->popup(dialog), "close");
        window->render();
        QVERIFY(!window->opened(dialog));
        QVERIFY(!flagged());
        QCOMPARE(model().running(), running);
        QVERIFY(model().records().isEmpty());
        QCOMPARE(model().projects().size(), 3);
    }

    void shouldCloseWhenTheModelClearsTheFlag()
    {
        model().setError(u"无法读取该音频，请选择其他音频文件。"_s);
        window->render();
        QVERIFY(window->opened(u"soundErrorDialog"_s));
        QCOMPARE(window->popup(u"soundErrorDialog"_s)->property("message").toString(),
            u"无法读取该音频，请选择其他音频文件。"_s);
        model().setError(QString());
        window->render();
        QVERIFY(!window->opened(u"soundErrorDialog"_s));
    }

    void shouldClearTheSoundErrorWithOk()
    {
        model().setError(u"铃声无法播放，请重新选择音频。"_s);
        window->render();
        press(u"soundErrorDialog"_s, u"okButton"_s);
        QCOMPARE(model().error(), QString());
        QVERIFY(!window->opened(u"soundErrorDialog"_s));
    }

    void shouldSaveTheWrapUpNoteAndFinish()
    {
        offerFinish(1530);
        QCOMPARE(window->popup(u"finishDialog"_s)->property("title").toString(), u"记录收尾"_s);
        QQuickItem *field = window->dialogButton(u"finishDialog"_s, u"wrapField"_s);
        QCOMPARE(field->property("placeholderText").toString(), u"做到哪 / 下一步（可稍后补）"_s);
        field->forceActiveFocus();
        window->type(u"next: tests"_s);
        QCOMPARE(model().wrapDraft(), u"next: tests"_s);

        press(u"finishDialog"_s, u"saveAndFinishButton"_s);
        QCOMPARE(model().records().size(), 1);
        QCOMPARE(model().records().first().wrapUp, std::optional<QString>(u"next: tests"_s));
        QVERIFY(model().records().first().early);
        QVERIFY(!model().pendingFinish());
        QVERIFY(!model().started());
        QVERIFY(!window->opened(u"finishDialog"_s));
        QCOMPARE(model().toast(), u"已记录25分钟专注。"_s);
    }

    void shouldFinishWithoutANoteLater()
    {
        offerFinish(120);
        model().setWrapDraft(u"typed but not saved"_s);
        press(u"finishDialog"_s, u"laterButton"_s);
        QCOMPARE(model().records().size(), 1);
        QCOMPARE(model().records().first().wrapUp, std::nullopt);
        QVERIFY(!model().pendingFinish());
    }

    void shouldKeepTimingFromTheFinishDialog()
    {
        offerFinish(120);
        press(u"finishDialog"_s, u"keepTimingButton"_s);
        QVERIFY(model().running());
        QVERIFY(!model().pendingFinish());
        QVERIFY(model().records().isEmpty());
        QVERIFY(!window->opened(u"finishDialog"_s));
    }

    void shouldCloseTheFinishDialogWhenSavingFails()
    {
        reopen();
        offerFinish(120);
        press(u"finishDialog"_s, u"saveAndFinishButton"_s);
        QVERIFY(!window->opened(u"finishDialog"_s));
        QVERIFY(!model().pendingFinish());
        QVERIFY(model().records().isEmpty());
        // The session waits, paused, and the banner says why.
        QVERIFY(model().started());
        QVERIFY(!model().running());
        QVERIFY(model().recordError().startsWith(u"专注记录保存失败，记录未删除："_s));
        QVERIFY(window->item(u"recordErrorBanner"_s)->isVisible());
    }

    void shouldOfferTheFinishDialogFromTheResetConfirmation()
    {
        window->runFor(120);
        model().requestReset();
        window->render();
        const QObject *dialog = window->popup(u"resetDialog"_s);
        QCOMPARE(dialog->property("title").toString(), u"重置当前计时？"_s);
        QCOMPARE(dialog->property("message").toString(), u"已专注超过 1 分钟。"_s);

        press(u"resetDialog"_s, u"finishAndRecordButton"_s);
        QVERIFY(!model().pendingReset());
        QVERIFY(!window->opened(u"resetDialog"_s));
        QVERIFY(model().pendingFinish());
        QVERIFY(window->opened(u"finishDialog"_s));
    }

    void shouldDiscardOrKeepTimingFromTheResetConfirmation()
    {
        window->runFor(120);
        model().requestReset();
        window->render();
        press(u"resetDialog"_s, u"keepTimingButton"_s);
        QVERIFY(model().running());
        QVERIFY(!model().pendingReset());

        model().requestReset();
        window->render();
        press(u"resetDialog"_s, u"discardButton"_s);
        QVERIFY(!model().started());
        QVERIFY(!model().pendingReset());
        QVERIFY(model().records().isEmpty());
    }

    void shouldDeleteTheProjectAfterConfirmation()
    {
        window->draft->setConfirmingDelete(u"工作"_s);
        window->render();
        QCOMPARE(window->popup(u"deleteProjectDialog"_s)->property("title").toString(),
            u"删除项目？该项目现有记录将移至未分类。"_s);
        press(u"deleteProjectDialog"_s, u"cancelDeleteButton"_s);
        QVERIFY(!window->draft->confirmingDelete());
        QCOMPARE(model().projects().size(), 3);

        window->draft->setConfirmingDelete(u"工作"_s);
        window->render();
        press(u"deleteProjectDialog"_s, u"confirmDeleteButton"_s);
        QVERIFY(!window->draft->confirmingDelete());
        QCOMPARE(model().projects(), (QStringList {u"学习"_s, u"个人"_s}));
        QVERIFY(!window->opened(u"deleteProjectDialog"_s));
    }

    void shouldTakeTheNoteFromTheKeyboardAndSaveWithReturn()
    {
        offerFinish(300);
        QQuickItem *field = window->dialogButton(u"finishDialog"_s, u"wrapField"_s);
        QVERIFY(field->hasActiveFocus());
        window->type(u"draft done"_s);
        window->press(Qt::Key_Return);
        QCOMPARE(model().records().size(), 1);
        QCOMPARE(model().records().first().wrapUp, std::optional<QString>(u"draft done"_s));
        QVERIFY(!window->opened(u"finishDialog"_s));
    }

    void shouldPressTheDefaultButtonWithReturn_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("reset: finish and record") << u"resetDialog"_s;
        QTest::newRow("delete: delete the project") << u"deleteProjectDialog"_s;
        QTest::newRow("sound error: ok") << u"soundErrorDialog"_s;
    }

    void shouldPressTheDefaultButtonWithReturn()
    {
        QFETCH(QString, dialog);
        bringUp(dialog);
        QVERIFY(window->opened(dialog));
        window->press(Qt::Key_Return);
        QVERIFY(!window->opened(dialog));
        if (dialog == u"resetDialog"_s)
            QVERIFY(model().pendingFinish());
        else if (dialog == u"deleteProjectDialog"_s)
            QCOMPARE(model().projects(), (QStringList {u"学习"_s, u"个人"_s}));
        else
            QCOMPARE(model().error(), QString());
    }

    void shouldHideOrEndOrAskWhenTheWindowCloses_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("asked");

        // The tray item brings the window back, so it only hides; a session runs on.
        QTest::newRow("tray, running") << true << u"running"_s << true << false;
        QTest::newRow("tray, idle") << true << u"idle"_s << true << false;
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
        QCOMPARE(window->popup(u"closeConfirmDialog"_s, main)->property("opened").toBool(), asked);
        QCOMPARE(window->quits, !tray && !asked ? 1 : 0);
        QCOMPARE(model().started(), state != u"idle"_s);
        QVERIFY(model().records().isEmpty());
    }

    void shouldEndOnlyWhenTheCloseIsConfirmed()
    {
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        window->runFor(120);
        QObject *dialog = window->popup(u"closeConfirmDialog"_s, main);
        auto *content = dialog->property("contentItem").value<QQuickItem *>();
        const auto pressIn = [&](const QString &name) {
            QQuickItem *button = window->item(name, content);
            QVERIFY2(button, qPrintable(name));
            const QPointF centre = button->mapToScene(button->boundingRect().center());
            QTest::mouseClick(main, Qt::LeftButton, {}, centre.toPoint());
            main->grabWindow();
        };

        main->close();
        main->grabWindow();
        pressIn(u"cancelCloseButton"_s);
        QVERIFY(!dialog->property("opened").toBool());
        QVERIFY(!window->keeper->confirmingClose());
        QVERIFY(main->isVisible());
        QCOMPARE(window->quits, 0);
        QVERIFY(model().running());

        main->close();
        main->grabWindow();
        pressIn(u"quitButton"_s);
        QCOMPARE(window->quits, 1);
        // Quitting records nothing: the session is dropped with the process.
        QVERIFY(model().records().isEmpty());
    }

    void shouldCloseWithCtrlWAndQuitWithCtrlQ()
    {
        window->trayHost.setAvailable(true);
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        QTRY_VERIFY(main->isActive());
        QTest::keyClick(main, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!main->isVisible());
        QCOMPARE(window->quits, 0);

        window->keeper->bringForward();
        QTRY_VERIFY(main->isActive());
        QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(window->quits, 1);
    }

    void shouldAskWithReturnAsTheDefault()
    {
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        window->runFor(120);
        main->close();
        main->grabWindow();
        QVERIFY(window->keeper->confirmingClose());
        QTest::keyClick(main, Qt::Key_Return);
        QCOMPARE(window->quits, 1);
    }

    void shouldKeepTheWindowOnceATrayHostAppears()
    {
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        window->runFor(120);
        // A panel that starts after the application: from then on closing only hides.
        window->trayHost.setAvailable(true);
        main->close();
        QVERIFY(!main->isVisible());
        QVERIFY(!window->keeper->confirmingClose());
        QCOMPARE(window->quits, 0);
        // And when it goes away again, closing ends the application again.
        window->keeper->bringForward();
        window->trayHost.setAvailable(false);
        model().reset();
        main->close();
        QCOMPARE(window->quits, 1);
    }

    void shouldComeBackWhereItWasOnThePageItShowed()
    {
        window->trayHost.setAvailable(true);
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        const QRect frame(40, 30, 850, 770);
        moveTo(main, frame);
        model().setShowRecords(true);
        window->runFor(60);
        main->close();
        QVERIFY(!main->isVisible());
        // Moved while hidden, as a window manager may do with a window it unmapped.
        main->setGeometry(0, 0, 820, 760);

        window->keeper->bringForward();
        QVERIFY(main->isVisible());
        QTRY_VERIFY(main->isActive());
        QTRY_COMPARE(main->geometry(), frame);
        main->grabWindow();
        QVERIFY(window->item(u"historyPage"_s, main->contentItem()));
        QVERIFY(model().running());
        // The stored frame is the one it came back to.
        const QVariantMap stored = window->page->defaults.value(u"timer-window-frame"_s).toMap();
        QCOMPARE(QRect(stored.value(u"x"_s).toInt(), stored.value(u"y"_s).toInt(),
                     stored.value(u"width"_s).toInt(), stored.value(u"height"_s).toInt()),
            frame);
    }

    void shouldOpenWhereItWasClosedLastTime()
    {
        window->trayHost.setAvailable(true);
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        // Nothing is stored while the window only opened.
        QVERIFY(!window->page->defaults.writtenKeys.contains(u"timer-window-frame"_s));
        moveTo(main, QRect(10, 20, 830, 780));
        main->close();

        MainWindowKeeper next(model(), window->trayHost, window->page->defaults, [] {});
        QCOMPARE(next.initialFrame(), QRect(10, 20, 830, 780));
    }

    void shouldOpenTheEditorSheetWithTheDraft()
    {
        window->draft->prepareNewProject();
        window->render();
        QVERIFY(window->opened(u"projectEditor"_s));
        window->draft->closeProjectEditor();
        window->render();
        QVERIFY(!window->opened(u"projectEditor"_s));
    }
};

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
