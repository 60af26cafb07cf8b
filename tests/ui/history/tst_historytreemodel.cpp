// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "model/timermodel.h"
#include "records/instant.h"
#include "ui/history/historytreemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Wall-clock time in the user's zone (the runner pins Asia/Shanghai).
double at(int year, int month, int day, int hour = 12, int minute = 0)
{
    return Instant::fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute)));
}

FocusRecord record(const QString &title, double endedAt, double minutes = 25)
{
    FocusRecord r;
    r.title = title;
    r.endedAt = endedAt;
    r.duration = minutes * 60;
    r.startedAt = endedAt - r.duration;
    r.project = u"学习"_s;
    return r;
}

// Each row as "Y:2024年", "M:3月", "D:5日 · 3次专注" or "R:<title>".
QStringList rows(const HistoryTreeModel &tree)
{
    static const QStringList prefixes = {u"Y:"_s, u"M:"_s, u"D:"_s, u"R:"_s};
    QStringList texts;
    for (int i = 0; i < tree.rowCount(); ++i) {
        const QModelIndex index = tree.index(i);
        const int kind = index.data(HistoryTreeModel::KindRole).toInt();
        const int role = kind == HistoryTreeModel::RecordRow ? HistoryTreeModel::TitleRole
                                                             : HistoryTreeModel::LabelRole;
        texts.append(prefixes.at(kind) + index.data(role).toString());
    }
    return texts;
}

int rowOf(const HistoryTreeModel &tree, const QString &text)
{
    return int(rows(tree).indexOf(text));
}

void open(HistoryTreeModel &tree, const QStringList &path)
{
    for (const QString &text : path) {
        const int row = rowOf(tree, text);
        QVERIFY2(row >= 0, qPrintable(text));
        tree.setExpanded(row, true);
    }
}

// The real model on doubles with its records saved into a temporary folder.
class ModelFixture {
public:
    ModelFixture()
    {
        QStandardPaths::setTestModeEnabled(true);
        services.storageFolder = folder.filePath(u"VelmorTimer"_s);
        services.todayClock = clock.clock();
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
    }

    QTemporaryDir folder;
    FakeClock clock {at(2024, 3, 13)};
    MemoryDefaultsStore defaults;
    TimerServices services;
    std::unique_ptr<TimerModel> model;
};

} // namespace

class HistoryTreeModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldRunInShanghaiTime()
    {
        QCOMPARE(QDateTime::currentDateTime().timeZone().id(), QByteArray("Asia/Shanghai"));
    }

    void shouldArchiveARecordUnderTheLocalDayItEnded()
    {
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        // 23:50 on the 4th to 00:30 on the 5th local time; in UTC both lie on the 4th.
        FocusRecord overnight = record(u"跨夜"_s, at(2024, 3, 5, 0, 30), 40);
        FocusRecord lateEvening = record(u"晚上"_s, at(2024, 3, 4, 23, 59), 10);
        tree.setRecords({overnight, lateEvening});
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s, u"D:4日 · 1次专注"_s});

        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s, u"R:跨夜"_s,
                u"D:4日 · 1次专注"_s, u"R:晚上"_s}));
        QCOMPARE(tree.index(3).data(HistoryTreeModel::TimeTextRole).toString(), u"23:50 – 00:30"_s);
    }

    void shouldArchiveAcrossYearAndMonthEndsByLocalTime_data()
    {
        QTest::addColumn<double>("endedAt");
        QTest::addColumn<QStringList>("path");

        QTest::newRow("new year's first minute") << at(
            2024, 1, 1, 0, 0) << QStringList({u"Y:2024年"_s, u"M:1月"_s, u"D:1日 · 1次专注"_s});
        QTest::newRow("old year's last minute") << at(2023, 12, 31, 23,
            59) << QStringList({u"Y:2023年"_s, u"M:12月"_s, u"D:31日 · 1次专注"_s});
        QTest::newRow("leap day") << at(
            2024, 2, 29, 7, 45) << QStringList({u"Y:2024年"_s, u"M:2月"_s, u"D:29日 · 1次专注"_s});
    }

    void shouldArchiveAcrossYearAndMonthEndsByLocalTime()
    {
        QFETCH(double, endedAt);
        QFETCH(QStringList, path);
        HistoryTreeModel tree;
        tree.setRecords({record(u"r"_s, endedAt)});
        open(tree, path);
        QCOMPARE(rows(tree), path + QStringList {u"R:r"_s});
    }

    void shouldShowOnlyCollapsedYearsAtFirst()
    {
        HistoryTreeModel tree;
        tree.setRecords({record(u"a"_s, at(2023, 6, 1)), record(u"b"_s, at(2024, 3, 5)),
            record(u"c"_s, at(2024, 1, 9))});
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"Y:2023年"_s}));
        QCOMPARE(tree.recordCount(), 3);
        for (int i = 0; i < tree.rowCount(); ++i) {
            QVERIFY(!tree.index(i).data(HistoryTreeModel::ExpandedRole).toBool());
            QVERIFY(tree.index(i).data(HistoryTreeModel::CardEndRole).toBool());
        }
    }

    void shouldOrderEveryLevelNewestFirst()
    {
        HistoryTreeModel tree;
        // Out of order on purpose: the tree sorts by end, whatever the list's order.
        tree.setRecords({record(u"3月5日 09:00"_s, at(2024, 3, 5, 9)),
            record(u"2023"_s, at(2023, 11, 2)), record(u"3月5日 21:00"_s, at(2024, 3, 5, 21)),
            record(u"1月"_s, at(2024, 1, 20)), record(u"3月12日"_s, at(2024, 3, 12)),
            record(u"3月5日 15:00"_s, at(2024, 3, 5, 15))});
        open(tree,
            {u"Y:2024年"_s, u"M:3月"_s, u"M:1月"_s, u"D:5日 · 3次专注"_s, u"D:12日 · 1次专注"_s});

        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:12日 · 1次专注"_s, u"R:3月12日"_s,
                u"D:5日 · 3次专注"_s, u"R:3月5日 21:00"_s, u"R:3月5日 15:00"_s, u"R:3月5日 09:00"_s,
                u"M:1月"_s, u"D:20日 · 1次专注"_s, u"Y:2023年"_s}));
    }

    void shouldKeepListOrderForEqualEnds()
    {
        HistoryTreeModel tree;
        const double end = at(2024, 3, 5, 10);
        tree.setRecords(
            {record(u"first"_s, end), record(u"second"_s, end), record(u"third"_s, end)});
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 3次专注"_s});
        QCOMPARE(rows(tree).mid(3), QStringList({u"R:first"_s, u"R:second"_s, u"R:third"_s}));
    }

    void shouldBuildOnlyTheRowsOfTheOpenedGroup()
    {
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        FocusRecordList records;
        // Two years; 2024 has three months with two days of three records each.
        for (const int month : {1, 2, 3})
            for (const int day : {4, 18})
                for (const int hour : {9, 14, 20})
                    records.append(record(
                        u"%1-%2-%3"_s.arg(month).arg(day).arg(hour), at(2024, month, day, hour)));
        records.append(record(u"old"_s, at(2022, 5, 5)));
        tree.setRecords(records);
        QCOMPARE(tree.rowCount(), 2);

        QSignalSpy inserted(&tree, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&tree, &QAbstractItemModel::rowsRemoved);
        tree.setExpanded(0, true);
        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"M:2月"_s, u"M:1月"_s, u"Y:2022年"_s}));
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(inserted.at(0).at(2).toInt(), 3);

        tree.setExpanded(rowOf(tree, u"M:2月"_s), true);
        QCOMPARE(tree.rowCount(), 7);
        QCOMPARE(rows(tree).mid(3, 2), QStringList({u"D:18日 · 3次专注"_s, u"D:4日 · 3次专注"_s}));

        tree.setExpanded(rowOf(tree, u"D:4日 · 3次专注"_s), true);
        QCOMPARE(tree.rowCount(), 10);
        QCOMPARE(rows(tree).mid(5, 3), QStringList({u"R:2-4-20"_s, u"R:2-4-14"_s, u"R:2-4-9"_s}));
        QCOMPARE(inserted.size(), 3);

        // Closing the year takes its whole open subtree away in one step.
        tree.setExpanded(0, false);
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"Y:2022年"_s}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        QCOMPARE(removed.at(0).at(2).toInt(), 8);

        // Inner groups open again as they were left.
        tree.toggle(0);
        QCOMPARE(tree.rowCount(), 10);
        QVERIFY(tree.index(rowOf(tree, u"D:4日 · 3次专注"_s))
                    .data(HistoryTreeModel::ExpandedRole)
                    .toBool());
    }

    void shouldMarkTheLastRowOfEachYearCard()
    {
        HistoryTreeModel tree;
        tree.setRecords({record(u"a"_s, at(2024, 3, 5)), record(u"b"_s, at(2023, 3, 5))});
        QSignalSpy changed(&tree, &QAbstractItemModel::dataChanged);
        tree.setExpanded(0, true);
        QVERIFY(!tree.index(0).data(HistoryTreeModel::CardEndRole).toBool());
        QVERIFY(tree.index(1).data(HistoryTreeModel::CardEndRole).toBool()); // 3月
        QVERIFY(tree.index(2).data(HistoryTreeModel::CardEndRole).toBool()); // 2023年
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 0);
    }

    void shouldIgnoreTogglesOfRecordsAndMissingRows()
    {
        HistoryTreeModel tree;
        tree.setRecords({record(u"a"_s, at(2024, 3, 5))});
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s});
        const QStringList before = rows(tree);
        tree.toggle(3);
        tree.toggle(-1);
        tree.toggle(99);
        tree.setExpanded(4, true);
        QCOMPARE(rows(tree), before);
    }

    void shouldAnswerTheRecordRoles()
    {
        ModelFixture f;
        FocusRecord plain = record(u"读论文"_s, at(2024, 3, 5, 9, 30), 25);
        FocusRecord detailed = record(u"写报告"_s, at(2024, 3, 5, 16, 5), 61.5);
        detailed.project = u"工作"_s;
        detailed.subproject = u"周报"_s;
        detailed.wrapUp = u"下一步：配图"_s;
        detailed.early = true;
        QVERIFY(f.model->saveRecords({detailed, plain}));

        HistoryTreeModel tree;
        tree.setModel(f.model.get());
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 2次专注"_s});
        const QModelIndex first = tree.index(3);
        const QModelIndex second = tree.index(4);

        QCOMPARE(first.data(HistoryTreeModel::TitleRole).toString(), u"写报告"_s);
        QCOMPARE(first.data(HistoryTreeModel::RecordIdRole).toString(), detailed.idText());
        QCOMPARE(first.data(HistoryTreeModel::ProjectTextRole).toString(), u"工作 / 周报"_s);
        QCOMPARE(first.data(HistoryTreeModel::ProjectColorRole).value<QColor>(),
            f.model->projectColor(u"工作"_s));
        QVERIFY(first.data(HistoryTreeModel::HasWrapUpRole).toBool());
        QCOMPARE(first.data(HistoryTreeModel::WrapUpRole).toString(), u"下一步：配图"_s);
        QCOMPARE(first.data(HistoryTreeModel::TimeTextRole).toString(), u"15:03 – 16:05"_s);
        QCOMPARE(first.data(HistoryTreeModel::DurationTextRole).toString(), u"1小时1分钟"_s);
        QVERIFY(first.data(HistoryTreeModel::EarlyRole).toBool());

        QCOMPARE(second.data(HistoryTreeModel::ProjectTextRole).toString(), u"学习"_s);
        QVERIFY(!second.data(HistoryTreeModel::HasWrapUpRole).toBool());
        QVERIFY(!second.data(HistoryTreeModel::EarlyRole).toBool());
        QCOMPARE(second.data(HistoryTreeModel::TimeTextRole).toString(), u"09:05 – 09:30"_s);

        // Group rows answer record roles with empty values of the right type.
        QCOMPARE(tree.index(0).data(HistoryTreeModel::TitleRole).typeId(), QMetaType::QString);
        QCOMPARE(tree.index(0).data(HistoryTreeModel::EarlyRole).typeId(), QMetaType::Bool);
    }

    void shouldKeepRecordsWithoutADateInAGroupOfTheirOwn()
    {
        HistoryTreeModel tree;
        FocusRecord broken = record(u"坏数据"_s, std::numeric_limits<double>::quiet_NaN());
        FocusRecord far = record(u"太远"_s, 1e300);
        tree.setRecords({broken, record(u"正常"_s, at(2024, 3, 5)), far});
        QCOMPARE(tree.recordCount(), 3);
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"Y:日期未知"_s}));
        tree.setExpanded(1, true);
        QCOMPARE(
            rows(tree), QStringList({u"Y:2024年"_s, u"Y:日期未知"_s, u"R:坏数据"_s, u"R:太远"_s}));
        QCOMPARE(tree.index(2).data(HistoryTreeModel::TimeTextRole).toString(), u"--:-- – --:--"_s);
    }

    void shouldFollowTheFiltersAndKeepOpenGroups()
    {
        ModelFixture f;
        FocusRecord a = record(u"读书 abc"_s, at(2024, 3, 5, 20));
        FocusRecord b = record(u"跑步"_s, at(2024, 3, 5, 8));
        FocusRecord c = record(u"写作 ABC"_s, at(2024, 2, 1));
        QVERIFY(f.model->saveRecords({a, b, c}));
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree.setModel(f.model.get());
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 2次专注"_s});
        QSignalSpy resets(&tree, &QAbstractItemModel::modelReset);
        QSignalSpy counts(&tree, &HistoryTreeModel::recordCountChanged);

        f.model->setRecordSearch(u"abc"_s);
        QCOMPARE(rows(tree),
            QStringList(
                {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s, u"R:读书 abc"_s, u"M:2月"_s}));
        QCOMPARE(tree.recordCount(), 2);
        QCOMPARE(counts.size(), 1);

        // Filtering March away and back: the day opens as it was.
        f.model->setRecordSearch(u"写作"_s);
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"M:2月"_s}));
        f.model->setRecordSearch(QString());
        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 2次专注"_s, u"R:读书 abc"_s,
                u"R:跑步"_s, u"M:2月"_s}));
        QCOMPARE(resets.size(), 0);

        f.model->setRecordProject(u"没有这个项目"_s);
        QCOMPARE(tree.rowCount(), 0);
        QCOMPARE(tree.recordCount(), 0);
        f.model->setRecordProject(u"全部项目"_s);
        QCOMPARE(tree.rowCount(), 6);
    }

    void shouldRemoveADeletedRowAndPutItBackOnUndo()
    {
        ModelFixture f;
        FocusRecord late = record(u"晚"_s, at(2024, 3, 5, 21));
        FocusRecord middle = record(u"中"_s, at(2024, 3, 5, 15));
        FocusRecord early = record(u"早"_s, at(2024, 3, 5, 9));
        QVERIFY(f.model->saveRecords({late, middle, early}));
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree.setModel(f.model.get());
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 3次专注"_s});
        QSignalSpy removed(&tree, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(&tree, &QAbstractItemModel::rowsInserted);
        QSignalSpy resets(&tree, &QAbstractItemModel::modelReset);

        tree.deleteRecord(rowOf(tree, u"R:中"_s));
        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 2次专注"_s, u"R:晚"_s, u"R:早"_s}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 4);
        QCOMPARE(removed.at(0).at(2).toInt(), 4);

        f.model->undoDelete();
        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 3次专注"_s, u"R:晚"_s, u"R:中"_s,
                u"R:早"_s}));
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 4);
        QCOMPARE(resets.size(), 0);
    }

    void shouldReopenTheDayOfTheOnlyRecordAfterUndo()
    {
        ModelFixture f;
        FocusRecord only = record(u"唯一"_s, at(2024, 3, 5, 21));
        QVERIFY(f.model->saveRecords({only, record(u"别的"_s, at(2024, 3, 1))}));
        HistoryTreeModel tree;
        tree.setModel(f.model.get());
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s});
        f.model->deleteRecord(only.idText());
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:1日 · 1次专注"_s}));
        f.model->undoDelete();
        QCOMPARE(rows(tree).mid(2, 2), QStringList({u"D:5日 · 1次专注"_s, u"R:唯一"_s}));
    }

    void shouldResetWhenRecordsShareAnId()
    {
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        FocusRecord a = record(u"a"_s, at(2024, 3, 5, 9));
        tree.setRecords({a});
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s});
        FocusRecord twin = a;
        twin.title = u"twin"_s;
        twin.endedAt = at(2024, 3, 5, 10);
        tree.setRecords({twin, a});
        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 2次专注"_s, u"R:twin"_s, u"R:a"_s}));

        // Deleting a row takes away that very record, and the undo brings back just that one.
        ModelFixture f;
        QVERIFY(f.model->saveRecords({twin, a}));
        HistoryTreeModel shown;
        shown.setModel(f.model.get());
        open(shown, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 2次专注"_s});
        shown.deleteRecord(0); // a group row holds no record
        QCOMPARE(f.model->records().size(), 2);
        shown.deleteRecord(rowOf(shown, u"R:a"_s));
        QCOMPARE(rows(shown).mid(2), QStringList({u"D:5日 · 1次专注"_s, u"R:twin"_s}));
        f.model->undoDelete();
        QCOMPARE(f.model->records(), FocusRecordList({twin, a}));
    }

    void shouldStartClosedForANewModel()
    {
        ModelFixture f;
        QVERIFY(f.model->saveRecords({record(u"a"_s, at(2024, 3, 5))}));
        HistoryTreeModel tree;
        tree.setModel(f.model.get());
        tree.setExpanded(0, true);
        QCOMPARE(tree.rowCount(), 2);
        ModelFixture other;
        QVERIFY(other.model->saveRecords({record(u"b"_s, at(2024, 3, 5))}));
        tree.setModel(other.model.get());
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s}));
    }

    void shouldCloseEveryGroupOnCollapseAll()
    {
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree.setRecords({record(u"a"_s, at(2024, 3, 5)), record(u"b"_s, at(2023, 3, 5))});
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s});
        QCOMPARE(tree.rowCount(), 5);
        tree.collapseAll();
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"Y:2023年"_s}));
        tree.setExpanded(0, true);
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"M:3月"_s, u"Y:2023年"_s}));
    }

    void shouldRecolourRowsWhenAProjectColourChanges()
    {
        ModelFixture f;
        FocusRecord r = record(u"a"_s, at(2024, 3, 5));
        r.project = u"工作"_s;
        QVERIFY(f.model->saveRecords({r}));
        HistoryTreeModel tree;
        tree.setModel(f.model.get());
        open(tree, {u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s});
        QSignalSpy changed(&tree, &QAbstractItemModel::dataChanged);
        f.model->setCustomColor(u"工作"_s, QColor(10, 200, 30));
        QVERIFY(!changed.isEmpty());
        QCOMPARE(tree.index(3).data(HistoryTreeModel::ProjectColorRole).value<QColor>(),
            f.model->projectColor(u"工作"_s));
    }
};

QTEST_GUILESS_MAIN(HistoryTreeModelTest)
#include "tst_historytreemodel.moc"
