// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Times reading and saving the record list at 1,000, 10,000 and 100,000 records: decoding the
// record file, encoding it, and a whole save (encode, atomic file write and the defaults copy
// through the real store) in a temporary folder. Prints the median of several runs.
//
// The same lists also go through Qt's QJsonDocument, as the baseline that the project's own
// reader and writer are measured against in the same run: decode (text to records) and encode
// (records to text), and the extra peak memory of one decode beyond the records it returns.
//
// Build with optimisation: cmake -DCMAKE_BUILD_TYPE=Release -DVELMOR_BENCH=ON

#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"
#include "records/json/recordcodec.h"
#include "records/recordstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

// A history as a user builds it: sessions of 10 to 90 minutes, several a day, going back in
// time, with Chinese titles, most with a subproject, some finished early with a wrap-up note.
FocusRecordList realisticRecords(int count)
{
    static const QStringList titles = {
        u"阅读《深入理解计算机系统》第三章并整理笔记"_s,
        u"写周报"_s,
        u"背单词"_s,
        u"整理项目需求文档，确认接口字段"_s,
        u"复习线性代数：特征值与特征向量"_s,
        u"修复登录页面在窄屏上的布局问题"_s,
        u"练习吉他：C大调音阶"_s,
        u"准备周五的组会汇报材料"_s,
    };
    static const QStringList projects = {u"学习"_s, u"工作"_s, u"个人"_s, u"阅读与写作"_s};
    static const QStringList subprojects = {u"英语"_s, u"数学"_s, u"后端"_s, u"前端"_s, u"吉他"_s};
    static const QStringList wrapUps = {
        u"完成了第一节，下一步：做课后练习"_s,
        u"接口字段已确认；下一步：和前端对齐分页参数"_s,
        u"卡在第二个证明，明天先看参考答案"_s,
    };

    QRandomGenerator random(42);
    FocusRecordList records;
    records.reserve(count);
    double end = 790000000.0; // newest first, going back
    for (int i = 0; i < count; ++i) {
        FocusRecord record;
        const double length = 600.0 + random.bounded(4800) + random.generateDouble();
        record.title = titles[random.bounded(int(titles.size()))];
        record.endedAt = end + random.generateDouble();
        record.startedAt = record.endedAt - length - random.bounded(300);
        record.duration = length;
        record.project = projects[random.bounded(int(projects.size()))];
        if (random.bounded(10) < 6)
            record.subproject = subprojects[random.bounded(int(subprojects.size()))];
        record.early = random.bounded(4) == 0;
        if (record.early && random.bounded(2) == 0)
            record.wrapUp = wrapUps[random.bounded(int(wrapUps.size()))];
        records.append(record);
        end -= length + 300 + random.bounded(7200);
    }
    return records;
}

struct Timing {
    double wallMedian = 0;
    double wallBest = 0;
    double cpuMedian =
        0; // this thread's CPU time: what the work costs on an idle machine, I/O waits aside
};

