// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the screens read with 100,000 records: the per-tick figures of the focus page and the
// sidebar, the week figures of the review page, the history's filtered list, and the cost of
// rebuilding the indexes after the records change.
#include "records/csvexport.h"
#include "records/instant.h"
#include "records/recordqueries.h"
#include "stats/focusstats.h"
#include "stats/reviewchart.h"

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace {

constexpr int recordCount = 100'000;
const QStringList projects = {u"学习"_s, u"工作"_s, u"运动"_s, u"阅读"_s, u"写作"_s, u"编程"_s,
    u"英语"_s, u"音乐"_s, u"家务"_s, u"冥想"_s};

double nowInstant()
{
    return Instant::fromDateTime(QDateTime(QDate(2024, 3, 13), QTime(15, 0)));
}

// Newest first, ending every 25 minutes or so back from now: about five years of history, with
// some fifty records today and a few hundred in the week.
FocusRecordList history(int count, double spacing)
{
    QRandomGenerator random(42);
    FocusRecordList records;
    records.reserve(count);
    double end = nowInstant() - 60;
    for (int i = 0; i < count; ++i) {
        FocusRecord r;
        r.title = u"第%1轮 专注任务 abc"_s.arg(i);
        r.duration = 300 + random.bounded(3000) + random.generateDouble();
        r.endedAt = end;
        r.startedAt = end - r.duration;
        r.project = projects.at(random.bounded(projects.size()));
        if (random.bounded(3) == 0)
            r.subproject = u"子项"_s;
        if (random.bounded(2) == 0)
            r.wrapUp = u"下一步：继续 %1"_s.arg(i % 97);
        records.append(r);
        end -= spacing * (0.5 + random.generateDouble());
    }
    return records;
}

const FocusRecordList &spreadRecords()
{
    static const FocusRecordList records = history(recordCount, 1500);
    return records;
}

// Every record ends today: the worst case for today's figures.
const FocusRecordList &todayRecords()
{
    static const FocusRecordList records = history(recordCount, 0.4);
    return records;
}

FocusStats makeStats(const FocusRecordList &records)
{
    const double now = nowInstant();
    FocusStats stats([now] { return now; }, [now] { return now; }, FocusCalendar(Qt::Monday));
    stats.setRecords(records);
    return stats;
}

FocusStats::LiveSession liveSession()
{
    FocusStats::LiveSession live;
    live.running = true;
    live.elapsed = 600;
    live.project = u"学习"_s;
    live.subproject = u"子项"_s;
    return live;
}

// Everything the focus page and the sidebar read on one tick.
void readTick(const FocusStats &stats, const FocusStats::LiveSession &live)
{
    benchmark::DoNotOptimize(stats.todayTotal(live));
    benchmark::DoNotOptimize(stats.todayDisplay(live));
    for (const QString &project : projects)
        benchmark::DoNotOptimize(stats.todayProjectMinutes(project));
    benchmark::DoNotOptimize(ReviewChart::todayDistribution(stats, live));
}

// Everything the review page reads.
void readWeek(const FocusStats &stats)
{
    benchmark::DoNotOptimize(stats.weekRecords());
    benchmark::DoNotOptimize(stats.dailyGoalReached(5));
    benchmark::DoNotOptimize(stats.longestSession());
    benchmark::DoNotOptimize(stats.weekSummary());
    benchmark::DoNotOptimize(stats.weekLabel());
    benchmark::DoNotOptimize(ReviewChart::weekReview(stats, projects, 5));
}

void tickReads(benchmark::State &state, const FocusRecordList &records)
{
    const FocusStats stats = makeStats(records);
    const FocusStats::LiveSession live = liveSession();
    readTick(stats, live);
    for (auto _ : state)
        readTick(stats, live);
}

void weekFigures(benchmark::State &state, const FocusRecordList &records)
{
    const FocusStats stats = makeStats(records);
    readWeek(stats);
    for (auto _ : state)
        readWeek(stats);
}

// The first read after another week is selected.
void weekFiguresAfterSelectingAWeek(benchmark::State &state)
{
    FocusStats stats = makeStats(spreadRecords());
    int offset = 0;
    for (auto _ : state) {
        offset = offset == 0 ? -1 : 0;
        stats.selectWeek(offset);
        readWeek(stats);
    }
}

// A save replaced the list: index, today and week rebuilt at the next reads.
void readsAfterRecordsChange(benchmark::State &state, const FocusRecordList &records)
{
    FocusStats stats = makeStats(records);
    const FocusStats::LiveSession live = liveSession();
    for (auto _ : state) {
        stats.setRecords(records);
        readTick(stats, live);
        readWeek(stats);
    }
}

const FocusRecordList &shuffledRecords()
{
    static const FocusRecordList records = [] {
        FocusRecordList list = spreadRecords();
        std::shuffle(list.begin(), list.end(), std::mt19937(7));
        return list;
    }();
    return records;
}

void visibleWithSearch(benchmark::State &state)
{
    RecordQueries::Filter filter;
    filter.search = u"  ABC "_s;
    filter.project = u"学习"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordQueries::visibleRecords(spreadRecords(), filter));
}

void visibleWithSearchMatchingNothing(benchmark::State &state)
{
    RecordQueries::Filter filter;
    filter.search = u"找不到的内容"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordQueries::visibleRecords(spreadRecords(), filter));
}

void visibleThisWeek(benchmark::State &state)
{
    const FocusStats stats = makeStats(spreadRecords());
    for (auto _ : state) {
        RecordQueries::Filter filter;
        filter.range = RecordQueries::rangeWeek();
        filter.weekIds = stats.weekIds();
        benchmark::DoNotOptimize(RecordQueries::visibleRecords(spreadRecords(), filter));
    }
}

void csvOfAllRecords(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CsvExport::build(spreadRecords()));
}

} // namespace

BENCHMARK_CAPTURE(tickReads, spread, spreadRecords())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(tickReads, allToday, todayRecords())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(weekFigures, spread, spreadRecords())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(weekFigures, allThisWeek, todayRecords())->Unit(benchmark::kMicrosecond);
BENCHMARK(weekFiguresAfterSelectingAWeek)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(readsAfterRecordsChange, newestFirst, spreadRecords())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readsAfterRecordsChange, shuffled, shuffledRecords())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readsAfterRecordsChange, allToday, todayRecords())->Unit(benchmark::kMillisecond);
BENCHMARK(visibleWithSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(visibleWithSearchMatchingNothing)->Unit(benchmark::kMillisecond);
BENCHMARK(visibleThisWeek)->Unit(benchmark::kMillisecond);
BENCHMARK(csvOfAllRecords)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
