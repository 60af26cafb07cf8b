// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/csvexport.h"

#include "records/instant.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace CsvExport {

namespace {

QString timeText(double instant)
{
    const QDateTime local = Instant::toDateTime(instant);
    return local.isValid() ? local.time().toString(u"HH:mm"_s) : QString();
}

// The locale's short date with its fields in their order and the year in four digits, so no
// century is left to guess; where the short date is not all numbers (the C locale writes the
// month's name), ISO 8601.
QString numericDateFormat(const QLocale &locale)
{
    static const QString iso = u"yyyy-MM-dd"_s;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString numeric;
    bool year = false;
    bool month = false;
    bool day = false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            // Quoted text is kept as it is, quotes included.
            qsizetype j = i + 1;
            while (j < format.size()) {
                if (format.at(j) == u'\'' && j + 1 < format.size() && format.at(j + 1) == u'\'')
                    j += 2;
                else if (format.at(j) == u'\'')
                    break;
                else
                    ++j;
            }
            numeric += format.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        if (!c.isLetter()) {
            numeric += c;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < format.size() && format.at(j) == c)
            ++j;
        const qsizetype count = j - i;
        if (c == u'y') {
            numeric += u"yyyy"_s; // a two-digit year leaves the century open
            year = true;
        } else if (c == u'M' && count <= 2) {
            numeric += format.mid(i, count);
            month = true;
        } else if (c == u'd' && count <= 2) {
            numeric += format.mid(i, count);
            day = true;
        } else {
            return iso; // a month or weekday name, or a field that is not a date's
        }
        i = j;
    }
    return year && month && day ? numeric : iso;
}

// Records of one day follow one another, so the date text is made once per day.
class DateTexts {
public:
    explicit DateTexts(const QLocale &locale)
        : m_locale(locale), m_format(numericDateFormat(locale))
    {
    }
    QString of(double instant)
    {
        const QDateTime local = Instant::toDateTime(instant);
        if (!local.isValid())
            return {};
        const QDate date = local.date();
        if (date != m_lastDate) {
            m_lastDate = date;
            m_lastText = m_locale.toString(date, m_format);
        }
        return m_lastText;
    }

private:
    const QLocale &m_locale;
    QString m_format;
    QDate m_lastDate;
    QString m_lastText;
};

QString lineWith(const FocusRecord &record, DateTexts &dates)
{
    return quoted(dates.of(record.endedAt)) + u',' + quotedText(record.project) + u','
        + quotedText(record.title) + u',' + quoted(timeText(record.startedAt)) + u','
        + quoted(timeText(record.endedAt)) + u','
        + quoted(QString::number(RecordMath::wholeSeconds(record.duration))) + u','
        + quoted(record.early ? u"是"_s : u"否"_s) + u','
        + (record.wrapUp ? quotedText(*record.wrapUp) : quoted(u"收尾未补"_s));
}

} // namespace

QString quoted(const QString &text)
{
    QString cell = text;
    cell.replace(u'"', u"\"\""_s);
    return u'"' + cell + u'"';
}

QString quotedText(const QString &text)
{
    static const QString formulaStarts = u"=+-@\t\r"_s;
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return quoted(u'\'' + text);
    return quoted(text);
}

QString line(const FocusRecord &record, const QLocale &locale)
{
    DateTexts dates(locale);
    return lineWith(record, dates);
}

QByteArray build(const FocusRecordList &records, const QLocale &locale)
{
    DateTexts dates(locale);
    QString text = header();
    for (const FocusRecord &record : records)
        text += u'\n' + lineWith(record, dates);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

FileWriter::Result write(
    FileWriter &writer, const QString &path, const FocusRecordList &records, const QLocale &locale)
{
    return writer.writeAtomically(path, build(records, locale));
}

} // namespace CsvExport
