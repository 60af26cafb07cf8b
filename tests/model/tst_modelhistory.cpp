// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The model's history, export, figures and completion alert as the views use them.

#include "doubles/failingfilewriter.h"
#include "model/timermodel.h"
#include "modelfixture.h"
#include "records/json/recordcodec.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class ModelHistoryTest : public QObject {
    Q_OBJECT

private:
    static QStringList titles(const FocusRecordList &records)
    {
        QStringList result;
        for (const FocusRecord &r : records)
            result.append(r.title);
        return result;
    }

    // Records that ended a day apart before the fixture's clock, the first title the newest.
    static QByteArray encoded(const QStringList &titleList)
    {
        FocusRecordList list;
        for (qsizetype i = 0; i < titleList.size(); ++i) {
            FocusRecord record;
            record.title = titleList.at(i);
            record.endedAt = 794282400.0 - 86400.0 * double(i + 1);
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
    // Repair of records that failed to load ------------------------------------------------

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
        const QByteArray damaged = "这不是 JSON";
        QDir().mkpath(f.storage());
        QFile file(f.recordFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();
        if (copy.isValid())
            f.defaults.seed(u"focus-records"_s, copy);
        for (qsizetype i = 0; i < backups.size(); ++i) {
            const QString path = f.storage() + u"/focus-records-corrupt-"_s
                + QString::number(1772589600 - 1000 * (i + 1)) + u".json"_s;
            if (backups.at(i) == "<fifo>") {
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
                continue;
            }
            QFile backup(path);
            QVERIFY(backup.open(QIODevice::WriteOnly));
            backup.write(backups.at(i));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"unreadable"_s));
        f.restart();
        QVERIFY(!f.model->recordsReadable());
        for (const QString &title : waiting)
            f.runToEnd(title);
        QCOMPARE(f.model->waitingSessions(), int(waiting.size()));
        QCOMPARE(f.model->waitingText().isEmpty(), waiting.isEmpty());
        QVERIFY(f.model->records().isEmpty());

        // Quitting asks first while sessions wait.
        QSignalSpy quitApproved(f.model.get(), &TimerModel::quitApproved);
        f.model->requestQuit();
        QCOMPARE(quitApproved.count(), waiting.isEmpty() ? 1 : 0);
        QCOMPARE(f.model->pendingQuit(), !waiting.isEmpty());
        f.model->setPendingQuit(false);

        f.model->prepareRepair();
        QVERIFY(f.model->pendingRepair());
        RepairSourceList &sources = *f.model->repairSources();
        QCOMPARE(described(sources), listed);
        if (choice >= 0)
            sources.setSelectedRow(choice);
        QCOMPARE(sources.summary(), summary);
        const QMap<QString, QByteArray> backupsBefore = backupFiles(f.storage());
        const QByteArray copyBefore = copy.isValid() ? copy.toByteArray() : QByteArray();

        QCOMPARE(f.model->repairRecords(), !restored.isEmpty());
        if (restored.isEmpty()) {
            QVERIFY(!f.model->recordsReadable());
            QCOMPARE(ModelFixture::read(f.recordFile()), damaged);
            QCOMPARE(f.model->waitingSessions(), int(waiting.size()));
            return;
        }
        QVERIFY(f.model->recordsReadable());
        QVERIFY(f.model->recordError().isEmpty());
        QVERIFY(!f.model->pendingRepair());
        QCOMPARE(f.model->waitingSessions(), 0);
        QCOMPARE(titles(f.model->records()), restored);
        const QByteArray written = ModelFixture::read(f.recordFile());
        QCOMPARE(written, RecordCodec::encode(f.model->records()));
        QCOMPARE(f.defaults.value(u"focus-records"_s).toByteArray(), written);

        // Backups are never removed or changed; what the repair replaced is held by one.
        const QMap<QString, QByteArray> backupsAfter = backupFiles(f.storage());
        for (auto it = backupsBefore.cbegin(); it != backupsBefore.cend(); ++it)
            QCOMPARE(backupsAfter.value(it.key()), it.value());
        QVERIFY(backupsAfter.values().contains(damaged));
        QCOMPARE(backupsAfter.values().contains(copyBefore), copyKept);

        // Writing is unlocked, and the next start reads the restored list.
        quitApproved.clear();
        f.model->requestQuit();
        QCOMPARE(quitApproved.count(), 1);
        f.runToEnd(u"修复之后"_s);
        QCOMPARE(f.model->records().size(), restored.size() + 1);
        f.restart();
        QVERIFY(f.model->recordsReadable());
        QCOMPARE(titles(f.model->records()), QStringList {u"修复之后"_s} + restored);
    }

    // Delete and undo ---------------------------------------------------------------------

    void shouldRestoreOnlyTheLastDeletedRecord()
    {
        ModelFixture f;
        f.runToEnd(u"A"_s);
        f.runToEnd(u"B"_s);
        f.runToEnd(u"C"_s);
        const FocusRecord a = f.model->records().at(2);
        const FocusRecord b = f.model->records().at(1);
        f.model->deleteRecord(a);
        f.model->deleteRecord(b.idText());
        QCOMPARE(titles(f.model->records()), QStringList {u"C"_s});
        QCOMPARE(f.model->deletedRecord()->id, b.id);
        f.model->undoDelete();
        QCOMPARE(titles(f.model->records()), (QStringList {u"C"_s, u"B"_s}));
        QVERIFY(!f.model->deletedRecord());
        QVERIFY(!f.model->deletedRecordValue().isValid());
    }

    void shouldIgnoreDeletingARecordThatIsGone()
    {
        ModelFixture f;
        f.runToEnd(u"A"_s);
        const FocusRecord a = f.model->records().first();
        f.model->deleteRecord(a);
        QSignalSpy changed(f.model.get(), &TimerModel::deletedRecordChanged);
        f.model->deleteRecord(a);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(f.model->deletedRecord()->id, a.id);
    }

    void shouldKeepTheUndoWhenItCannotBeSaved()
    {
        SwitchableFileWriter writer;
        ModelFixture f(&writer);
        f.runToEnd(u"A"_s);
        f.model->deleteRecord(f.model->records().first());
        writer.failing = true;
        f.model->undoDelete();
        QVERIFY(f.model->records().isEmpty());
        QVERIFY(f.model->deletedRecord());
        QVERIFY(f.model->recordError().startsWith(u"专注记录保存失败，记录未删除："_s));
        writer.failing = false;
        f.model->undoDelete();
        QCOMPARE(titles(f.model->records()), QStringList {u"A"_s});
    }

    void shouldNotDeleteWhenTheSaveFails()
    {
        SwitchableFileWriter writer;
        ModelFixture f(&writer);
        f.runToEnd(u"A"_s);
        const QByteArray stored = ModelFixture::read(f.recordFile());
        writer.failing = true;
        f.model->deleteRecord(f.model->records().first());
        QCOMPARE(f.model->records().size(), 1);
        QVERIFY(!f.model->deletedRecord());
        QCOMPARE(ModelFixture::read(f.recordFile()), stored);
    }

    // Filters -----------------------------------------------------------------------------

    void shouldFilterByTodayThisWeekProjectAndSearch()
    {
        ModelFixture f;
        f.runToEnd(u"今天的 xABCx"_s);
        f.clock.advance(-2 * 86400); // Monday of the same week
        f.runToEnd(u"周一"_s);
        f.clock.advance(-7 * 86400); // the week before
        f.runToEnd(u"上周"_s);
        f.clock.advance(9 * 86400);

        QCOMPARE(f.model->visibleRecords().size(), 3);
        f.model->setRecordRange(u"今天"_s);
        QCOMPARE(titles(f.model->visibleRecords()), QStringList {u"今天的 xABCx"_s});
        f.model->setRecordRange(u"本周"_s);
        QCOMPARE(f.model->visibleRecords().size(), 2);
        f.model->setRecordSearch(u"  abc "_s);
        QCOMPARE(titles(f.model->visibleRecords()), QStringList {u"今天的 xABCx"_s});
        f.model->setRecordProject(u"工作"_s);
        QVERIFY(f.model->visibleRecords().isEmpty());
    }

    // Export ------------------------------------------------------------------------------

    void shouldExportEveryRecordToTheChosenFile()
    {
        ModelFixture f;
        f.runToEnd(u"=SUM(A1)"_s);
        f.model->setRecordProject(u"工作"_s); // filters do not apply to the export
        const QString path = f.folder.filePath(u"out.csv"_s);
        f.dialogs.savePath = path;
        f.model->exportCSV();
        QCOMPARE(f.dialogs.lastSuggestedName, u"专注记录.csv"_s);
        const QByteArray csv = ModelFixture::read(path);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF日期,项目,事项,开始,结束,时长(秒),提前结束,收尾\n"));
        QVERIFY(csv.contains("\"'=SUM(A1)\""));
        QVERIFY(csv.endsWith("\"1500\",\"否\",\"收尾未补\""));
        QVERIFY(f.model->recordError().isEmpty());
    }

    void shouldDoNothingWhenTheExportIsCancelled()
    {
        ModelFixture f;
        f.model->exportCSV();
        QCOMPARE(f.dialogs.saveDialogs, 1);
        QVERIFY(f.model->recordError().isEmpty());
    }

    void shouldReportAFailedExport()
    {
        ModelFixture f;
        const QString path = f.folder.filePath(u"folder.csv"_s);
        QDir().mkpath(path);
        f.dialogs.savePath = path;
        f.model->exportCSV();
        QVERIFY(f.model->recordError().startsWith(u"导出失败："_s));
        QVERIFY(f.model->recordError().size() > 5);
    }

    // Figures -----------------------------------------------------------------------------

    void shouldCountTheRunningSessionInTodaysFigures()
    {
        ModelFixture f;
        f.runToEnd();
        f.model->addSubproject(u"阅读"_s, u"学习"_s);
        f.model->start();
        f.clock.advance(600);
        f.model->tick();
        QCOMPARE(f.model->todayTotal(), 2100.0);
        QCOMPARE(f.model->todayDisplay(), u"0:35"_s);
        const FigureListModel &slices = *f.model->todaySlices();
        QCOMPARE(slices.count(), 2);
        QCOMPARE(slices.value(1, "key").toString(), u"学习 / 阅读"_s);
        QCOMPARE(slices.value(1, "seconds").toDouble(), 600.0);
        f.model->pause();
        QCOMPARE(f.model->todayTotal(), 1500.0);
        QCOMPARE(slices.count(), 1);
    }

    void shouldNotifyTodaysTotalOnEveryTickOfARunningSession()
    {
        ModelFixture f;
        QSignalSpy today(f.model.get(), &TimerModel::todayTotalChanged);
        f.model->tick();
        QCOMPARE(today.count(), 0);
        f.model->start();
        const FigureListModel &slices = *f.model->todaySlices();
        QSignalSpy removed(&slices, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&slices, &QAbstractItemModel::modelReset);
        QSignalSpy changed(&slices, &QAbstractItemModel::dataChanged);
        f.clock.advance(1);
        f.model->tick();
        f.model->tick();
        QCOMPARE(today.count(), 3);
        // The running slice changes in place: its time moves, its key stays.
        QCOMPARE(removed.count() + reset.count(), 0);
        QCOMPARE(changed.count(), 1);
        const QList<int> roles = changed.first().at(2).value<QList<int>>();
        QVERIFY(roles.contains(slices.roleNames().key("seconds")));
        QVERIFY(!roles.contains(slices.roleNames().key("key")));
    }

    void shouldFollowTheGoalInTheWeekFigures()
    {
        ModelFixture f;
        f.model->setHours(1);
        f.model->setMinutes(0);
        f.runToEnd();
        QCOMPARE(f.model->dailyGoalReached(), 0);
        QSignalSpy week(f.model.get(), &TimerModel::weekChanged);
        f.model->setDailyGoalHours(1);
        QVERIFY(week.count() >= 1);
        QCOMPARE(f.model->dailyGoalReached(), 1);
        QCOMPARE(f.model->longestSession(), 60);
        f.model->selectWeek(1);
        QCOMPARE(f.model->selectedWeekOffset(), 1);
        QCOMPARE(f.model->dailyGoalReached(), 0);
        QCOMPARE(f.model->weekSummary(), u"本周0段、共0小时0分钟；暂无项目投入；最长一段0分钟。"_s);
    }

    // Alert --------------------------------------------------------------------------

    void shouldShowTheAlertAndPlayTheSoundOnceAtTheEnd()
    {
        ModelFixture f;
        f.model->setSoundName(u"Pop"_s);
        f.model->start();
        f.clock.advance(1500);
        f.model->tick();
        QVERIFY(f.alert.visible);
        QCOMPARE(f.sound.log.events, (QStringList {u"create:Pop"_s, u"loop:false"_s, u"start"_s}));
        QVERIFY(f.model->isSoundPlaying());
        f.model->reset(); // "知道了"
        QVERIFY(!f.alert.visible);
        QVERIFY(!f.model->isSoundPlaying());
        QCOMPARE(f.sound.log.events.last(), u"stop"_s);
    }

    void shouldOpenTheStorageFolder()
    {
        ModelFixture f;
        f.model->openStorageFolder();
        QCOMPARE(f.browser.opened, QStringList {f.storage()});
    }
};

QTEST_GUILESS_MAIN(ModelHistoryTest)
#include "tst_modelhistory.moc"
