// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"
#include "ui/settings/settingsform.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The form behind the settings page; the page only lays its answers out.
class SettingsPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    std::unique_ptr<SettingsForm> form;

    // The form on a model started over the defaults as seeded.
    void start()
    {
        fixture->model = std::make_unique<TimerModel>(
            fixture->defaults, fixture->clock.clock(), nullptr, fixture->services);
        form->setModel(fixture->model.get());
        fixture->defaults.writtenKeys.clear();
    }

private Q_SLOTS:
    void init()
    {
        fixture = std::make_unique<PageFixture>();
        form = std::make_unique<SettingsForm>();
    }
    void cleanup()
    {
        form.reset();
        fixture.reset();
    }

    void shouldOfferAndSelectTheImportedAudioOnlyAfterAnImport()
    {
        // A custom sound without an imported audio selects nothing, yet can be previewed.
        fixture->defaults.seed(u"timer-sound"_s, u"custom"_s);
        start();
        QCOMPARE(form->soundOptions().size(), 7);
        QCOMPARE(form->soundIndex(), -1);
        QVERIFY(form->canPreview());

        QFile audio(fixture->folder.filePath(u"chime.wav"_s));
        QVERIFY(audio.open(QIODevice::WriteOnly) && audio.write("RIFF-not-checked") > 0);
        audio.close();
        fixture->dialogs.audioPath = audio.fileName();
        QSignalSpy offered(form.get(), &SettingsForm::soundOptionsChanged);
        fixture->model->chooseAudio();
        QVERIFY(!offered.isEmpty());
        QCOMPARE(form->soundOptions().value(7).toMap().value(u"label"_s), u"自选音频"_s);
        QCOMPARE(form->soundIndex(), 7);
    }

    void shouldStoreOnlyAChoiceAmongTheOptions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stored");

        QTest::newRow("无铃声") << 0 << u"none"_s;
        QTest::newRow("Ping") << 2 << u"Ping"_s;
        QTest::newRow("before the first") << -1 << QString();
        QTest::newRow("自选音频 without an imported audio") << 7 << QString();
    }
    void shouldStoreOnlyAChoiceAmongTheOptions()
    {
        QFETCH(int, index);
        QFETCH(QString, stored);

        start();
        form->chooseSound(index);
        QCOMPARE(fixture->defaults.writtenKeys.contains(u"timer-sound"_s), !stored.isEmpty());
        QCOMPARE(fixture->model->soundName(), stored.isEmpty() ? u"Glass"_s : stored);
        QCOMPARE(form->canPreview(), stored != u"none"_s);
    }

    void shouldStepTheGoalWithinOneToSixteen_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<bool>("increase");
        QTest::addColumn<int>("expected");

        QTest::newRow("5 up") << qint64(5) << true << 6;
        QTest::newRow("16 up does nothing") << qint64(16) << true << 16;
        QTest::newRow("1 down does nothing") << qint64(1) << false << 1;
    }
    void shouldStepTheGoalWithinOneToSixteen()
    {
        QFETCH(qint64, start);
        QFETCH(bool, increase);
        QFETCH(int, expected);

        fixture->defaults.seed(u"timer-daily-goal-hours"_s, start);
        this->start();
        QCOMPARE(increase ? form->canIncreaseGoal() : form->canDecreaseGoal(), start != expected);
        increase ? form->increaseGoal() : form->decreaseGoal();
        QCOMPARE(fixture->model->dailyGoalHours(), expected);
        QCOMPARE(
            fixture->defaults.writtenKeys.contains(u"timer-daily-goal-hours"_s), start != expected);
        QCOMPARE(form->goalText(), u"每日目标　%1 小时"_s.arg(expected));
    }
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
