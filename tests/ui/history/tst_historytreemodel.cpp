// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/modelfixture.h"
#include "records/instant.h"
#include "ui/history/historytreemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimeZone>

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

const QStringList march2024 = {u"Y:2024年"_s, u"M:3月"_s};

} // namespace

class HistoryTreeModelTest : public QObject {
    Q_OBJECT

private:
    // The real model with these records saved, and a tree on it opened along that path; the
    // tree is checked for consistency as it changes.
    struct Shown {
        ModelFixture f;
        HistoryTreeModel tree;
        QAbstractItemModelTester tester {
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest};
    };
    static std::unique_ptr<Shown> show(const FocusRecordList &records, const QStringList &path)
    {
        auto shown = std::make_unique<Shown>();
        if (!shown->f.model->saveRecords(records))
            qWarning("The records were not saved.");
        shown->tree.setModel(shown->f.model.get());
        open(shown->tree, path);
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCOMPARE(QDateTime::currentDateTime().timeZone().id(), QByteArray("Asia/Shanghai"));
    }

    void shouldArchiveByTheLocalEndNewestFirst()
    {
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        // Out of order on purpose: the tree sorts by end, whatever the list's order. 跨夜 runs
        // from 23:50 on the 4th to 00:30 on the 5th local time; in UTC both lie on the 4th.
        tree.setRecords({record(u"跨夜"_s, at(2024, 3, 5, 0, 30), 40),
            record(u"坏数据"_s, std::numeric_limits<double>::quiet_NaN()),
            record(u"旧年"_s, at(2023, 12, 31, 23, 59)), record(u"闰日 1"_s, at(2024, 2, 29)),
            record(u"闰日 2"_s, at(2024, 2, 29)), record(u"太远"_s, 1e300)});
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"Y:2023年"_s, u"Y:日期未知"_s}));
        QCOMPARE(tree.recordCount(), 6);

        open(tree,
            {u"Y:日期未知"_s, u"Y:2023年"_s, u"M:12月"_s, u"D:31日 · 1次专注"_s, u"Y:2024年"_s,
                u"M:3月"_s, u"D:5日 · 1次专注"_s, u"M:2月"_s, u"D:29日 · 2次专注"_s});
        QCOMPARE(rows(tree),
            QStringList({u"Y:2024年"_s, u"M:3月"_s, u"D:5日 · 1次专注"_s, u"R:跨夜"_s, u"M:2月"_s,
                u"D:29日 · 2次专注"_s, u"R:闰日 1"_s, u"R:闰日 2"_s, u"Y:2023年"_s, u"M:12月"_s,
                u"D:31日 · 1次专注"_s, u"R:旧年"_s, u"Y:日期未知"_s, u"R:坏数据"_s, u"R:太远"_s}));
        const auto time = [&](const QString &row) {
            return tree.index(rowOf(tree, row)).data(HistoryTreeModel::TimeTextRole).toString();
        };
        QCOMPARE(time(u"R:跨夜"_s), u"23:50 – 00:30"_s);
        QCOMPARE(time(u"R:坏数据"_s), u"--:-- – --:--"_s);
    }

    void shouldBuildOnlyTheRowsOfTheOpenedGroup()
    {
        HistoryTreeModel tree;
        QAbstractItemModelTester tester(
            &tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree.setRecords({record(u"2-4 早"_s, at(2024, 2, 4, 9)),
            record(u"2-4 晚"_s, at(2024, 2, 4, 14)), record(u"2-18"_s, at(2024, 2, 18)),
            record(u"3-1"_s, at(2024, 3, 1)), record(u"old"_s, at(2022, 5, 5))});
        QSignalSpy inserted(&tree, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&tree, &QAbstractItemModel::rowsRemoved);
        const auto span = [](const QSignalSpy &spy) {
            return std::pair(spy.last().at(1).toInt(), spy.last().at(2).toInt());
        };

        tree.setExpanded(0, true);
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"M:3月"_s, u"M:2月"_s, u"Y:2022年"_s}));
        QCOMPARE(span(inserted), std::pair(1, 2));
        open(tree, {u"M:2月"_s, u"D:4日 · 2次专注"_s});
        QCOMPARE(rows(tree).mid(2, 5),
            QStringList({u"M:2月"_s, u"D:18日 · 1次专注"_s, u"D:4日 · 2次专注"_s, u"R:2-4 晚"_s,
                u"R:2-4 早"_s}));
        QCOMPARE(inserted.size(), 3);

        // Closing the year takes its whole open subtree away in one step.
        tree.setExpanded(0, false);
        QCOMPARE(rows(tree), QStringList({u"Y:2024年"_s, u"Y:2022年"_s}));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(span(removed), std::pair(1, 6));

        // Inner groups open again as they were left; records and absent rows do not toggle.
        tree.toggle(0);
        const QStringList reopened = rows(tree);
        QCOMPARE(reopened.size(), 8);
        for (const int row : {rowOf(tree, u"R:2-4 早"_s), -1, 99})
            tree.toggle(row);
        QCOMPARE(rows(tree), reopened);

        // Collapsing everything closes the inner groups too.
        tree.collapseAll();
        tree.setExpanded(0, true);
        QCOMPARE(tree.rowCount(), 4);
    }

    void shouldAnswerTheRecordRoles()
    {
        FocusRecord detailed = record(u"写报告"_s, at(2024, 3, 5, 16, 5), 61.5);
        detailed.project = u"工作"_s;
        detailed.subproject = u"周报"_s;
        detailed.wrapUp = u"下一步：配图"_s;
        detailed.early = true;
        const auto s = show({detailed}, march2024 + QStringList {u"D:5日 · 1次专注"_s});
        const auto roles = [&](int row) {
            const QModelIndex index = s->tree.index(row);
            QVariantList values;
            for (const int role : {HistoryTreeModel::TitleRole, HistoryTreeModel::RecordIdRole,
                     HistoryTreeModel::ProjectTextRole, HistoryTreeModel::ProjectColorRole,
                     HistoryTreeModel::HasWrapUpRole, HistoryTreeModel::WrapUpRole,
                     HistoryTreeModel::TimeTextRole, HistoryTreeModel::DurationTextRole,
                     HistoryTreeModel::EarlyRole})
                values.append(index.data(role));
            return values;
        };
        QCOMPARE(roles(3),
            QVariantList({u"写报告"_s, detailed.idText(), u"工作 / 周报"_s,
                s->f.model->projectColor(u"工作"_s), true, u"下一步：配图"_s, u"15:03 – 16:05"_s,
                u"1小时1分钟"_s, true}));
        // A new colour for the project reaches its rows.
        s->f.model->setCustomColor(u"工作"_s, QColor(10, 200, 30));
        QCOMPARE(roles(3).at(3), QVariant(s->f.model->projectColor(u"工作"_s)));
    }

    void shouldRemoveADeletedRowPutItBackOnUndoAndKeepOpenGroupsThroughAFilter()
    {
        FocusRecord only = record(u"唯一"_s, at(2024, 3, 6));
        FocusRecord middle = record(u"中"_s, at(2024, 3, 5, 15));
        const FocusRecordList three = {only, record(u"晚"_s, at(2024, 3, 5, 21)), middle};
        const auto s =
            show(three, march2024 + QStringList {u"D:6日 · 1次专注"_s, u"D:5日 · 2次专注"_s});
        const QStringList all = rows(s->tree);
        QSignalSpy removed(&s->tree, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(&s->tree, &QAbstractItemModel::rowsInserted);
        QSignalSpy resets(&s->tree, &QAbstractItemModel::modelReset);

        s->tree.deleteRecord(0); // a group row holds no record
        QCOMPARE(s->f.model->records().size(), 3);
        s->tree.deleteRecord(rowOf(s->tree, u"R:晚"_s));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).mid(1), QVariantList({5, 5}));
        s->f.model->undoDelete();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(rows(s->tree), all);

        // Filtered away and back, the groups open as they were left.
        s->f.model->setRecordSearch(u"晚"_s);
        QCOMPARE(rows(s->tree), march2024 + QStringList({u"D:5日 · 1次专注"_s, u"R:晚"_s}));
        QCOMPARE(s->tree.recordCount(), 1);
        s->f.model->setRecordSearch(QString());
        QCOMPARE(rows(s->tree), all);
        QCOMPARE(resets.size(), 0);

        // The day of the only record goes and comes back open.
        s->f.model->deleteRecord(only.idText());
        QCOMPARE(rows(s->tree).at(2), u"D:5日 · 2次专注"_s);
        s->f.model->undoDelete();
        QCOMPARE(rows(s->tree), all);

        // A hand-edited file may give two records one id: a delete takes away the very row.
        FocusRecord twin = middle;
        twin.title = u"早"_s;
        twin.endedAt = at(2024, 3, 5, 9);
        QVERIFY(s->f.model->saveRecords(three + FocusRecordList {twin}));
        s->tree.deleteRecord(rowOf(s->tree, u"R:中"_s));
        QCOMPARE(rows(s->tree).mid(4), QStringList({u"D:5日 · 2次专注"_s, u"R:晚"_s, u"R:早"_s}));
        s->f.model->undoDelete();
        QCOMPARE(s->f.model->records(), three + FocusRecordList {twin});
    }
};

QTEST_GUILESS_MAIN(HistoryTreeModelTest)
#include "tst_historytreemodel.moc"
