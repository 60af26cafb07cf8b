// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"
#include "ui/settings/settingsform.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString soundKey = u"timer-sound"_s;
const QString goalKey = u"timer-daily-goal-hours"_s;

QString textOf(const QQuickItem *item)
{
    return item ? item->property("text").toString() : u"<missing>"_s;
}

QStringList pickerTexts(QQuickItem *picker)
{
    QStringList texts;
    const int count = picker->property("count").toInt();
    for (int i = 0; i < count; ++i) {
        QString text;
        QMetaObject::invokeMethod(picker, "textAt", Q_RETURN_ARG(QString, text), Q_ARG(int, i));
        texts.append(text);
    }
    return texts;
}

const QStringList sevenOptions = {
    u"无铃声"_s, u"Glass"_s, u"Ping"_s, u"Pop"_s, u"Purr"_s, u"Submarine"_s, u"Hero"_s};

} // namespace

class SettingsPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;

    void showPage()
    {
        QVERIFY(fixture->load(
            u"SettingsPage.qml"_s, {{u"model"_s, QVariant::fromValue(fixture->model.get())}}));
    }
    QQuickItem *picker() const { return fixture->item(u"settingsSound"_s); }
    // A choice in the picker, as its pop-up list reports it.
    void choose(int index)
    {
        QMetaObject::invokeMethod(picker(), "activated", Q_ARG(int, index));
        fixture->render();
    }
    // An audio file for the open panel to answer with.
    QString audioFile()
    {
        const QString path = fixture->folder.filePath(u"chime.wav"_s);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("RIFF-not-checked-by-the-recording-service");
        return path;
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init() { fixture = std::make_unique<PageFixture>(); }
    void cleanup() { fixture.reset(); }

    void shouldOfferSevenSoundsWithoutAnImportedAudio()
    {
        showPage();
        QCOMPARE(pickerTexts(picker()), sevenOptions);
        QCOMPARE(picker()->property("currentText").toString(), u"Glass"_s);
    }

    void shouldOfferAndSelectTheImportedAudioAfterAnImport()
    {
        showPage();
        fixture->dialogs.audioPath = audioFile();
        fixture->click(fixture->item(u"settingsChooseAudio"_s));

        QCOMPARE(fixture->dialogs.openDialogs, 1);
        QVERIFY(!fixture->model->customPath().isEmpty());
        QCOMPARE(pickerTexts(picker()), sevenOptions + QStringList {u"自选音频"_s});
        QCOMPARE(picker()->property("currentIndex").toInt(), 7);
        QCOMPARE(picker()->property("currentText").toString(), u"自选音频"_s);
        QVERIFY(fixture->item(u"settingsPreview"_s)->isEnabled());
    }

    void shouldSelectNothingForCustomWithoutAnImportedAudio()
    {
        fixture->defaults.seed(soundKey, u"custom"_s);
        showPage();
        QCOMPARE(pickerTexts(picker()).size(), 7);
        QCOMPARE(picker()->property("currentIndex").toInt(), -1);
        QCOMPARE(picker()->property("displayText").toString(), QString());
        QVERIFY(fixture->item(u"settingsPreview"_s)->isEnabled());
    }

    void shouldStoreTheChosenSoundWithoutPlaying_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("previewEnabled");

        QTest::newRow("无铃声") << 0 << u"none"_s << false;
        QTest::newRow("Ping") << 2 << u"Ping"_s << true;
        QTest::newRow("Hero") << 6 << u"Hero"_s << true;
    }
    void shouldStoreTheChosenSoundWithoutPlaying()
    {
        QFETCH(int, index);
        QFETCH(QString, stored);
        QFETCH(bool, previewEnabled);

        showPage();
        choose(index);
        QCOMPARE(fixture->defaults.value(soundKey).toString(), stored);
        QCOMPARE(picker()->property("currentIndex").toInt(), index);
        QCOMPARE(fixture->item(u"settingsPreview"_s)->isEnabled(), previewEnabled);
        QVERIFY(fixture->sound.log.events.isEmpty());
    }

    void shouldFollowSoundChangesMadeElsewhere()
    {
        showPage();
        fixture->model->setSoundName(u"none"_s);
        fixture->render();
        QCOMPARE(picker()->property("currentIndex").toInt(), 0);
        QVERIFY(!fixture->item(u"settingsPreview"_s)->isEnabled());

        fixture->model->setSoundName(u"Submarine"_s);
        fixture->render();
        QCOMPARE(picker()->property("currentText").toString(), u"Submarine"_s);
        QVERIFY(fixture->item(u"settingsPreview"_s)->isEnabled());
    }

    void shouldPreviewTheSelectedSoundOnce()
    {
        fixture->defaults.seed(soundKey, u"Pop"_s);
        showPage();
        fixture->click(fixture->item(u"settingsPreview"_s));
        QCOMPARE(fixture->sound.log.events,
            (QStringList {u"create:Pop"_s, u"loop:false"_s, u"start"_s}));
    }

    void shouldNotPreviewWhileSilent()
    {
        fixture->defaults.seed(soundKey, u"none"_s);
        showPage();
        fixture->click(fixture->item(u"settingsPreview"_s));
        QVERIFY(fixture->sound.log.events.isEmpty());
    }

    void shouldStepTheGoalWithinOneToSixteen_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<bool>("increase");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("written");

        QTest::newRow("5 up") << qint64(5) << true << 6 << true;
        QTest::newRow("5 down") << qint64(5) << false << 4 << true;
        QTest::newRow("15 up") << qint64(15) << true << 16 << true;
        QTest::newRow("16 up does nothing") << qint64(16) << true << 16 << false;
        QTest::newRow("1 down does nothing") << qint64(1) << false << 1 << false;
        QTest::newRow("2 down") << qint64(2) << false << 1 << true;
    }
    void shouldStepTheGoalWithinOneToSixteen()
    {
        QFETCH(qint64, start);
        QFETCH(bool, increase);
        QFETCH(int, expected);
        QFETCH(bool, written);

        fixture->defaults.seed(goalKey, start);
        fixture->model = std::make_unique<TimerModel>(
            fixture->defaults, fixture->clock.clock(), nullptr, fixture->services);
        showPage();
        QCOMPARE(textOf(fixture->item(u"settingsGoalLabel"_s)),
            u"每日目标　"_s + QString::number(start) + u" 小时"_s);
        QQuickItem *step =
            fixture->item(increase ? u"settingsGoalIncrease"_s : u"settingsGoalDecrease"_s);
        QCOMPARE(step->isEnabled(), written);
        fixture->defaults.writtenKeys.clear();

        fixture->click(step);
        QCOMPARE(fixture->model->dailyGoalHours(), expected);
        QCOMPARE(fixture->defaults.value(goalKey).toLongLong(), qint64(expected));
        QCOMPARE(fixture->defaults.writtenKeys.contains(goalKey), written);
        QCOMPARE(textOf(fixture->item(u"settingsGoalLabel"_s)),
            u"每日目标　"_s + QString::number(expected) + u" 小时"_s);
    }

    void shouldShowAStoredGoalOfFortyAsSixteen()
    {
        fixture->defaults.seed(goalKey, qint64(40));
        fixture->model = std::make_unique<TimerModel>(
            fixture->defaults, fixture->clock.clock(), nullptr, fixture->services);
        showPage();
        QCOMPARE(textOf(fixture->item(u"settingsGoalLabel"_s)), u"每日目标　16 小时"_s);
        QVERIFY(!fixture->item(u"settingsGoalIncrease"_s)->isEnabled());
    }

    void shouldKeepTheStepperAtMost360Wide()
    {
        showPage();
        const QQuickItem *label = fixture->item(u"settingsGoalLabel"_s);
        QVERIFY(label->parentItem()->width() <= 360);
        QCOMPARE(label->parentItem()->width(), 360.0);
    }

    void shouldIgnoreChoicesOutsideTheOptions()
    {
        SettingsForm form;
        form.setModel(fixture->model.get());
        fixture->defaults.writtenKeys.clear();
        form.chooseSound(-1);
        form.chooseSound(7); // "自选音频" is not offered without an imported audio
        QVERIFY(fixture->defaults.writtenKeys.isEmpty());
        QCOMPARE(fixture->model->soundName(), u"Glass"_s);
    }

    void shouldWorkWithoutAModel()
    {
        SettingsForm form;
        QCOMPARE(form.soundOptions().size(), 7);
        QCOMPARE(form.soundIndex(), -1);
        QVERIFY(!form.canPreview());
        QVERIFY(!form.canIncreaseGoal());
        form.chooseSound(1);
        form.increaseGoal();
        form.decreaseGoal();
    }
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
