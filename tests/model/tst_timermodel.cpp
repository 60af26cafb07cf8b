// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/failingfilewriter.h"
#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"
#include "records/json/recordcodec.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString goalKey = u"timer-daily-goal-hours"_s;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A model on test doubles: a clock moved by hand, a defaults store in memory, a temporary
// storage folder, and recorders for the alert and the wake signal.
class Fixture {
public:
    explicit Fixture(bool withCompletion = false, FileWriter *writer = nullptr)
    {
        services.storageFolder = folder.filePath(u"VelmorTimer"_s);
        services.alertPanels = &alert;
        services.wake = &wake;
        services.fileWriter = writer;
        if (withCompletion)
            model = std::make_unique<TimerModel>(
                defaults, clock.clock(), [this] { ++completions; }, services);
        else
            model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
    }

    QString recordFile() const { return *services.storageFolder + u"/focus-records.json"_s; }

    // Runs a fresh session for `seconds` of focus (no pauses) and leaves it running.
    void runFor(double seconds)
    {
        model->start();
        clock.advance(seconds);
        model->tick();
    }

    QTemporaryDir folder;
    FakeClock clock;
    MemoryDefaultsStore defaults;
    RecordingAlertPanels alert;
    FakeWakeSignal wake;
    TimerServices services;
    int completions = 0;
    std::unique_ptr<TimerModel> model;
};

class TimerModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Start-up --------------------------------------------------------------------------------

    void shouldLoadTheDailyGoal_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expectedGoal");
        QTest::addColumn<QVariant>("expectedStored");

        QTest::newRow("absent") << QVariant() << 5 << QVariant();
        QTest::newRow("40 is clamped") << QVariant(qint64(40)) << 16 << QVariant(qint64(16));
        QTest::newRow("1") << QVariant(qint64(1)) << 1 << QVariant(qint64(1));
        QTest::newRow("0 is ignored") << QVariant(qint64(0)) << 5 << QVariant(qint64(0));
        QTest::newRow("negative is ignored") << QVariant(qint64(-3)) << 5 << QVariant(qint64(-3));
        QTest::newRow("text is not a number") << QVariant(u"8"_s) << 5 << QVariant(u"8"_s);
        QTest::newRow("a double is truncated") << QVariant(7.9) << 7 << QVariant(qint64(7));
    }

    void shouldLoadTheDailyGoal()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, expectedGoal);
        QFETCH(QVariant, expectedStored);

        QTemporaryDir folder;
        FakeClock clock;
        MemoryDefaultsStore defaults;
        if (stored.isValid())
            defaults.seed(goalKey, stored);
        TimerServices services;
        services.storageFolder = folder.path();
        TimerModel model(defaults, clock.clock(), nullptr, services);

        QCOMPARE(model.dailyGoalHours(), expectedGoal);
        QCOMPARE(defaults.value(goalKey), expectedStored);
    }

    void shouldWriteNothingAtStartUpButTheClampedGoal()
    {
        Fixture f;
        QVERIFY(f.defaults.writtenKeys.isEmpty());
        QVERIFY(!QFileInfo::exists(*f.services.storageFolder));

        MemoryDefaultsStore defaults;
        defaults.seed(goalKey, qint64(40));
        FakeClock clock;
        TimerModel model(defaults, clock.clock(), nullptr, f.services);
        QCOMPARE(defaults.writtenKeys, QStringList {goalKey});
    }

    void shouldStartWithTheInitialValues()
    {
        Fixture f;
        TimerModel &m = *f.model;
        QCOMPARE(m.display(), u"25:00"_s);
        QCOMPARE(m.remaining(), 1500.0);
        QCOMPARE(m.mode(), TimerModel::TimerMode::Focus);
        QVERIFY(!m.running() && !m.started());
        QCOMPARE(m.soundName(), u"Glass"_s);
        QCOMPARE(m.customPath(), QString());
        QVERIFY(m.alertOnce());
        QVERIFY(m.records().isEmpty());
        QVERIFY(m.recordsReadable());
        QVERIFY(m.recordError().isEmpty());
    }

    void shouldTickFiveTimesASecondWithoutPause()
    {
        Fixture f;
        QVERIFY(f.model->ticker().isActive());
        QCOMPARE(f.model->ticker().interval(), 200);
        QCOMPARE(f.model->ticker().timerType(), Qt::PreciseTimer);
    }

    // Countdown -------------------------------------------------------------------------------

    void shouldMoveOnlyWhenTheClockMovesAndATickRuns()
    {
        Fixture f;
        f.model->start();
        f.clock.advance(30);
        QCOMPARE(f.model->remaining(), 1500.0);
        f.wake.fire();
        QCOMPARE(f.model->remaining(), 1470.0);
        QCOMPARE(f.model->display(), u"24:30"_s);
    }

    void shouldNotifyTheTimeLeftOnEveryTick()
    {
        Fixture f;
        f.model->start();
        QSignalSpy remaining(f.model.get(), &TimerModel::remainingChanged);
        QSignalSpy display(f.model.get(), &TimerModel::displayChanged);
        f.model->tick();
        f.model->tick();
        QCOMPARE(remaining.count(), 2); // assigned even when unchanged
        QCOMPARE(display.count(), 0);
        f.clock.advance(1);
        f.model->tick();
        QCOMPARE(display.count(), 1);
    }

    void shouldIgnoreASecondStart()
    {
        Fixture f;
        f.model->start();
        const int dismissals = f.alert.hidden;
        QSignalSpy running(f.model.get(), &TimerModel::runningChanged);
        f.clock.advance(5);
        f.model->start();
        QCOMPARE(running.count(), 0);
        QCOMPARE(f.alert.hidden, dismissals);
    }

    void shouldCloseTheAlertEvenWhenAZeroLengthStartIsRefused()
    {
        Fixture f;
        f.model->setMinutes(0);
        f.alert.visible = true;
        f.model->start();
        QVERIFY(!f.alert.visible);
        QVERIFY(!f.model->started());
    }

    void shouldResumeWithTheSameTimeLeftAfterAPause()
    {
        Fixture f;
        f.runFor(10);
        f.model->pause();
        QVERIFY(!f.model->running());
        f.clock.advance(3600);
        f.model->tick();
        QCOMPARE(f.model->remaining(), 1490.0);
        f.model->start();
        QCOMPARE(*f.model->countdown().deadline(), f.clock.now() + 1490.0);
        QCOMPARE(f.model->display(), u"24:50"_s);
    }

    void shouldAskBeforeResettingOnlyARunningSessionOfAMinute_data()
    {
        QTest::addColumn<double>("ranFor");
        QTest::addColumn<bool>("pausedFirst");
        QTest::addColumn<bool>("expectAsk");
        QTest::newRow("running 59.9 s") << 59.9 << false << false;
        QTest::newRow("running 60 s") << 60.0 << false << true;
        QTest::newRow("paused after 20 min") << 1200.0 << true << false;
    }

    void shouldAskBeforeResettingOnlyARunningSessionOfAMinute()
    {
        QFETCH(double, ranFor);
        QFETCH(bool, pausedFirst);
        QFETCH(bool, expectAsk);
        Fixture f;
        f.runFor(ranFor);
        if (pausedFirst)
            f.model->pause();
        f.model->requestReset();
        QCOMPARE(f.model->pendingReset(), expectAsk);
        QCOMPARE(f.model->running(), expectAsk);
        QCOMPARE(f.model->started(), expectAsk);
        if (!expectAsk)
            QCOMPARE(f.model->remaining(), 1500.0);
    }

    void shouldShowTheNewLengthOnlyAfterAReset()
    {
        Fixture f;
        f.runFor(100);
        f.model->pause();
        f.model->setMinutes(10);
        QCOMPARE(f.model->display(), u"23:20"_s);
        f.model->reset();
        QCOMPARE(f.model->display(), u"10:00"_s);
    }

    void shouldPresetAfterAReset()
    {
        Fixture f;
        f.runFor(100);
        f.model->preset(90);
        QVERIFY(!f.model->started());
        QCOMPARE(f.model->hours(), 1);
        QCOMPARE(f.model->minutes(), 30);
        QCOMPARE(f.model->seconds(), 0);
        QCOMPARE(f.model->display(), u"1:30:00"_s);
    }

    void shouldSelectTheModeOnlyWhileIdle()
    {
        Fixture f;
        f.model->setMinutes(5);
        f.model->start();
        f.model->selectMode(TimerModel::TimerMode::Focus);
        QCOMPARE(f.model->minutes(), 5);
        f.model->reset();
        // "专注" is the one mode's text; any other text is no mode.
        QCOMPARE(TimerModel::timerMode(u"休息"_s), std::nullopt);
        QCOMPARE(TimerModel::timerMode(u"专注"_s), TimerModel::TimerMode::Focus);
        f.model->selectMode(TimerModel::TimerMode::Focus);
        QCOMPARE(f.model->minutes(), 25);
    }

    // Natural end -----------------------------------------------------------------------------

    void shouldRecordASessionThatRunsToZero()
    {
        Fixture f;
        f.model->setTitle(u"  写周报  "_s);
        f.model->start();
        f.model->setTitle(u"changed after the start"_s);
        f.clock.advance(1500.15); // noticed a little after the deadline
        f.model->tick();

        QCOMPARE(f.model->records().size(), 1);
        const FocusRecord r = f.model->records().first();
        QCOMPARE(r.title, u"  写周报  "_s);
        QCOMPARE(r.startedAt, 700000000.0);
        QCOMPARE(r.endedAt, 700001500.0);
        QCOMPARE(r.duration, 1500.0);
        QCOMPARE(r.project, u"学习"_s);
        QVERIFY(!r.subproject && !r.wrapUp && !r.early);
        QVERIFY(f.model->countdown().finished());
        QCOMPARE(f.alert.shown, 1);
        QVERIFY(f.alert.visible);
        // The file and the defaults copy hold the very same bytes.
        const QByteArray file = readFile(f.recordFile());
        QVERIFY(!file.isEmpty());
        QCOMPARE(f.defaults.value(u"focus-records"_s).toByteArray(), file);
    }

    void shouldNameAnUntitledSession_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("early");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blank, natural") << u" \n "_s << false << u"未命名专注"_s;
        QTest::newRow("blank, early") << u" \n "_s << true << u" \n "_s;
        QTest::newRow("empty, natural") << QString() << false << u"未命名专注"_s;
        QTest::newRow("empty, early") << QString() << true << u"未命名专注"_s;
    }

    void shouldNameAnUntitledSession()
    {
        QFETCH(QString, title);
        QFETCH(bool, early);
        QFETCH(QString, expected);
        Fixture f;
        f.model->setTitle(title);
        if (early) {
            f.runFor(120);
            f.model->finishEarly();
            f.model->commitEarly();
        } else {
            f.runFor(1500);
        }
        QCOMPARE(f.model->records().size(), 1);
        QCOMPARE(f.model->records().first().title, expected);
    }

    void shouldRecordByTheDeadlineWhenTheWallClockIsSet_data()
    {
        QTest::addColumn<double>("clockMove"); // after ten minutes of a 25-minute session
        QTest::addColumn<double>("thenRun"); // seconds of the clock after the move
        QTest::addColumn<double>("remainingAfterMove");
        QTest::addColumn<int>("recordsAfterMove");

        // The session is held as a wall-clock deadline: the moved clock moves the time left.
        QTest::newRow("forward past the deadline") << 7200.0 << 0.0 << 0.0 << 1;
        QTest::newRow("forward within the session") << 300.0 << 600.0 << 600.0 << 0;
        QTest::newRow("back an hour") << -3600.0 << 4500.0 << 4500.0 << 0;
    }

    void shouldRecordByTheDeadlineWhenTheWallClockIsSet()
    {
        QFETCH(double, clockMove);
        QFETCH(double, thenRun);
        QFETCH(double, remainingAfterMove);
        QFETCH(int, recordsAfterMove);
        Fixture f;
        const double started = f.clock.now();
        f.runFor(600);
        f.clock.advance(clockMove);
        f.model->tick();
        QCOMPARE(f.model->remaining(), remainingAfterMove);
        QCOMPARE(f.model->records().size(), recordsAfterMove);
        f.clock.advance(thenRun);
        f.model->tick();

        // Whichever way the clock went, the session ends at its deadline with its full length.
        QCOMPARE(f.model->records().size(), 1);
        const FocusRecord &record = f.model->records().first();
        QCOMPARE(record.startedAt, started);
        QCOMPARE(record.endedAt, started + 1500);
        QCOMPARE(record.duration, 1500.0);
        QCOMPARE(f.alert.shown, 1);
    }

    void shouldRecordTheDeadlineAsEndAfterSleep()
    {
        Fixture f;
        f.model->start();
        f.clock.advance(4 * 3600); // asleep past the deadline
        f.wake.fire();
        QCOMPARE(f.model->records().size(), 1);
        QCOMPARE(f.model->records().first().endedAt, 700001500.0);
        QCOMPARE(f.model->records().first().duration, 1500.0);
    }

    void shouldCallTheCompletionCallbackInsteadOfTheAlert()
    {
        Fixture f(true);
        f.runFor(1500);
        QCOMPARE(f.completions, 1);
        QCOMPARE(f.alert.shown, 0);
        f.model->tick();
        QCOMPARE(f.completions, 1);
    }

    void shouldPutTheNewRecordFirst()
    {
        Fixture f;
        f.runFor(1500);
        f.model->reset();
        f.model->setTitle(u"second"_s);
        f.runFor(1500);
        QCOMPARE(f.model->records().size(), 2);
        QCOMPARE(f.model->records().first().title, u"second"_s);
    }

    // Finishing early -------------------------------------------------------------------------

    void shouldNotRecordLessThanAMinute()
    {
        Fixture f;
        f.runFor(59.9);
        f.model->finishEarly();
        QVERIFY(!f.model->pendingFinish());
        QCOMPARE(f.model->toast(), u"专注不足 1 分钟，不计入记录。"_s);
        QVERIFY(f.model->started() && !f.model->running());
        QVERIFY(qAbs(f.model->remaining() - (1500.0 - 59.9)) < 1e-6);
        QVERIFY(f.model->records().isEmpty());

        // The same message again is told as a new one: the views see it go and come back.
        QStringList told;
        connect(
            f.model.get(), &TimerModel::toastChanged, this, [&] { told.append(f.model->toast()); });
        f.model->finishEarly();
        QCOMPARE(told, (QStringList {QString(), u"专注不足 1 分钟，不计入记录。"_s}));
    }

    void shouldOpenTheWrapUpAfterAMinute()
    {
        Fixture f;
        f.model->setWrapDraft(u"left over"_s);
        f.runFor(60);
        f.model->finishEarly();
        QVERIFY(f.model->pendingFinish());
        QCOMPARE(f.model->wrapDraft(), QString());
        QVERIFY(!f.model->running());
    }

    void shouldRecordAnEarlyFinish_data()
    {
        QTest::addColumn<double>("spent");
        QTest::addColumn<QVariant>("note");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QVariant>("storedNote");
        QTest::newRow("119 s, no note")
            << 119.0 << QVariant() << u"已记录1分钟专注。"_s << QVariant();
        QTest::newRow("3599 s") << 3599.0 << QVariant(u"下一步：写测试"_s)
                                << u"已记录59分钟专注。"_s << QVariant(u"下一步：写测试"_s);
        QTest::newRow("1530 s") << 1530.0 << QVariant() << u"已记录25分钟专注。"_s << QVariant();
        QTest::newRow("blank note is no note")
            << 600.0 << QVariant(u"  \n\t "_s) << u"已记录10分钟专注。"_s << QVariant();
        QTest::newRow("spaces around a note stay")
            << 600.0 << QVariant(u" 完成 "_s) << u"已记录10分钟专注。"_s << QVariant(u" 完成 "_s);
    }

    void shouldRecordAnEarlyFinish()
    {
        QFETCH(double, spent);
        QFETCH(QVariant, note);
        QFETCH(QString, toast);
        QFETCH(QVariant, storedNote);
        Fixture f;
        f.model->setHours(2);
        f.runFor(spent);
        f.model->finishEarly();
        f.clock.advance(30); // the dialog is open for a while
        if (note.isValid())
            f.model->commitEarly(note.toString());
        else
            f.model->commitEarly();

        QCOMPARE(f.model->records().size(), 1);
        const FocusRecord r = f.model->records().first();
        QCOMPARE(r.duration, spent);
        QVERIFY(r.early);
        QCOMPARE(r.endedAt, f.clock.now());
        QCOMPARE(r.wrapUp.has_value(), storedNote.isValid());
        if (storedNote.isValid())
            QCOMPARE(*r.wrapUp, storedNote.toString());
        QCOMPARE(f.model->toast(), toast);
        QVERIFY(!f.model->pendingFinish());
        QVERIFY(!f.model->started() && !f.model->running());
        QVERIFY(!f.model->countdown().sessionStart());
        QCOMPARE(f.model->remaining(), 7200.0 + 1500.0);
    }

    void shouldExcludePausesFromTheDuration()
    {
        Fixture f;
        f.runFor(300);
        f.model->pause();
        f.clock.advance(600);
        f.model->start();
        f.clock.advance(300);
        f.model->finishEarly();
        f.model->commitEarly();
        const FocusRecord r = f.model->records().first();
        QCOMPARE(r.duration, 600.0);
        QCOMPARE(r.endedAt - r.startedAt, 1200.0);
    }

    // A finished session is already recorded: finishing it again must not store it twice.
    void shouldNotRecordAFinishedSessionTwice_data()
    {
        QTest::addColumn<bool>("zeroReachedByPause");
        QTest::newRow("ran to zero on a tick") << false;
        QTest::newRow("zero reached by the tick inside pause") << true;
    }

    void shouldNotRecordAFinishedSessionTwice()
    {
        QFETCH(bool, zeroReachedByPause);
        Fixture f;
        f.model->start();
        f.clock.advance(1600);
        if (!zeroReachedByPause)
            f.model->tick();
        f.model->finishEarly();
        f.model->commitEarly(u"note"_s);
        f.model->commitEarly();
        QCOMPARE(f.model->records().size(), 1);
        QVERIFY(!f.model->records().first().early);
        QVERIFY(!f.model->pendingFinish());
        QVERIFY(f.model->toast().isEmpty());
        QVERIFY(f.model->countdown().finished());
    }

    void shouldKeepTheSessionWhenTheSaveFails()
    {
        SwitchableFileWriter writer;
        Fixture f(false, &writer);
        f.runFor(300);
        f.model->pause();
        f.clock.advance(100);
        f.model->start();
        f.clock.advance(100);
        f.model->finishEarly();
        writer.failing = true;
        f.model->commitEarly(u"wrap"_s);
        QVERIFY(f.model->recordError().startsWith(u"专注记录保存失败，记录未删除："_s));
        QVERIFY(f.model->records().isEmpty());
        QVERIFY(f.model->started());
        QVERIFY(f.model->pendingFinish());
        QVERIFY(!QFileInfo::exists(f.recordFile()));
        QVERIFY(!f.defaults.contains(u"focus-records"_s));

        writer.failing = false;
        f.model->commitEarly(u"wrap"_s);
        QCOMPARE(f.model->records().size(), 1);
        QCOMPARE(f.model->records().first().startedAt, 700000000.0);
        QCOMPARE(f.model->records().first().duration, 400.0);
    }

    void shouldRefuseToRecordWhileStoredRecordsAreUnreadable_data()
    {
        QTest::addColumn<bool>("background");
        QTest::newRow("loaded at once") << false;
        // The session is finished before the load has arrived: it must not be written over the
        // damaged file.
        QTest::newRow("loaded in the background") << true;
    }

    void shouldRefuseToRecordWhileStoredRecordsAreUnreadable()
    {
        QFETCH(bool, background);
        QTemporaryDir folder;
        const QString storage = folder.filePath(u"VelmorTimer"_s);
        QDir().mkpath(storage);
        const QByteArray damaged = "[{\"startedAt\": 1, broken";
        {
            QFile file(storage + u"/focus-records.json"_s);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        FakeClock clock;
        MemoryDefaultsStore defaults;
        RecordingAlertPanels alert;
        TimerServices services;
        services.storageFolder = storage;
        services.alertPanels = &alert;
        services.loadInBackground = background;
        services.saveInBackground = background;
        TimerModel model(defaults, clock.clock(), nullptr, services);
        if (!background) {
            QVERIFY(!model.recordsReadable());
            QCOMPARE(
                model.recordError(), u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s);
        }

        // Early: refused, the session stays paused.
        model.start();
        clock.advance(120);
        model.finishEarly();
        model.setRecordError({});
        model.commitEarly();
        QCOMPARE(model.recordError(), u"记录读取异常，已暂停写入以保护原数据。"_s);
        QVERIFY(model.started() && !model.running());

        // Natural end: no record, the alert all the same.
        model.reset();
        model.setRecordError({});
        model.start();
        clock.advance(1500);
        model.tick();
        QCOMPARE(model.recordError(), u"记录读取异常，已暂停写入以保护原数据。"_s);
        QCOMPARE(alert.shown, 1);
        QVERIFY(model.records().isEmpty());
        QVERIFY(!model.recordsReadable());
        QCOMPARE(model.waitingSessions(), 1);
        QCOMPARE(readFile(storage + u"/focus-records.json"_s), damaged);
        QCOMPARE(QDir(storage).entryList({u"focus-records-corrupt-*.json"_s}).size(), 1);
    }

    void shouldSaveOnTopOfTheStoredList_data()
    {
        QTest::addColumn<bool>("loadInBackground");
        QTest::addColumn<bool>("saveInBackground");
        QTest::newRow("at once") << false << false;
        // A session that ends before the load has arrived waits for it.
        QTest::newRow("loaded in the background") << true << false;
        QTest::newRow("loaded and saved in the background") << true << true;
    }

    void shouldSaveOnTopOfTheStoredList()
    {
        QFETCH(bool, loadInBackground);
        QFETCH(bool, saveInBackground);
        QTemporaryDir folder;
        const QString storage = folder.filePath(u"VelmorTimer"_s);
        QDir().mkpath(storage);
        FocusRecord stored;
        stored.title = u"stored"_s;
        stored.startedAt = 600000000;
        stored.endedAt = 600001500;
        stored.duration = 1500;
        {
            QFile file(storage + u"/focus-records.json"_s);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(RecordCodec::encode({stored}));
        }
        FakeClock clock;
        MemoryDefaultsStore defaults;
        // The settings apart: the alert reads them while the list is being written.
        MemoryDefaultsStore settings;
        RecordingAlertPanels alert;
        TimerServices services;
        services.storageFolder = storage;
        services.settings = &settings;
        services.alertPanels = &alert;
        services.loadInBackground = loadInBackground;
        services.saveInBackground = saveInBackground;
        auto model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);

        model->start();
        clock.advance(1500);
        model->tick();
        QCOMPARE(alert.shown, 1);
        if (saveInBackground) {
            // The list changes only once it is written; quitting waits for the write.
            QCOMPARE(model->records().size(), 1);
            QSignalSpy changed(model.get(), &TimerModel::recordsChanged);
            QVERIFY(changed.wait());
        }
        QCOMPARE(model->records().size(), 2);
        QCOMPARE(model->records().last(), stored);
        QCOMPARE(model->recordError(), QString());
        model->reset();
        model->start();
        clock.advance(1500);
        model->tick();
        model.reset();

        const RecordCodec::DecodeResult saved =
            RecordCodec::decode(readFile(storage + u"/focus-records.json"_s));
        QCOMPARE(saved.records.size(), 3);
        QCOMPARE(saved.records.last(), stored);
        QCOMPARE(defaults.value(u"focus-records"_s).toByteArray(),
            readFile(storage + u"/focus-records.json"_s));
    }

    void shouldAddAWrapUpToTheNewestRecordOnly()
    {
        Fixture f;
        f.runFor(1500);
        f.model->reset();
        f.runFor(1500);
        const FocusRecord newest = f.model->records().first();
        f.model->completeWrap(QString());
        QCOMPARE(f.model->records().first().wrapUp, std::optional<QString>(QString()));
        QCOMPARE(f.model->records().first().id, newest.id);
        QVERIFY(!f.model->records().at(1).wrapUp);
        f.model->completeWrap(std::nullopt);
        QVERIFY(!f.model->records().first().wrapUp);
    }

    // Sound settings --------------------------------------------------------------------------

    void shouldKeepSoundSettingsInTheSettingsStore()
    {
        Fixture f;
        MemoryDefaultsStore settings;
        TimerServices services = f.services;
        services.settings = &settings;
        FakeClock clock;
        TimerModel model(f.defaults, clock.clock(), nullptr, services);
        QSignalSpy changed(&model, &TimerModel::soundNameChanged);
        model.setSoundName(u"Pop"_s);
        QCOMPARE(settings.value(u"timer-sound"_s), QVariant(u"Pop"_s));
        QVERIFY(!f.defaults.contains(u"timer-sound"_s));
        QCOMPARE(model.soundName(), u"Pop"_s);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TimerModelTest)
#include "tst_timermodel.moc"
