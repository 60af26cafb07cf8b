// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

// The user's calendar as the figures see it: local days and weeks in the process's time zone,
// weeks starting on a chosen weekday. Instants are seconds since 2001-01-01 00:00:00 UTC.
// Every operation that the calendar cannot carry out (an instant no date can hold, a shift past
// the end of time) gives an absent result instead of failing.
class FocusCalendar {
public:
    // A span of instants, start included, end excluded: one local day or one week.
    struct Interval {
        double start = 0;
        double end = 0;
        bool contains(double instant) const { return start <= instant && instant < end; }
        friend bool operator==(const Interval &, const Interval &) = default;
    };

    // The locale's first weekday, except that every Chinese locale starts the week on Monday
    // (Qt's locale data says Sunday for some of them, the users' calendars say Monday).
    static Qt::DayOfWeek firstDayOfWeekOf(const QLocale &locale);
    static Qt::DayOfWeek systemFirstDayOfWeek() { return firstDayOfWeekOf(QLocale::system()); }

    explicit FocusCalendar(Qt::DayOfWeek firstDayOfWeek = systemFirstDayOfWeek(),
        const QLocale &locale = QLocale::system());

    Qt::DayOfWeek firstDayOfWeek() const { return m_firstDay; }
    const QLocale &locale() const { return m_locale; }

    // The local day that contains the instant: local midnight to the next local midnight.
    std::optional<Interval> day(double instant) const;
    // The week that contains the instant, from local midnight of its first weekday.
    std::optional<Interval> week(double instant) const;
    // Same local time of day, that many days or weeks later (earlier when negative).
    std::optional<double> addDays(double instant, qint64 days) const;
    std::optional<double> addWeeks(double instant, qint64 weeks) const;
    // The local date of an instant; invalid when no date can hold it.
    QDate date(double instant) const;

    // Two-digit month and day in the locale's order and with its separator ("03/05" in zh_CN,
    // "05.03" in de_DE).
    QString monthDay(double instant) const;
    QString monthDayFormat() const { return m_monthDayFormat; }

private:
    Qt::DayOfWeek m_firstDay;
    QLocale m_locale;
    QString m_monthDayFormat;
};
