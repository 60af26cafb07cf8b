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
