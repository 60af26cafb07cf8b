// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds records from arbitrary bytes and exports them. The CSV must always be the byte-order
// mark, the header and one line per record; every cell quoted; the texts unchanged but for the
// apostrophe that keeps a spreadsheet from taking a text for a formula; the other cells plain
// dates, times and numbers.

#include "records/csvexport.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Characters that matter to CSV, spreadsheets and UTF-8, plus any UTF-16 unit at all.
QString fuzzedText(FuzzedDataProvider &provider)
{
    static const char16_t interesting[] = {u'"', u',', u'\n', u'\r', u'=', u'+', u'-', u'@', u'\t',
        u'\'', u' ', u'a', u'0', u'中', 0x202E, 0xFEFF, 0xD800, 0xDC00, 0x0000, 0xFFFF};
    const std::size_t length = provider.ConsumeIntegralInRange<std::size_t>(0, 24);
    QString text;
    for (std::size_t i = 0; i < length && provider.remaining_bytes() > 0; ++i) {
        if (provider.ConsumeBool())
            text += QChar(provider.PickValueInArray(interesting));
        else
            text += QChar(provider.ConsumeIntegral<char16_t>());
    }
    return text;
}

double fuzzedInstant(FuzzedDataProvider &provider)
{
    static const double special[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
        std::numeric_limits<double>::denorm_min(), 9.2233720368547758e18, -9.2233720368547758e18,
        8.0e15, -8.0e15, 700000000.0};
    switch (provider.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return provider.PickValueInArray(special);
    case 1:
        return 700000000.0 + provider.ConsumeIntegralInRange<int>(-100000000, 100000000);
    default:
        return provider.ConsumeFloatingPoint<double>();
    }
}

FocusRecord fuzzedRecord(FuzzedDataProvider &provider)
{
    FocusRecord record;
    record.title = fuzzedText(provider);
    record.project = fuzzedText(provider);
    if (provider.ConsumeBool())
        record.subproject = fuzzedText(provider);
    if (provider.ConsumeBool())
        record.wrapUp = fuzzedText(provider);
    record.startedAt = fuzzedInstant(provider);
    record.endedAt = fuzzedInstant(provider);
    record.duration = fuzzedInstant(provider);
    record.early = provider.ConsumeBool();
    return record;
}

[[noreturn]] void failWith(const char *what, const QString &context)
{
    const QByteArray text = context.toUtf8();
    std::fprintf(stderr, "%s\nat: %.*s\n", what, int(std::min<qsizetype>(text.size(), 2000)),
        text.constData());
    std::abort();
}

// Reads one quoted cell at pos, which must open with a quote; pos ends past the closing quote.
QString readQuotedCell(const QString &text, qsizetype &pos)
{
    if (pos >= text.size() || text.at(pos) != u'"')
        failWith("a cell is not quoted", text.mid(pos, 200));
    QString cell;
    for (++pos; pos < text.size(); ++pos) {
        if (text.at(pos) != u'"') {
            cell += text.at(pos);
        } else if (pos + 1 < text.size() && text.at(pos + 1) == u'"') {
            cell += u'"';
            ++pos;
        } else {
            ++pos;
            return cell;
        }
    }
    failWith("a quoted cell is not closed", text.right(200));
}

// The text as the UTF-8 file holds it (a lone surrogate cannot be written as itself). A leading
// U+FEFF is a character of the text here, not a byte-order mark.
QString asWritten(const QString &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(text.toUtf8());
}

void checkTextCell(const QString &cell, const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    const QString written = asWritten(text);
    const bool guarded = !written.isEmpty() && formulaStarts.contains(written.front());
    if (cell != (guarded ? u'\'' + written : written))
        failWith("a text cell does not hold its text", cell);
    if (!cell.isEmpty() && formulaStarts.contains(cell.front()))
        failWith("a cell that looks like a formula is not guarded", cell);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    FocusRecordList records;
    while (provider.remaining_bytes() > 0 && records.size() < 64)
        records.append(fuzzedRecord(provider));

    static const QLocale locale(QLocale::Chinese, QLocale::China);
    const QByteArray bytes = CsvExport::build(records, locale);
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        failWith("no byte-order mark", QString::fromUtf8(bytes.left(20)));
    const QString text = QString::fromUtf8(bytes.mid(3));
    const QString header = CsvExport::header();
    if (!text.startsWith(header))
        failWith("no header", text.left(200));
    if (text.endsWith(u'\n'))
        failWith("a line feed after the last line", text.right(200));

    static const QRegularExpression dateCell(QStringLiteral("^[0-9/-]*$"));
    static const QRegularExpression timeCell(QStringLiteral("^([0-9]{2}:[0-9]{2})?$"));
    static const QRegularExpression secondsCell(QStringLiteral("^-?[0-9]+$"));
    qsizetype pos = header.size();
    for (const FocusRecord &record : records) {
        if (pos >= text.size() || text.at(pos) != u'\n')
            failWith("a record does not start a line of its own", text.mid(pos, 200));
        ++pos;
        QStringList cells;
        for (int column = 0; column < 8; ++column) {
            if (column > 0) {
                if (pos >= text.size() || text.at(pos) != u',')
                    failWith("a line does not have 8 cells", text.mid(pos, 200));
                ++pos;
            }
            cells.append(readQuotedCell(text, pos));
        }
        if (!dateCell.match(cells[0]).hasMatch())
            failWith("a date cell is not a date", cells[0]);
        checkTextCell(cells[1], record.project);
        checkTextCell(cells[2], record.title);
        if (!timeCell.match(cells[3]).hasMatch() || !timeCell.match(cells[4]).hasMatch())
            failWith("a time cell is not a time", cells[3] + u' ' + cells[4]);
        if (!secondsCell.match(cells[5]).hasMatch())
            failWith("a duration cell is not whole seconds", cells[5]);
        if (cells[6] != (record.early ? u"是" : u"否"))
            failWith("the early cell is wrong", cells[6]);
        if (record.wrapUp)
            checkTextCell(cells[7], *record.wrapUp);
        else if (cells[7] != u"收尾未补")
            failWith("a missing wrap-up is not marked", cells[7]);
    }
    if (pos != text.size())
        failWith("more lines than records", text.mid(pos, 200));
    return 0;
}
