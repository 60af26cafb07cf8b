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

// Records of one day follow one another, so the date text is made once per day.
class DateTexts {
public:
    explicit DateTexts(const QLocale &locale) : m_locale(locale) { }
    QString of(double instant)
    {
        const QDateTime local = Instant::toDateTime(instant);
        if (!local.isValid())
            return {};
        const QDate date = local.date();
        if (date != m_lastDate) {
            m_lastDate = date;
            m_lastText = m_locale.toString(date, QLocale::ShortFormat);
        }
        return m_lastText;
    }

private:
    const QLocale &m_locale;
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
