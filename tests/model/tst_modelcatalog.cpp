// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The model's catalogue operations: what they do to the stored records and what they tell the
// views. The catalogue's own rules are tested with the catalogue class.

#include "doubles/failingfilewriter.h"
#include "model/timermodel.h"
#include "modelfixture.h"
#include "records/json/recordcodec.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using ModelOperation = std::function<void(TimerModel &)>;
Q_DECLARE_METATYPE(ModelOperation)

class ModelCatalogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldRenameTheProjectOfItsRecordsAndKeepTheirIds()
    {
        ModelFixture f;
        f.model->setSelectedProject(u"工作"_s);
        f.runToEnd(u"a"_s);
        f.model->setSelectedProject(u"学习"_s);
        f.runToEnd(u"b"_s);
        const FocusRecordList before = f.model->records();
        f.defaults.writtenKeys.clear();

        QVERIFY(f.model->renameProject(u"工作"_s, u"  客户  "_s, -1));

        const FocusRecordList after = f.model->records();
        QCOMPARE(after.size(), 2);
        QCOMPARE(after.at(0).id, before.at(0).id);
        QCOMPARE(after.at(0).project, u"学习"_s);
        QCOMPARE(after.at(1).id, before.at(1).id);
        QCOMPARE(after.at(1).project, u"客户"_s);
        QCOMPARE(f.model->projects(), (QStringList {u"学习"_s, u"客户"_s, u"个人"_s}));
        // The records are saved before the catalogue is written.
        QCOMPARE(f.defaults.writtenKeys,
            (QStringList {u"focus-records"_s, u"timer-projects"_s, u"timer-project-colors"_s,
                u"timer-custom-project-colors"_s, u"timer-subprojects"_s}));
        const auto stored = RecordCodec::decode(ModelFixture::read(f.recordFile()));
        QVERIFY(stored.ok());
        QCOMPARE(stored.records, after);
    }

    void shouldKeepTheCatalogueChangeWhenRecordsCannotBeSaved()
    {
        FailingFileWriter writer;
        ModelFixture f(&writer);
        QSignalSpy projects(f.model.get(), &TimerModel::projectsChanged);
        QVERIFY(f.model->renameProject(u"工作"_s, u"客户"_s, -1));
        QCOMPARE(projects.count(), 1);
        QVERIFY(f.model->recordError().startsWith(u"专注记录保存失败，记录未删除："_s));
        QCOMPARE(f.defaults.value(u"timer-projects"_s).toStringList(),
            (QStringList {u"学习"_s, u"客户"_s, u"个人"_s}));
    }

    void shouldMoveRecordsOfADeletedProjectToUnassigned()
    {
        ModelFixture f;
        f.model->addSubproject(u"周报"_s, u"工作"_s);
        f.runToEnd();
        QCOMPARE(f.model->records().first().project, u"工作"_s);
        f.model->deleteProject(u"工作"_s);
        QCOMPARE(f.model->records().first().project, u"未分类"_s);
        QCOMPARE(f.model->records().first().subproject, std::optional<QString>(u"周报"_s));
        QCOMPARE(f.model->selectedProject(), u"学习"_s);
        QCOMPARE(f.model->projectColor(u"未分类"_s), f.model->projectColor(u"学习"_s));
    }

    void shouldNotDeleteAProjectDuringASession()
    {
        ModelFixture f;
        f.model->start();
        f.clock.advance(10);
        f.model->pause();
        f.defaults.writtenKeys.clear();
        f.model->deleteProject(u"工作"_s);
        QCOMPARE(f.model->projects().size(), 3);
        QVERIFY(f.defaults.writtenKeys.isEmpty());
    }

    void shouldRenameASubprojectOnlyInItsProject()
    {
        ModelFixture f;
        f.model->addSubproject(u"阅读"_s, u"学习"_s);
        f.runToEnd();
        f.model->addSubproject(u"阅读"_s, u"个人"_s);
        f.runToEnd();
        f.model->renameSubproject(u"阅读"_s, u"精读"_s, u"学习"_s);
        QCOMPARE(f.model->records().at(0).subproject, std::optional<QString>(u"阅读"_s));
        QCOMPARE(f.model->records().at(1).subproject, std::optional<QString>(u"精读"_s));
        QCOMPARE(f.model->subprojectsFor(u"学习"_s), QStringList {u"精读"_s});
    }

    // A session started on 学习 / 阅读 while the catalogue changes under it.
    void shouldAttributeASessionToItsOwnProjectUnderItsCurrentName_data()
    {
        using Op = ModelOperation;
        QTest::addColumn<Op>("operation");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("selection");

        QTest::newRow("a project added moves the selection alone")
            << Op([](TimerModel &m) { m.addProject(u"写作"_s); }) << u"学习 / 阅读"_s << u"写作"_s;
        QTest::newRow("its project renamed")
            << Op([](TimerModel &m) { m.renameProject(u"学习"_s, u"读书"_s, -1); })
            << u"读书 / 阅读"_s << u"读书 / 阅读"_s;
        QTest::newRow("its subproject renamed")
            << Op([](TimerModel &m) { m.renameSubproject(u"阅读"_s, u"精读"_s, u"学习"_s); })
            << u"学习 / 精读"_s << u"学习 / 精读"_s;
        QTest::newRow("a namesake subproject renamed in another project") << Op([](TimerModel &m) {
            m.addSubproject(u"阅读"_s, u"个人"_s);
            m.renameSubproject(u"阅读"_s, u"泛读"_s, u"个人"_s);
        }) << u"学习 / 阅读"_s << u"个人 / 泛读"_s;
        QTest::newRow("another project renamed")
            << Op([](TimerModel &m) { m.renameProject(u"工作"_s, u"客户"_s, -1); })
            << u"学习 / 阅读"_s << u"学习 / 阅读"_s;
    }

    void shouldAttributeASessionToItsOwnProjectUnderItsCurrentName()
    {
        using Op = ModelOperation;
        QFETCH(Op, operation);
        QFETCH(QString, key);
        QFETCH(QString, selection);

        ModelFixture f;
        f.model->addSubproject(u"阅读"_s, u"学习"_s);
        f.model->start();
        f.clock.advance(600);
        f.model->tick();
        operation(*f.model);

        // Today's live slice shows where the running time goes.
        const FigureListModel &slices = *f.model->todaySlices();
        QCOMPARE(slices.count(), 1);
        QCOMPARE(slices.value(0, "key").toString(), key);
        QCOMPARE(FocusStats::distributionKey(
                     f.model->selectedProject(), f.model->catalog().selectedSubproject()),
            selection);

        f.clock.advance(900);
        f.model->tick();
        QCOMPARE(f.model->records().size(), 1);
        const FocusRecord &recorded = f.model->records().first();
        QCOMPARE(FocusStats::distributionKey(recorded.project, recorded.subproject), key);
    }

    void shouldTellTheViewsWhatChanged()
    {
        ModelFixture f;
        QSignalSpy projects(f.model.get(), &TimerModel::projectsChanged);
        QSignalSpy selected(f.model.get(), &TimerModel::selectedProjectChanged);
        QSignalSpy subprojects(f.model.get(), &TimerModel::subprojectsChanged);
        QVERIFY(f.model->addProject(u"写作"_s));
        QCOMPARE(projects.count(), 1);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(f.model->selectedProject(), u"写作"_s);
        QVERIFY(!f.model->addProject(u"写作"_s));
        QCOMPARE(projects.count(), 1);
        f.model->addSubproject(u"小说"_s, u"写作"_s);
        QCOMPARE(subprojects.count(), 1);
        f.model->moveProject(u"写作"_s, -1);
        QCOMPARE(f.model->projects().at(2), u"写作"_s);
        QCOMPARE(projects.count(), 2);
    }
};

QTEST_GUILESS_MAIN(ModelCatalogTest)
#include "tst_modelcatalog.moc"
