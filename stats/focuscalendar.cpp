// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/focuscalendar.h"

#include "records/instant.h"

#include <QDateTime>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Far enough from the ends of QDateTime's millisecond range that local-time conversions stay
// meaningful; no record or clock comes anywhere near.
constexpr int yearLimit = 200'000'000;
constexpr qint64 dayLimit = qint64(yearLimit) * 366;

bool usable(const QDate &date)
{
    return date.isValid() && std::abs(date.year()) < yearLimit;
}

std::optional<FocusCalendar::Interval> daysFrom(const QDate &first, int count)
{
    if (!usable(first) || !usable(first.addDays(count)))
        return {};
    const QDateTime start = first.startOfDay();
    const QDateTime end = first.addDays(count).startOfDay();
    if (!start.isValid() || !end.isValid())
        return {};
    return FocusCalendar::Interval {Instant::fromDateTime(start), Instant::fromDateTime(end)};
}

struct Field {
    QChar letter;
    int count = 0;
    qsizetype begin = 0;
    qsizetype end = 0;
};

// The month and day fields of a date format, with the literal text between them. Quoted text
// ('...', with '' for a quote) is literal.
QString monthDayFrom(const QString &format)
{
    std::optional<Field> month;
    std::optional<Field> day;
    QString between;
    bool seenOtherField = false;
    qsizetype i = 0;
    while (i < format.size() && !(month && day)) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            qsizetype j = i + 1;
            QString literal;
            while (j < format.size()) {
                if (format.at(j) == u'\'') {
                    if (j + 1 < format.size() && format.at(j + 1) == u'\'') {
                        literal += u'\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                literal += format.at(j++);
            }
            if (month || day)
                between += literal;
            i = j + 1;
            continue;
        }
        if (c.isLetter()) {
            qsizetype j = i;
            while (j < format.size() && format.at(j) == c)
                ++j;
            const int count = int(j - i);
            if (c == u'M' && !month)
                month = Field {c, count, i, j};
            else if (c == u'd' && count <= 2 && !day)
                day = Field {c, count, i, j};
            else if (month || day)
                seenOtherField = true;
            i = j;
            continue;
        }
        if (month || day)
            between += c;
        ++i;
    }
    if (!month || !day || seenOtherField || between.isEmpty())
        return u"MM/dd"_s;
    QString quoted = between;
    quoted.replace(u"'"_s, u"''"_s);
    quoted = u'\'' + quoted + u'\'';
    return month->begin < day->begin ? u"MM"_s + quoted + u"dd"_s : u"dd"_s + quoted + u"MM"_s;
}

} // namespace

Qt::DayOfWeek FocusCalendar::firstDayOfWeekOf(const QLocale &locale)
{
    if (locale.language() == QLocale::Chinese)
        return Qt::Monday;
    return locale.firstDayOfWeek();
}

FocusCalendar::FocusCalendar(Qt::DayOfWeek firstDayOfWeek, const QLocale &locale)
    : m_firstDay(
        firstDayOfWeek >= Qt::Monday && firstDayOfWeek <= Qt::Sunday ? firstDayOfWeek : Qt::Monday),
      m_locale(locale),
      m_monthDayFormat(monthDayFrom(locale.dateFormat(QLocale::ShortFormat)))
{
}

QDate FocusCalendar::date(double instant) const
{
    const QDateTime local = Instant::toDateTime(instant);
    return local.isValid() ? local.date() : QDate();
}

std::optional<FocusCalendar::Interval> FocusCalendar::day(double instant) const
{
    return daysFrom(date(instant), 1);
}

std::optional<FocusCalendar::Interval> FocusCalendar::week(double instant) const
{
    const QDate today = date(instant);
    if (!usable(today))
        return {};
    const int back = (today.dayOfWeek() - int(m_firstDay) + 7) % 7;
    return daysFrom(today.addDays(-back), 7);
}

std::optional<double> FocusCalendar::addDays(double instant, qint64 days) const
{
    if (days > dayLimit || days < -dayLimit)
        return {};
    const QDateTime local = Instant::toDateTime(instant);
    if (!local.isValid())
        return {};
    const QDateTime moved = local.addDays(days);
    if (!moved.isValid() || !usable(moved.date()))
        return {};
    // QDateTime keeps milliseconds; carry the finer part of the instant over unchanged.
    return Instant::fromDateTime(moved) + (instant - Instant::fromDateTime(local));
}

std::optional<double> FocusCalendar::addWeeks(double instant, qint64 weeks) const
{
    if (weeks > dayLimit / 7 || weeks < -dayLimit / 7)
        return {};
    return addDays(instant, weeks * 7);
}

QString FocusCalendar::monthDay(double instant) const
{
    return m_locale.toString(date(instant), m_monthDayFormat);
}
