// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/processclock.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <ctime>
#include <unistd.h>

double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22 is the start in clock ticks since boot (10 ms steps). The command name in field 2
    // may hold spaces; the fields after it do not.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    timespec now {};
    if (fields.size() < 20 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const double startedMs = fields.at(19).toDouble() * 1000.0 / double(sysconf(_SC_CLK_TCK));
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6 - startedMs;
}

double processorMs()
{
    timespec used {};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used) != 0)
        return -1;
    return double(used.tv_sec) * 1000.0 + double(used.tv_nsec) / 1e6;
}
