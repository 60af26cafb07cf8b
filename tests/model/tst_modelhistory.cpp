// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The model's history, export, figures and reminder sound as the views use them. The rules of
// the catalogue, the record file and the sound itself are tested with their own classes.

#include "modelfixture.h"

#include <QRegularExpression>

#include <sys/stat.h>

class ModelHistoryTest : public QObject {
    Q_OBJECT

private:
    // Records that ended a day apart before the fixture's clock, the first title the newest.
    static QByteArray encoded(const QStringList &titleList)
    {
        FocusRecordList list;
        for (qsizetype i = 0; i < titleList.size(); ++i) {
            FocusRecord record;
            record.title = titleList.at(i);
            record.endedAt = ModelFixture::start - 86400.0 * double(i + 1);
            record.startedAt = record.endedAt - 1500;
            record.duration = 1500;
            list.append(record);
        }
        return RecordCodec::encode(list);
    }

    // "copy:2" for a defaults copy of two records, "backup:<reason>" for a backup that is no use.
    static QStringList described(const RepairSourceList &list)
    {
        QStringList result;
        for (const RepairSource &source : list.sources()) {
            result.append((source.isDefaultsCopy() ? u"copy:"_s : u"backup:"_s)
                + (source.usable() ? QString::number(source.records->size()) : source.reason));
        }
        return result;
    }

    static QMap<QString, QByteArray> backupFiles(const QString &folder)
    {
        QMap<QString, QByteArray> files;
        const QDir dir(folder);
        for (const QString &name : dir.entryList({u"focus-records-corrupt-*"_s}, QDir::Files))
            files.insert(name, ModelFixture::read(dir.filePath(name)));
        return files;
    }

private Q_SLOTS:
    void shouldRepairFromTheChosenSource_data()
    {
        QTest::addColumn<QVariant>("copy"); // the defaults copy; invalid for none
        QTest::addColumn<QByteArrayList>("backups"); // older backups, newest first; "<fifo>"
        QTest::addColumn<QStringList>("waiting"); // sessions that end while writing is locked
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("choice"); // -1: the row chosen at first
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QStringList>("restored"); // empty: no repair is possible
        QTest::addColumn<bool>("copyKept"); // the replaced copy ends up in a backup

        const QString damaged = u"不是有效的 JSON"_s;
        const QVariant twoInCopy = encoded({u"副本二"_s, u"副本一"_s});
        QTest::newRow("good copy") << twoInCopy << QByteArrayList() << QStringList()
                                   << QStringList {u"copy:2"_s, u"backup:"_s + damaged} << -1
                                   << u"所选来源的记录最多，共 2 条。"_s
                                   << QStringList {u"副本二"_s, u"副本一"_s} << false;
        QTest::newRow("good backup, damaged copy")
            << QVariant("[{\"startedAt\""_ba)
            << QByteArrayList {encoded({u"备份二"_s, u"备份一"_s})} << QStringList()
            << QStringList {u"copy:"_s + damaged, u"backup:"_s + damaged, u"backup:2"_s} << -1
            << u"所选来源的记录最多，共 2 条。"_s << QStringList {u"备份二"_s, u"备份一"_s} << true;
        QTest::newRow("nothing good")
            << QVariant() << QByteArrayList {"[{}]"_ba} << QStringList {u"暂存"_s}
            << QStringList {u"backup:"_s + damaged, u"backup:内容不是专注记录"_s} << -1
            << u"没有能读取的来源，请查看备份后手动修复。"_s << QStringList() << false;
        QTest::newRow("a source with more records than the chosen one")
            << twoInCopy
            << QByteArrayList {encoded({u"备份三"_s, u"备份二"_s, u"备份一"_s}), encoded({u"旧"_s})}
            << QStringList()
            << QStringList {u"copy:2"_s, u"backup:"_s + damaged, u"backup:3"_s, u"backup:1"_s} << 0
            << u"所选来源有 2 条记录，最多的来源有 3 条。"_s
            << QStringList {u"副本二"_s, u"副本一"_s} << false;
        QTest::newRow("fewer records chosen: the copy is kept in a backup")
            << twoInCopy << QByteArrayList {encoded({u"旧"_s})} << QStringList()
            << QStringList {u"copy:2"_s, u"backup:"_s + damaged, u"backup:1"_s} << 2
            << u"所选来源有 1 条记录，最多的来源有 2 条。"_s << QStringList {u"旧"_s} << true;
        QTest::newRow("waiting sessions added")
            << twoInCopy << QByteArrayList() << QStringList {u"暂存一"_s, u"暂存二"_s}
            << QStringList {u"copy:2"_s, u"backup:"_s + damaged} << -1
            << u"所选来源的记录最多，共 2 条。另有 2 段暂存的专注一并写入。"_s
            << QStringList {u"暂存二"_s, u"暂存一"_s, u"副本二"_s, u"副本一"_s} << false;
        QTest::newRow("a FIFO named like a backup is refused without blocking")
            << twoInCopy << QByteArrayList {"<fifo>"_ba} << QStringList()
            << QStringList {u"copy:2"_s, u"backup:"_s + damaged, u"backup:不是普通文件"_s} << -1
            << u"所选来源的记录最多，共 2 条。"_s << QStringList {u"副本二"_s, u"副本一"_s}
            << false;
    }