double threadCpuMs()
{
    timespec time {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Timing measure(int runs, const std::function<void()> &work)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        work();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    return {median(wall), *std::min_element(wall.begin(), wall.end()), median(cpu)};
}

void printRow(int count, const char *what, const Timing &timing)
{
    std::printf("%9d  %-17s %10.2f %10.2f %10.2f\n", count, what, timing.wallMedian,
        timing.wallBest, timing.cpuMedian);
}

// The baseline decode: QJsonDocument's parse, then the same records built from its objects and
// put newest first, as the project's decoder returns them (it also checks every field).
FocusRecordList qtDecode(const QByteArray &bytes)
{
    const QJsonArray array = QJsonDocument::fromJson(bytes).array();
    FocusRecordList records;
    records.reserve(array.size());
    for (const QJsonValue &value : array) {
        const QJsonObject object = value.toObject();
        FocusRecord record;
        record.id = QUuid::fromString(object.value(u"id").toString());
        record.title = object.value(u"title").toString();
        record.startedAt = object.value(u"startedAt").toDouble();
        record.endedAt = object.value(u"endedAt").toDouble();
        record.duration = object.value(u"duration").toDouble();
        record.project = object.value(u"project").toString();
        if (const QJsonValue subproject = object.value(u"subproject"); subproject.isString())
            record.subproject = subproject.toString();
        if (const QJsonValue wrapUp = object.value(u"wrapUp"); wrapUp.isString())
            record.wrapUp = wrapUp.toString();
        record.early = object.value(u"early").toBool();
        records.append(std::move(record));
    }
    std::stable_sort(records.begin(), records.end(),
        [](const FocusRecord &a, const FocusRecord &b) { return a.endedAt > b.endedAt; });
    return records;
}

// The baseline encode: the same fields as the project's encoder, as compact JSON.
QByteArray qtEncode(const FocusRecordList &records)
{
    QJsonArray array;
    for (const FocusRecord &record : records) {
        QJsonObject object {
            {u"id"_s, record.idText()},
            {u"title"_s, record.title},
            {u"startedAt"_s, record.startedAt},
            {u"endedAt"_s, record.endedAt},
            {u"duration"_s, record.duration},
            {u"project"_s, record.project},
            {u"early"_s, record.early},
        };
        if (record.subproject)
            object.insert(u"subproject"_s, *record.subproject);
        if (record.wrapUp)
            object.insert(u"wrapUp"_s, *record.wrapUp);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

// A line of /proc/self/status in MB ("VmRSS", "VmHWM").
double statusMb(const QByteArray &field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// How far one decode lifts resident memory above what it ends with, the returned records held:
// the working memory of the decode itself. Freed memory goes back to the system first, and the
// peak is reset, so earlier runs do not hide or add to it.
double extraPeakMb(const std::function<FocusRecordList()> &decode)
{
    malloc_trim(0);
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return -1;
    clear.close();
    const FocusRecordList records = decode();
    malloc_trim(0);
    return std::max(0.0, statusMb("VmHWM") - statusMb("VmRSS"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = 11;

    std::printf("%9s  %-17s %10s %10s %10s\n", "records", "", "wall ms", "wall ms", "CPU ms");
    std::printf("%9s  %-17s %10s %10s %10s\n", "", "", "median", "best", "median");

    bool withinTargets = true;
    for (const int count : {1000, 10000, 100000}) {
        const FocusRecordList records = realisticRecords(count);
        const QByteArray bytes = RecordCodec::encode(records);

        qsizetype decodedCount = 0;
        const Timing decode =
            measure(runs, [&] { decodedCount = RecordCodec::decode(bytes).records.size(); });
        if (decodedCount != count) {
            std::fprintf(
                stderr, "decode returned %lld records\n", static_cast<long long>(decodedCount));
            return 1;
        }
        const Timing encode = measure(runs, [&] { (void)RecordCodec::encode(records); });
        const Timing qtDecoding = measure(runs, [&] { decodedCount = qtDecode(bytes).size(); });
        if (decodedCount != count) {
            std::fprintf(
                stderr, "QJsonDocument read %lld records\n", static_cast<long long>(decodedCount));
            return 1;
        }
        const Timing qtEncoding = measure(runs, [&] { (void)qtEncode(records); });
        const double ownPeak = extraPeakMb([&] { return RecordCodec::decode(bytes).records; });
        const double qtPeak = extraPeakMb([&] { return qtDecode(bytes); });

        QTemporaryDir temp;
        FileDefaultsStore defaults(temp.filePath(u"config"_s), AtomicFileWriter::instance());
        RecordStore store(defaults, AtomicFileWriter::instance(), temp.filePath(u"data"_s),
            [] { return 790000000.0; });
        store.load();
        bool saved = true;
        const Timing save = measure(runs, [&] { saved = store.save(records).ok && saved; });
        if (!saved) {
            std::fprintf(stderr, "save failed\n");
            return 1;
        }
        const Timing load = measure(runs, [&] {
            RecordStore fresh(defaults, AtomicFileWriter::instance(), temp.filePath(u"data"_s),
                [] { return 0.0; });
            fresh.load();
        });

        std::printf("%9d  %lld bytes, %lld a record\n", count, static_cast<long long>(bytes.size()),
            static_cast<long long>(bytes.size() / count));
        printRow(count, "decode", decode);
        printRow(count, "encode", encode);
        printRow(count, "save", save);
        printRow(count, "load", load);
        printRow(count, "QJsonDoc decode", qtDecoding);
        printRow(count, "QJsonDoc encode", qtEncoding);
        std::printf(
            "%9d  against QJsonDocument: decode %.1fx (CPU %.1fx), encode %.1fx (CPU %.1fx) "
            "as fast; extra peak memory while decoding %.1f MB against %.1f MB\n",
            count, qtDecoding.wallMedian / decode.wallMedian,
            qtDecoding.cpuMedian / decode.cpuMedian, qtEncoding.wallMedian / encode.wallMedian,
            qtEncoding.cpuMedian / encode.cpuMedian, ownPeak, qtPeak);
        if (count == 100000)
            withinTargets = decode.wallMedian < 250 && save.wallMedian < 350;
    }
    std::printf(
        "\nTargets at 100,000 records, wall-clock medians: decode < 250 ms, save < 350 ms: %s\n",
        withinTargets ? "met" : "MISSED");
    return withinTargets ? 0 : 1;
}
