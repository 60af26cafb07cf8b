// The model's history, export, figures and sound operations as the views use them.

#include "doubles/failingfilewriter.h"
#include "model/timermodel.h"
#include "modelfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

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

private Q_SLOTS:
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
        QCOMPARE(titles(f.model->records()), QStringList{u"C"_s});
        QCOMPARE(f.model->deletedRecord()->id, b.id);
        f.model->undoDelete();
        QCOMPARE(titles(f.model->records()), (QStringList{u"C"_s, u"B"_s}));
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
        QCOMPARE(titles(f.model->records()), QStringList{u"A"_s});
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
        QCOMPARE(titles(f.model->visibleRecords()), QStringList{u"今天的 xABCx"_s});
        f.model->setRecordRange(u"本周"_s);
        QCOMPARE(f.model->visibleRecords().size(), 2);
        f.model->setRecordSearch(u"  abc "_s);
        QCOMPARE(titles(f.model->visibleRecords()), QStringList{u"今天的 xABCx"_s});
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
        const QVariantList slices = f.model->todayDistribution().value(u"slices"_s).toList();
        QCOMPARE(slices.size(), 2);
        QCOMPARE(slices.at(1).toMap().value(u"key"_s).toString(), u"学习 / 阅读"_s);
        QCOMPARE(slices.at(1).toMap().value(u"seconds"_s).toDouble(), 600.0);
        f.model->pause();
        QCOMPARE(f.model->todayTotal(), 1500.0);
        QCOMPARE(f.model->todayDistribution().value(u"slices"_s).toList().size(), 1);
    }

    void shouldNotifyTodaysTotalOnEveryTickOfARunningSession()
    {
        ModelFixture f;
        QSignalSpy today(f.model.get(), &TimerModel::todayTotalChanged);
        f.model->tick();
        QCOMPARE(today.count(), 0);
        f.model->start();
        f.clock.advance(1);
        f.model->tick();
        f.model->tick();
        QCOMPARE(today.count(), 3);
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

    // Alert and sound ---------------------------------------------------------------------

    void shouldShowTheAlertAndPlayTheSoundOnceAtTheEnd()
    {
        ModelFixture f;
        f.model->setSoundName(u"Pop"_s);
        f.model->start();
        f.clock.advance(1500);
        f.model->tick();
        QVERIFY(f.alert.visible);
        QCOMPARE(f.sound.log.events, (QStringList{u"create:Pop"_s, u"loop:false"_s, u"start"_s}));
        QVERIFY(f.model->isSoundPlaying());
        f.model->reset(); // "知道了"
        QVERIFY(!f.alert.visible);
        QVERIFY(!f.model->isSoundPlaying());
        QCOMPARE(f.sound.log.events.last(), u"stop"_s);
    }

    void shouldReportASoundThatCannotPlay_data()
    {
        QTest::addColumn<QString>("soundName");
        QTest::addColumn<bool>("failStart");
        QTest::addColumn<bool>("expectError");
        QTest::newRow("none plays nothing") << u"none"_s << false << false;
        QTest::newRow("unknown name") << u"Basso"_s << false << true;
        QTest::newRow("custom without a file") << u"custom"_s << false << true;
        QTest::newRow("start fails") << u"Glass"_s << true << true;
        QTest::newRow("Glass plays") << u"Glass"_s << false << false;
    }

    void shouldReportASoundThatCannotPlay()
    {
        QFETCH(QString, soundName);
        QFETCH(bool, failStart);
        QFETCH(bool, expectError);
        ModelFixture f;
        f.sound.unknownNames = {u"Basso"_s};
        f.sound.failStart = failStart;
        f.model->setSoundName(soundName);
        f.model->play();
        QCOMPARE(f.model->error(), expectError ? u"铃声无法播放，请重新选择音频。"_s : QString());
    }

    void shouldRestartThePreviewFromTheBeginning()
    {
        ModelFixture f;
        f.model->play();
        f.model->play();
        QCOMPARE(f.sound.log.events, (QStringList{u"create:Glass"_s, u"loop:false"_s, u"start"_s,
                                                  u"stop"_s, u"create:Glass"_s, u"loop:false"_s,
                                                  u"start"_s}));
    }

    // Importing a sound -------------------------------------------------------------------

    void shouldImportAnAudioFileAsTheCustomSound()
    {
        ModelFixture f;
        const QString source = f.folder.filePath(u"bell.ogg"_s);
        {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("OggS audio");
        }
        f.dialogs.audioPath = source;
        f.model->chooseAudio();
        const QString first = f.model->customPath();
        QCOMPARE(f.model->soundName(), u"custom"_s);
        QVERIFY(QFileInfo(first).fileName().endsWith(u".ogg"_s));
        QCOMPARE(QFileInfo(first).fileName().size(), 36 + 4);
        QCOMPARE(QFileInfo(first).fileName(), QFileInfo(first).fileName().toUpper().replace(u".OGG"_s, u".ogg"_s));
        QCOMPARE(QFileInfo(first).absolutePath(), f.storage());

        f.model->chooseAudio(); // the same file again: only the newer copy stays
        const QString second = f.model->customPath();
        QVERIFY(second != first);
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(QFileInfo::exists(second));
        QVERIFY(QFileInfo::exists(source));
        f.model->play();
        QVERIFY(f.sound.log.events.contains(u"data:"_s + QFileInfo(second).fileName()));
    }

    void shouldRefuseAFileThatIsNotAudio()
    {
        ModelFixture f;
        const QString good = f.folder.filePath(u"good.wav"_s);
        const QString bad = f.folder.filePath(u"notes.mp3"_s);
        for (const auto &[path, content] : {std::pair{good, QByteArray("RIFF")},
                                            std::pair{bad, QByteArray("not audio")}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        f.dialogs.audioPath = good;
        f.model->chooseAudio();
        const QString kept = f.model->customPath();
        f.dialogs.audioPath = bad;
        f.model->chooseAudio();
        QCOMPARE(f.model->error(), u"无法读取该音频，请选择其他音频文件。"_s);
        QCOMPARE(f.model->customPath(), kept);
        QCOMPARE(QDir(f.storage()).entryList(QDir::Files), QStringList{QFileInfo(kept).fileName()});
    }

    void shouldNameACopyWithoutExtensionWithATrailingDot()
    {
        ModelFixture f;
        const QString source = f.folder.filePath(u"ring"_s);
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        file.close();
        f.dialogs.audioPath = source;
        f.model->chooseAudio();
        QVERIFY(f.model->customPath().endsWith(u'.'));
    }

    void shouldReportAFailedCopy()
    {
        ModelFixture f;
        f.dialogs.audioPath = f.folder.filePath(u"missing.wav"_s);
        f.model->chooseAudio();
        QVERIFY(f.model->error().startsWith(u"导入失败："_s));
        QVERIFY(f.model->customPath().isEmpty());
        QCOMPARE(f.model->soundName(), u"Glass"_s);
    }

    void shouldOpenTheStorageFolder()
    {
        ModelFixture f;
        f.model->openStorageFolder();
        QCOMPARE(f.browser.opened, QStringList{f.storage()});
    }
};

QTEST_GUILESS_MAIN(ModelHistoryTest)
#include "tst_modelhistory.moc"
