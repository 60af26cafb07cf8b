// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the records page costs with 100,000 records: archiving the list by local day, building the
// tree model's rows, following a filter or a delete with groups open, and opening a group.
#include "model/timermodel.h"
#include "records/instant.h"
#include "records/recordqueries.h"
#include "ui/history/historygrouping.h"
#include "ui/history/historytreemodel.h"

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int recordCount = 100'000;
const QStringList projects = {u"学习"_s, u"工作"_s, u"运动"_s, u"阅读"_s, u"写作"_s};

// Newest first, ending every 25 minutes or so back from March 2024: about five years.
const FocusRecordList &spreadRecords()
{
    static const FocusRecordList records = [] {
        QRandomGenerator random(42);
        FocusRecordList list;
        list.reserve(recordCount);
        double end = Instant::fromDateTime(QDateTime(QDate(2024, 3, 13), QTime(15, 0)));
        for (int i = 0; i < recordCount; ++i) {
            FocusRecord r;
            r.title = u"第%1轮 专注任务 abc"_s.arg(i);
            r.duration = 300 + random.bounded(3000);
            r.endedAt = end;
            r.startedAt = end - r.duration;
            r.project = projects.at(random.bounded(projects.size()));
            if (random.bounded(2) == 0)
                r.wrapUp = u"下一步：继续 %1"_s.arg(i % 97);
            list.append(r);
            end -= 1500 * (0.5 + random.generateDouble());
        }
        return list;
    }();
    return records;
}

// The same records in random order: every record needs the sort and its own date conversion.
const FocusRecordList &shuffledRecords()
{
    static const FocusRecordList records = [] {
        FocusRecordList list = spreadRecords();
        std::shuffle(list.begin(), list.end(), std::mt19937(7));
        return list;
    }();
    return records;
}

void grouping(benchmark::State &state, const FocusRecordList &records)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(HistoryGrouping::build(records));
}

// Opening the page: the grouping and the rows of the closed years.
void openPage(benchmark::State &state)
{
    for (auto _ : state) {
        HistoryTreeModel tree;
        tree.setRecords(spreadRecords());
        benchmark::DoNotOptimize(tree.rowCount());
    }
}

// Opens the newest year, its newest month and every day of that month.
void openNewestMonth(HistoryTreeModel &tree)
{
    tree.setExpanded(0, true);
    tree.setExpanded(1, true);
    for (int row = tree.rowCount() - 1; row > 1; --row) {
        if (tree.index(row).data(HistoryTreeModel::KindRole).toInt() == HistoryTreeModel::DayRow)
            tree.setExpanded(row, true);
    }
}

// A delete with a month open: regrouping, then removing the one row.
void deleteWithOpenGroups(benchmark::State &state)
{
    HistoryTreeModel tree;
    tree.setRecords(spreadRecords());
    openNewestMonth(tree);
    FocusRecordList without = spreadRecords();
    without.removeAt(3);
    bool deleted = false;
    for (auto _ : state) {
        deleted = !deleted;
        tree.setRecords(deleted ? without : spreadRecords());
        benchmark::DoNotOptimize(tree.rowCount());
    }
    state.counters["rows"] = tree.rowCount();
}

// One keystroke in the search field: the filtered list, then the tree follows it.
void searchKeystroke(benchmark::State &state)
{
    HistoryTreeModel tree;
    tree.setRecords(spreadRecords());
    openNewestMonth(tree);
    RecordQueries::Filter filter;
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        filter.search = narrow ? u"abc 1"_s : u"abc"_s;
        tree.setRecords(RecordQueries::visibleRecords(spreadRecords(), filter));
        benchmark::DoNotOptimize(tree.rowCount());
    }
}

// Opening and closing the newest year: only its month rows are built.
void toggleYear(benchmark::State &state)
{
    HistoryTreeModel tree;
    tree.setRecords(spreadRecords());
    for (auto _ : state) {
        tree.toggle(0);
        benchmark::DoNotOptimize(tree.rowCount());
    }
}

// Opening and closing a month of about 30 days.
void toggleMonth(benchmark::State &state)
{
    HistoryTreeModel tree;
    tree.setRecords(spreadRecords());
    tree.setExpanded(0, true);
    for (auto _ : state) {
        tree.toggle(1);
        benchmark::DoNotOptimize(tree.rowCount());
    }
}

} // namespace

BENCHMARK_CAPTURE(grouping, newestFirst, spreadRecords())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(grouping, shuffled, shuffledRecords())->Unit(benchmark::kMillisecond);
BENCHMARK(openPage)->Unit(benchmark::kMillisecond);
BENCHMARK(deleteWithOpenGroups)->Unit(benchmark::kMillisecond);
BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(toggleYear)->Unit(benchmark::kMicrosecond);
BENCHMARK(toggleMonth)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
