// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The model's filters, export, figures, alert sound and project renames as the views use them.

#include "modelfixture.h"

class ModelHistoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Filters apply to the list on screen, never to the export; a cancelled panel is no error.
    void shouldFilterTheListAndExportEverything()
    {
        ModelFixture f;
        f.act(u"end=今天的_xABCx >-172800 end=周一 >-604800 end=上周 >777600"_s);
        f.model->setRecordRange(u"本周"_s);
        QCOMPARE(ModelFixture::titles(f.model->visibleRecords()),
            (QStringList {u"周一"_s, u"今天的 xABCx"_s}));
        f.model->setRecordRange(u"今天"_s);
        QCOMPARE(ModelFixture::titles(f.model->visibleRecords()), QStringList {u"今天的 xABCx"_s});
        f.model->setRecordSearch(u"  abc "_s);
        QCOMPARE(f.model->visibleRecords().size(), 1);
        f.model->setRecordProject(u"工作"_s);
        QVERIFY(f.model->visibleRecords().isEmpty());

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
        QCOMPARE(f.model->todayDisplay(), u"0:35"_s);
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

        f.act(u"reset hours=1 minutes=0 end=B"_s);
        QCOMPARE(f.model->dailyGoalReached(), 0);
        QSignalSpy week(f.model.get(), &TimerModel::weekChanged);
        f.model->setDailyGoalHours(1);
        QVERIFY(week.count() >= 1);
        QCOMPARE(f.model->dailyGoalReached(), 1);
        QCOMPARE(f.model->longestSession(), 60);
        f.model->selectWeek(1);
        QCOMPARE(f.model->dailyGoalReached(), 0);
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
        f.model->openStorageFolder();
        QCOMPARE(f.browser.opened, QStringList {f.storage()});
    }

    // A renamed project's records keep their ids and are saved before the catalogue is written.
    void shouldRenameTheProjectOfItsRecords()
    {
        ModelFixture f;
        f.act(u"selectedProject=工作 end=a selectedProject=学习 end=b"_s);
        FocusRecordList expected = f.model->records();
        expected[1].project = u"客户"_s;
        f.defaults.writtenKeys.clear();
        QSignalSpy projects(f.model.get(), &TimerModel::projectsChanged);
        QVERIFY(f.model->renameProject(u"工作"_s, u"  客户  "_s, -1));
        QCOMPARE(f.model->records(), expected);
        QCOMPARE(projects.count(), 1);
        QCOMPARE(f.defaults.writtenKeys,
            (QStringList {u"focus-records"_s, u"timer-projects"_s, u"timer-project-colors"_s,
                u"timer-custom-project-colors"_s, u"timer-subprojects"_s}));
    }
};

QTEST_GUILESS_MAIN(ModelHistoryTest)
#include "tst_modelhistory.moc"