    void shouldRepairFromTheChosenSource()
    {
        QFETCH(QVariant, copy);
        QFETCH(QByteArrayList, backups);
        QFETCH(QStringList, waiting);
        QFETCH(QStringList, listed);
        QFETCH(int, choice);
        QFETCH(QString, summary);
        QFETCH(QStringList, restored);
        QFETCH(bool, copyKept);

        ModelFixture f;
        const QByteArray damaged = ModelFixture::damaged;
        ModelFixture::write(f.recordFile(), damaged);
        if (copy.isValid())
            f.defaults.seed(u"focus-records"_s, copy);
        for (qsizetype i = 0; i < backups.size(); ++i) {
            const QString path = f.storage() + u"/focus-records-corrupt-"_s
                + QString::number(1772589600 - 1000 * (i + 1)) + u".json"_s;
            if (backups.at(i) == "<fifo>")
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            else
                ModelFixture::write(path, backups.at(i));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
        f.restart();
        for (const QString &title : waiting)
            f.runToEnd(title);
        QCOMPARE(f.model->waitingSessions(), int(waiting.size()));
        QCOMPARE(f.model->waitingText().isEmpty(), waiting.isEmpty());

        // Quitting asks first while sessions wait.
        QSignalSpy quitApproved(f.model.get(), &TimerModel::quitApproved);
        f.model->requestQuit();
        QCOMPARE(quitApproved.count(), waiting.isEmpty() ? 1 : 0);
        QCOMPARE(f.model->pendingQuit(), !waiting.isEmpty());

        f.model->prepareRepair();
        QVERIFY(f.model->pendingRepair());
        RepairSourceList &sources = *f.model->repairSources();
        QCOMPARE(described(sources), listed);
        if (choice >= 0)
            sources.setSelectedRow(choice);
        QCOMPARE(sources.summary(), summary);
        const QMap<QString, QByteArray> backupsBefore = backupFiles(f.storage());

        QCOMPARE(f.model->repairRecords(), !restored.isEmpty());
        f.checkStored();
        QCOMPARE(f.model->waitingSessions(), restored.isEmpty() ? int(waiting.size()) : 0);
        QCOMPARE(f.model->pendingRepair(), restored.isEmpty());
        if (restored.isEmpty())
            return;
        QVERIFY(f.model->recordError().isEmpty());
        QCOMPARE(ModelFixture::titles(f.model->records()), restored);

        // Backups are never removed or changed; what the repair replaced is held by one.
        const QMap<QString, QByteArray> backupsAfter = backupFiles(f.storage());
        for (auto it = backupsBefore.cbegin(); it != backupsBefore.cend(); ++it)
            QCOMPARE(backupsAfter.value(it.key()), it.value());
        QVERIFY(backupsAfter.values().contains(damaged));
        QCOMPARE(backupsAfter.values().contains(copy.toByteArray()), copyKept);

        // Writing is unlocked, and the next start reads the restored list.
        f.act(u"end=修复之后 restart"_s);
        QCOMPARE(ModelFixture::titles(f.model->records()), QStringList {u"修复之后"_s} + restored);
    }

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
