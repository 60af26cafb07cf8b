// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finishes focus sessions through the model as fast as it can, on real folders, so that the kill
// test can end it at any moment, also in the middle of a save.
//
//   recordwriter_probe <storage folder> <defaults folder> [sessions]
//
// Prints "ready <count>" once the model has loaded, "saving <count>" as a session reaches zero
// and "saved <count>" after every save that returned, so the last line read tells the last state
// known to be stored and whether a save was under way. A locked start prints
// "locked <message>" and ends with 3; a refused save prints "failed <message>" and ends with 4.
// Without a session count it runs until it is killed.

#include "doubles/fakeclock.h"
#include "model/timermodel.h"
#include "platform/filedefaultsstore.h"
#include "platform/filewriter.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void report(const char *what, const QByteArray &detail)
{
    std::printf("%s %s\n", what, detail.constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: recordwriter_probe <storage> <defaults> [sessions]\n");
        return 2;
    }
    const qint64 sessions = args.size() > 3 ? args.at(3).toLongLong() : -1;

    FileDefaultsStore defaults(args.at(2), AtomicFileWriter::instance());
    FakeClock clock;
    TimerServices services;
    services.storageFolder = args.at(1);
    services.todayClock = clock.clock();
    TimerModel model(
        defaults, clock.clock(), [] {}, services);
    if (!model.recordsReadable() || !model.recordError().isEmpty()) {
        report("locked", model.recordError().toUtf8());
        return 3;
    }
    // Each new session ends after every stored one, so the stored list stays in end order.
    if (!model.records().isEmpty())
        clock.set(std::max(clock.now(), model.records().constFirst().endedAt + 1));
    report("ready", QByteArray::number(model.records().size()));

    for (qint64 round = 0; sessions < 0 || round < sessions; ++round) {
        const qsizetype before = model.records().size();
        model.reset();
        model.setTitle(u"第 %1 轮：写完这一节"_s.arg(round));
        model.start();
        clock.advance(model.duration());
        report("saving", QByteArray::number(before));
        model.tick(); // reaches zero: the natural end saves the record
        if (model.records().size() != before + 1) {
            report("failed", model.recordError().toUtf8());
            return 4;
        }
        report("saved", QByteArray::number(model.records().size()));
        clock.advance(7);
    }
    return 0;
}
