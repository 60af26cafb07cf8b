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

} // namespace

class SettingsPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;

    // The page on a model started over the defaults as seeded.
    void showPage()
    {
        fixture->model = std::make_unique<TimerModel>(
            fixture->defaults, fixture->clock.clock(), nullptr, fixture->services);
        QVERIFY(::showPage(*fixture, u"SettingsPage.qml"_s));
        fixture->defaults.writtenKeys.clear();
    }
    QQuickItem *picker() const { return fixture->item(u"settingsSound"_s); }
    bool canPreview() const { return fixture->item(u"settingsPreview"_s)->isEnabled(); }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init() { fixture = std::make_unique<PageFixture>(); }
    void cleanup() { fixture.reset(); }

    void shouldOfferAndSelectTheImportedAudioOnlyAfterAnImport()
    {
        // A custom sound without an imported audio selects nothing, yet can be previewed.
        fixture->defaults.seed(soundKey, u"custom"_s);
        showPage();
        const QStringList seven = {
            u"无铃声"_s, u"Glass"_s, u"Ping"_s, u"Pop"_s, u"Purr"_s, u"Submarine"_s, u"Hero"_s};
        QCOMPARE(pickerTexts(picker()), seven);
        QCOMPARE(picker()->property("currentIndex").toInt(), -1);
        QVERIFY(canPreview());

        QFile audio(fixture->folder.filePath(u"chime.wav"_s));
        QVERIFY(audio.open(QIODevice::WriteOnly) && audio.write("RIFF-not-checked") > 0);
        audio.close();
        fixture->dialogs.audioPath = audio.fileName();
        fixture->click(fixture->item(u"settingsChooseAudio"_s));
        QCOMPARE(fixture->dialogs.openDialogs, 1);
        QCOMPARE(pickerTexts(picker()), seven + QStringList {u"自选音频"_s});
        QCOMPARE(picker()->property("currentIndex").toInt(), 7);
        QVERIFY(canPreview());
    }

    void shouldStoreTheChosenSoundAndPreviewItOnlyOnRequest_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("preview");

        QTest::newRow("无铃声 has nothing to preview") << 0 << u"none"_s << QStringList();
        QTest::newRow("Ping") << 2 << u"Ping"_s
                              << QStringList {u"create:Ping"_s, u"loop:false"_s, u"start"_s};
        QTest::newRow("Hero") << 6 << u"Hero"_s
                              << QStringList {u"create:Hero"_s, u"loop:false"_s, u"start"_s};
    }
    void shouldStoreTheChosenSoundAndPreviewItOnlyOnRequest()
    {
        QFETCH(int, index);
        QFETCH(QString, stored);
        QFETCH(QStringList, preview);

        showPage();
        QMetaObject::invokeMethod(picker(), "activated", Q_ARG(int, index));
        fixture->render();
        QCOMPARE(fixture->defaults.value(soundKey).toString(), stored);
        QCOMPARE(picker()->property("currentIndex").toInt(), index);
        QCOMPARE(canPreview(), !preview.isEmpty());
        QVERIFY(fixture->sound.log.events.isEmpty());

        fixture->click(fixture->item(u"settingsPreview"_s));
        QCOMPARE(fixture->sound.log.events, preview);
    }

    void shouldStepTheGoalWithinOneToSixteen_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<bool>("increase");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("written");

        QTest::newRow("5 up") << qint64(5) << true << 6 << true;
        QTest::newRow("5 down") << qint64(5) << false << 4 << true;
        QTest::newRow("16 up does nothing") << qint64(16) << true << 16 << false;
        QTest::newRow("1 down does nothing") << qint64(1) << false << 1 << false;
    }
    void shouldStepTheGoalWithinOneToSixteen()
    {
        QFETCH(qint64, start);
        QFETCH(bool, increase);
        QFETCH(int, expected);
        QFETCH(bool, written);

        fixture->defaults.seed(goalKey, start);
        showPage();
        const auto label = [](qint64 hours) -> QString {
            return u"每日目标　"_s + QString::number(hours) + u" 小时"_s;
        };
        QCOMPARE(textIn(*fixture, u"settingsGoalLabel"_s), label(start));
        QQuickItem *step =
            fixture->item(increase ? u"settingsGoalIncrease"_s : u"settingsGoalDecrease"_s);
        QCOMPARE(step->isEnabled(), written);

        fixture->click(step);
        QCOMPARE(fixture->model->dailyGoalHours(), expected);
        QCOMPARE(fixture->defaults.writtenKeys.contains(goalKey), written);
        QCOMPARE(fixture->defaults.value(goalKey).toLongLong(), qint64(expected));
        QCOMPARE(textIn(*fixture, u"settingsGoalLabel"_s), label(expected));
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
};

QTEST_MAIN(SettingsPageTest)
#include "tst_settingspage.moc"
