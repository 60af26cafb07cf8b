// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filewriter.h"
#include "records/focusrecord.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// The history as a CSV file for a spreadsheet: UTF-8 with a byte-order mark, one header line,
// one line per record in list order, every record cell quoted.
namespace CsvExport {

inline QString suggestedFileName()
{
    return QStringLiteral("专注记录.csv");
}
inline QString nameFilter()
{
    return QStringLiteral("CSV 文件 (*.csv)");
}
inline QString failurePrefix()
{
    return QStringLiteral("导出失败：");
}
inline QString header()
{
    return QStringLiteral("日期,项目,事项,开始,结束,时长(秒),提前结束,收尾");
}

// One cell: quoted, quotes doubled, line breaks and commas kept inside.
QString quoted(const QString &text);
// A text cell that a spreadsheet would take for a formula (=, +, -, @, a tab or a carriage return
// first) gets a leading apostrophe, then is quoted.
QString quotedText(const QString &text);

// Date in the locale's short numeric order with a four-digit year (ISO 8601 where the locale's
// short date is not all numbers), times as 24-hour HH:mm, all in local time.
QString line(const FocusRecord &record, const QLocale &locale = QLocale::system());
QByteArray build(const FocusRecordList &records, const QLocale &locale = QLocale::system());

// Builds and writes atomically; on failure the result carries the writer's reason.
FileWriter::Result write(FileWriter &writer, const QString &path, const FocusRecordList &records,
    const QLocale &locale = QLocale::system());

} // namespace CsvExport
