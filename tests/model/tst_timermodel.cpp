// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The model as the views drive it: the countdown, how sessions end up in the stored list, the
// catalogue's effect on records, the reminder sound, refused saves, unreadable records and their
// repair, the history's filters and export, and the figures. The rules of the classes underneath
// are tested with those classes.

#include "modelfixture.h"

class TimerModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What the views show after the user's steps (see ModelFixture::act and state).
    void shouldShowWhatTheUserDid_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("state");
        const auto row = [](const char *name, const QString &script, const QString &state) {
            QTest::newRow(name) << script << state;
        };

        // The daily goal as stored / as used.
        row("a goal of 40 hours is brought down to 16", u"goal=40"_s, u"25:00 idle goal:16/16"_s);
        row("a goal in text is ignored", u"goal='8'"_s, u"25:00 idle goal:5/8"_s);
        row("a goal with a fraction is truncated", u"goal=7.9"_s, u"25:00 idle goal:7/7"_s);

        // The countdown: the time left rounded up, held as a wall-clock deadline.
        row("the length in full while idle", u"hours=1 minutes=6 seconds=40"_s, u"1:06:40 idle"_s);
        row("more hours than an int holds", u"hours=2147483647 minutes=59 seconds=59"_s,
            u"2147483647:59:59 idle"_s);
        row("a fraction of a second shows the full one", u"start +0.3"_s, u"25:00 running 0%"_s);
        row("zero only at the deadline", u"minutes=0 seconds=10 start +9.99 +0.01"_s,
            u"00:00 finished 100% {未命名专注@学习 0..10 10s} alert"_s);
        row("a pause keeps the time left, the title and the project", //
            u"start +10 pause +3600 title=x selectedProject=工作 start +1490"_s,
            u"00:00 finished 100% {未命名专注@学习 0..5100 1500s} alert selected:工作"_s);

        // Start, reset and length.
        row("a second start is ignored and leaves the alert", u"start +5 alert start"_s,
            u"24:55 running 0% alert"_s);
        row("a zero-length start is refused but closes the alert", u"minutes=0 alert start"_s,
            u"00:00 idle"_s);
        row("a reset after a minute asks first", u"start +60 requestReset"_s,
            u"24:00 running 4% asking"_s);
        row("a new length waits for the reset", u"start +100 pause minutes=10"_s,
            u"23:20 paused 7%"_s);
        row("a preset resets", u"start +100 preset=90"_s, u"1:30:00 idle"_s);

        // The natural end: recorded from the start to the deadline, whatever the clock did.
        row("noticed late, under the title it started with",
            u"title=__写周报__ start +600 title=changed >900.15 +0"_s,
            u"00:00 finished 100% {  写周报  @学习 0..1500 1500s} alert"_s);
        row("asleep past the deadline, told by the wake signal", u"start >14400 wake"_s,
            u"00:00 finished 100% {未命名专注@学习 0..1500 1500s} alert"_s);
        row("the clock set back an hour", u"start +600 +-3600 +4500"_s,
            u"00:00 finished 100% {未命名专注@学习 0..1500 1500s} alert"_s);
        row("the newest first", u"end=A start +1500"_s,
            u"00:00 finished 100% {A@学习 1500..3000 1500s} {A@学习 0..1500 1500s} alert"_s);

        // Finishing early: focus without the pauses, ended when the wrap-up is committed.
        row("less than a minute is not recorded", u"start +59.9 finishEarly"_s,
            u"24:01 paused 4% 专注不足 1 分钟，不计入记录。"_s);
        row("the wrap-up opens after a minute, its draft cleared",
            u"wrapDraft=x start +60 finishEarly"_s, u"24:00 paused 4% wrap-up"_s);
        row("3599 s with a note, a blank title kept",
            u"hours=2 title=_\n_ start +3599 finishEarly commitEarly=下一步：写测试"_s,
            u"2:25:00 idle { \n @学习 0..3599 3599s early note:下一步：写测试} 已记录59分钟专注。"_s);
        row("a pause left out", u"start +300 pause +600 start +300 finishEarly commitEarly"_s,
            u"25:00 idle {未命名专注@学习 0..1200 600s early} 已记录10分钟专注。"_s);
        // A finished session is already recorded: finishing it again must not store it twice.
        row("a session that ran to zero is not finished again",
            u"start +1600 finishEarly commitEarly=x commitEarly"_s,
            u"00:00 finished 100% {未命名专注@学习 0..1500 1500s} alert"_s);
        row("nor one that reached zero inside the pause",
            u"start >1600 pause finishEarly commitEarly=x"_s,
            u"00:00 finished 100% {未命名专注@学习 0..1500 1500s} alert"_s);

        // The reminder sound: only the newest import is kept; a sound that cannot play, a file
        // that is not audio or cannot be copied is reported and changes nothing.
        const QString unplayable = u" message:铃声无法播放，请重新选择音频。"_s;
        row("custom without a file", u"soundName=custom play"_s,
            u"25:00 idle sound:custom"_s + unplayable);
        row("a sound that does not start", u"failstart play"_s, u"25:00 idle"_s + unplayable);
        row("an import plays as the custom sound", u"import=a.ogg:OggS play"_s,
            u"25:00 idle sound:custom.ogg"_s);
        row("the same file again", u"import=a.ogg:OggS import=a.ogg:OggS"_s,
            u"25:00 idle sound:custom.ogg"_s);
        row("a file that is not audio", u"import=a.ogg:OggS import=b.mp3:not_audio"_s,
            u"25:00 idle sound:custom.ogg message:无法读取该音频，请选择其他音频文件。"_s);
        row("a file that is missing", u"import=a.ogg:OggS import=b.wav"_s,
            u"25:00 idle sound:custom.ogg message:导入失败"_s);

        // The stored list: a late wrap-up and the undo of the last delete.
        row("a late wrap-up goes to the newest record only", u"end=A end=B wrap"_s,
            u"25:00 idle {B@学习 1500..3000 1500s note:} {A@学习 0..1500 1500s}"_s);
        row("only the last delete is undone", u"end=A end=B end=C delete delete undoDelete"_s,
            u"25:00 idle {B@学习 1500..3000 1500s} {A@学习 0..1500 1500s}"_s);

        // The catalogue: records follow their project; a running session is recorded under its
        // own project's current name.
        row("a deleted project's records go to 未分类 with their subprojects",
            u"selectedProject=工作 sub=周报 end=A deleteProject=工作"_s,
            u"25:00 idle {A@未分类/周报 0..1500 1500s} projects:学习/个人"_s);
        row("no project is deleted during a session",
            u"selectedProject=工作 end=A start +10 pause deleteProject=工作"_s,
            u"24:50 paused 1% {A@工作 0..1500 1500s} selected:工作"_s);
        row("a subproject is renamed only in its project",
            u"selectedProject=个人 sub=阅读 end=B selectedProject=学习 sub=阅读 end=A renamesub=阅读>精读"_s,
            u"25:00 idle {A@学习/精读 1500..3000 1500s} {B@个人/阅读 0..1500 1500s} selected:学习/精读"_s);
        const QString running = u"sub=阅读 start +600 %1 +900"_s;
        const QString ended = u"00:00 finished 100% {未命名专注@%1 0..1500 1500s} alert"_s;
        row("its project renamed", running.arg(u"rename=学习>读书"_s),
            ended.arg(u"读书/阅读"_s) + u" selected:读书/阅读 projects:读书/工作/个人"_s);
        row("its subproject renamed", running.arg(u"renamesub=阅读>精读"_s),
            ended.arg(u"学习/精读"_s) + u" selected:学习/精读"_s);
        row("a namesake subproject renamed in another project",
            running.arg(u"selectedProject=个人 sub=阅读 renamesub=阅读>泛读"_s),
            ended.arg(u"学习/阅读"_s) + u" selected:个人/泛读"_s);

        // A refused save leaves the list on screen as it was, says why, and keeps what is needed
        // to try again.
        const QString refused = u" error:专注记录保存失败，记录未删除"_s;
        row("refused: an early finish keeps its session",
            u"end=A start +300 pause >100 start +100 finishEarly fail commitEarly"_s,
            u"18:20 paused 27% {A@学习 0..1500 1500s} wrap-up"_s + refused);
        row("and records it once the disk takes writes",
            u"end=A start +300 pause >100 start +100 finishEarly fail commitEarly mend commitEarly"_s,
            u"25:00 idle {A@学习 1500..2000 400s early} {A@学习 0..1500 1500s}"_s + refused
                + u" 已记录6分钟专注。"_s);
        row("refused: a session that runs to zero ends all the same", u"end=A start fail +1500"_s,
            u"00:00 finished 100% {A@学习 0..1500 1500s} alert"_s + refused);
        row("refused: a delete keeps the record", u"end=A fail delete"_s,
            u"25:00 idle {A@学习 0..1500 1500s}"_s + refused);
        row("refused: a project rename keeps the catalogue change",
            u"selectedProject=工作 end=A fail rename=工作>客户"_s,
            u"25:00 idle {A@工作 0..1500 1500s} selected:客户 projects:学习/客户/个人"_s + refused);

        // Nothing is written over a record file that could not be read, not even by a session
        // that ends before the load has arrived.
        const QString locked = u" error:记录读取异常，已暂停写入以保护原数据。"_s;
        row("unreadable: an early finish is refused",
            u"damage start +120 finishEarly commitEarly"_s, u"23:00 paused 8% wrap-up"_s + locked);
        row("unreadable: a natural end waits", u"damage start +1500"_s,
            u"00:00 finished 100% alert waiting:1"_s + locked);
        row("unreadable, loaded in the background: a natural end waits",
            u"background=load+save damage start +1500"_s,
            u"00:00 finished 100% alert waiting:1"_s + locked);

        // A repair writes the chosen source and the sessions that waited; quitting asks first
        // while sessions wait.
        const QString copy =
            u"{副本二@未分类 -87900..-86400 1500s} {副本一@未分类 -174300..-172800 1500s}"_s;
        const QString most = u" 所选来源的记录最多，共 2 条。"_s;
        row("unreadable: quitting asks first while sessions wait", u"damage end=暂存 requestQuit"_s,
            u"25:00 idle waiting:1"_s + locked + u" quit?"_s);
        row("repaired from a good copy, with the sessions that waited",
            u"copy=副本二,副本一 damage end=暂存一 end=暂存二 repair"_s,
            u"25:00 idle {暂存二@学习 1500..3000 1500s} {暂存一@学习 0..1500 1500s} "_s + copy
                + u" repair:copy:2/backup:不是有效的 JSON"_s + most
                + u"另有 2 段暂存的专注一并写入。"_s);
        row("repaired from a good backup, the damaged copy kept in a backup",
            u"copy=damaged backup=备份二,备份一 damage repair"_s,
            u"25:00 idle {备份二@未分类 -87900..-86400 1500s} {备份一@未分类 -174300..-172800 "
            u"1500s} "
            u"repair:copy:不是有效的 JSON/backup:不是有效的 JSON/backup:2"_s
                + most + u" copy-kept"_s);
        row("nothing good to repair from", u"backup=[{}] damage end=暂存 repair"_s,
            u"25:00 idle waiting:1"_s + locked
                + u" repairing repair:backup:不是有效的 JSON/backup:内容不是专注记录 "
                  u"没有能读取的来源，请查看备份后手动修复。"_s);
        row("a FIFO named like a backup is refused without blocking",
            u"copy=副本二,副本一 backup=fifo damage repair"_s,
            u"25:00 idle "_s + copy + u" repair:copy:2/backup:不是有效的 JSON/backup:不是普通文件"_s
                + most);

        // The stored list arrives once the window asks for it; a session that ends before
        // then waits for it.
        row("loaded in the background", u"end=stored background=load load"_s,
            u"25:00 idle {stored@学习 0..1500 1500s}"_s);
        const QString both = u"{未命名专注@学习 1500..3000 1500s} {stored@学习 0..1500 1500s}"_s;
        row("loaded in the background, saved on top of the stored list",
            u"end=stored background=load start +1500"_s,
            u"00:00 finished 100% "_s + both + u" alert"_s);
        row("saved in the background: the list changes once written",
            u"end=stored background=load+save start +1500"_s,
            u"00:00 finished 100% {stored@学习 0..1500 1500s} alert"_s);
        row("saved in the background", u"end=stored background=load+save start +1500 saved"_s,
            u"00:00 finished 100% "_s + both + u" alert"_s);
        row("quitting waits for the write",
            u"end=stored background=load+save start +1500 reset restart"_s,
            u"25:00 idle "_s + both);
    }

    void shouldShowWhatTheUserDid()
    {
        QFETCH(QString, script);
        QFETCH(QString, state);
        ModelFixture f;
        f.act(script);
        QCOMPARE(f.state(), state);

        // What is stored is what is shown; a file that could not be read is backed up once.
        f.checkStored();
        if (!f.model->recordsReadable())
            QCOMPARE(f.backupFiles().size(), f.backups + 1);
        if (f.defaults.contains(u"timer-projects"_s))
            QCOMPARE(f.defaults.value(u"timer-projects"_s).toStringList(), f.model->projects());
    }

    // Filters apply to the list on screen, never to the export; a cancelled panel is no error.
    void shouldFilterTheListAndExportEverything()
    {
        ModelFixture f;
        f.act(u"end=今天的_xABCx >-172800 end=周一 >-604800 end=上周 >777600"_s);
        f.model->setRecordRange(u"本周"_s);
        QCOMPARE(f.model->visibleRecords().size(), 2);

        f.model->exportCSV();
        QVERIFY(f.model->recordError().isEmpty());
        f.dialogs.savePath = f.folder.filePath(u"out.csv"_s);
        f.model->exportCSV();
        QCOMPARE(f.dialogs.lastSuggestedName, u"专注记录.csv"_s);
        const QByteArray csv = ModelFixture::read(*f.dialogs.savePath);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF日期,项目,事项,开始,结束,时长(秒),提前结束,收尾\n"));
        QCOMPARE(csv.count('\n'), 3);
        QVERIFY(f.model->recordError().isEmpty());
        f.dialogs.savePath = f.folder.path();
        f.model->exportCSV();
        QVERIFY(f.model->recordError().startsWith(u"导出失败："_s));
    }

    // Today's figures count the running session under its project's current name, and change in
    // place on every tick; the week's follow the goal.
    void shouldCountTheRunningSessionInTheFigures()
    {
        ModelFixture f;
        f.act(u"end=A sub=阅读 start +600 rename=学习>读书"_s);
        QCOMPARE(f.model->todayTotal(), 2100.0);
        const FigureListModel &slices = *f.model->todaySlices();
        QCOMPARE(slices.count(), 2);
        QCOMPARE(slices.value(1, "key").toString(), u"读书 / 阅读"_s);
        QSignalSpy today(f.model.get(), &TimerModel::todayTotalChanged);
        QSignalSpy changed(&slices, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&slices, &QAbstractItemModel::modelReset);
        f.act(u"+1 +0"_s);
        // The running slice changes in place: its time moves, its key stays.
        QCOMPARE(today.count(), 2);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(changed.size(), 2);
        for (const QList<QVariant> &change : changed)
            QVERIFY(!change.at(2).value<QList<int>>().contains(slices.roleNames().key("key")));
        f.act(u"pause"_s);
        QCOMPARE(f.model->todayTotal(), 1500.0);
        QCOMPARE(slices.count(), 1);

        f.act(u"reset hours=1 minutes=0 end=B dailyGoalHours=1"_s);
        QCOMPARE(f.model->weekGoalText(), u"1 / 7 天"_s);
        f.act(u"selectWeek=1"_s);
        QCOMPARE(f.model->weekSummary(), u"本周0段、共0小时0分钟；暂无项目投入；最长一段0分钟。"_s);
    }

    // A preview starts the sound again from its beginning; the alert's sound plays until the
    // alert is dismissed.
    void shouldPlayTheSoundWithTheAlertUntilDismissed()
    {
        ModelFixture f;
        f.model->setSoundName(u"Pop"_s);
        f.model->play(false);
        f.act(u"start +1500"_s);
        QCOMPARE(f.sound.log.events,
            (QStringList {u"create:Pop"_s, u"loop:false"_s, u"start"_s, u"stop"_s, u"create:Pop"_s,
                u"loop:false"_s, u"start"_s}));
        QVERIFY(f.model->isSoundPlaying());
        f.act(u"reset"_s); // "知道了"
        QVERIFY(!f.alert.visible);
        QVERIFY(!f.model->isSoundPlaying());
        QCOMPARE(f.sound.log.events.last(), u"stop"_s);
    }

    // A renamed project's records are saved before the catalogue that names it is written.
    void shouldSaveTheRecordsBeforeTheRenamedCatalogue()
    {
        ModelFixture f;
        f.act(u"end=a"_s);
        f.defaults.writtenKeys.clear();
        f.act(u"rename=学习>客户"_s);
        QCOMPARE(f.defaults.writtenKeys,
            (QStringList {u"focus-records"_s, u"timer-projects"_s, u"timer-project-colors"_s,
                u"timer-custom-project-colors"_s, u"timer-subprojects"_s}));
    }
};

QTEST_GUILESS_MAIN(TimerModelTest)
#include "tst_timermodel.moc"
