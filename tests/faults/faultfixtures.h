#pragma once

#include "doubles/fakeclock.h"
#include "model/timermodel.h"
#include "records/focusrecord.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <optional>

// Helpers shared by the fault tests: a realistic history, and plain file access that never goes
// through the code under test.
namespace FaultFixtures {

// count records, newest first, the newest ending at newestEnd, one every half hour. Titles,
// projects, subprojects and wrap-up notes vary like a real history (about 270 bytes a record).
inline FocusRecordList history(int count, double newestEnd)
{
    static const QString projects[] = {QStringLiteral("学习"), QStringLiteral("工作"),
        QStringLiteral("阅读"), QStringLiteral("未分类")};
    FocusRecordList records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        FocusRecord record;
        record.endedAt = newestEnd - 1800.0 * i;
        record.duration = 1500 - (i % 7) * 61.25;
        record.startedAt = record.endedAt - record.duration - (i % 3) * 30;
        record.title = QStringLiteral("整理第 %1 章的笔记").arg(count - i);
        record.project = projects[i % 4];
        if (i % 5 == 0)
            record.subproject = QStringLiteral("第 %1 单元").arg(i % 9);
        if (i % 3 == 0)
            record.wrapUp = QStringLiteral("完成了提纲，下一步写例题");
        record.early = i % 4 == 1;
        records.append(record);
    }
    return records;
}

inline std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size() && file.flush();
}

// Every entry of a folder but the expected names, hidden files included.
inline QStringList strayEntries(const QString &folder, const QStringList &expected)
{
    QStringList stray;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (!expected.contains(entry))
            stray.append(entry);
    }
    return stray;
}

// One session run to zero through the model's own operations; its natural end saves the record.
inline void finishSession(TimerModel &model, FakeClock &clock, const QString &title)
{
    model.reset();
    model.setTitle(title);
    model.start();
    clock.advance(model.duration());
    model.tick();
    clock.advance(5);
}

} // namespace FaultFixtures
