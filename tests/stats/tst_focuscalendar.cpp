// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stats/focuscalendar.h"
#include "statstestdata.h"

#include <QTest>

#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;
using StatsTestData::at;

class TestFocusCalendar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldStartChineseWeeksOnMonday_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("firstDay");

        QTest::newRow("zh_CN") << u"zh_CN"_s << int(Qt::Monday);
        QTest::newRow("zh_TW") << u"zh_TW"_s << int(Qt::Monday);
        QTest::newRow("zh_HK") << u"zh_HK"_s << int(Qt::Monday);
        QTest::newRow("zh_SG") << u"zh_SG"_s << int(Qt::Monday);
        QTest::newRow("en_US keeps its own") << u"en_US"_s << int(Qt::Sunday);
        QTest::newRow("ar_EG keeps its own") << u"ar_EG"_s << int(Qt::Saturday);
    }

    void shouldStartChineseWeeksOnMonday()
    {
        QFETCH(QString, locale);
        QFETCH(int, firstDay);
        QCOMPARE(int(FocusCalendar::firstDayOfWeekOf(QLocale(locale))), firstDay);
        // The runner pins the zh_CN locale.
        QCOMPARE(QLocale::system().name(), u"zh_CN"_s);
        QCOMPARE(FocusCalendar::systemFirstDayOfWeek(), Qt::Monday);
    }

    void shouldTakeMonthAndDayOrderFromTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");

        QTest::newRow("zh_CN") << u"zh_CN"_s << u"03/05"_s;
        QTest::newRow("en_US") << u"en_US"_s << u"03/05"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"05.03"_s;
        QTest::newRow("en_GB") << u"en_GB"_s << u"05/03"_s;
        QTest::newRow("sv_SE") << u"sv_SE"_s << u"03-05"_s;
        QTest::newRow("ko_KR") << u"ko_KR"_s << u"03. 05"_s;
    }

    void shouldTakeMonthAndDayOrderFromTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const FocusCalendar calendar(Qt::Monday, QLocale(locale));
        QCOMPARE(calendar.monthDay(at(2024, 3, 5, 23, 59)), text);
    }

    void shouldBoundDaysAtLocalMidnight()
    {
        const FocusCalendar calendar(Qt::Monday, QLocale(u"zh_CN"_s));
        const auto day = calendar.day(at(2024, 3, 5, 23, 59, 59));
        QVERIFY(day);
        QCOMPARE(day->start, at(2024, 3, 5));
        QCOMPARE(day->end, at(2024, 3, 6));
        QVERIFY(day->contains(at(2024, 3, 5)));
        QVERIFY(!day->contains(at(2024, 3, 6)));
    }

    void shouldStartWeeksOnTheChosenDay_data()
    {
        QTest::addColumn<int>("firstDay");
        QTest::addColumn<double>("instant");
        QTest::addColumn<double>("start");

        QTest::newRow("Monday-first, Sunday night")
            << int(Qt::Monday) << at(2024, 3, 17, 23, 59) << at(2024, 3, 11);
        QTest::newRow("Monday-first, Monday midnight")
            << int(Qt::Monday) << at(2024, 3, 18) << at(2024, 3, 18);
        QTest::newRow("Sunday-first, Sunday night")
            << int(Qt::Sunday) << at(2024, 3, 17, 23, 59) << at(2024, 3, 17);
        QTest::newRow("Saturday-first, Friday")
            << int(Qt::Saturday) << at(2024, 3, 15, 8, 0) << at(2024, 3, 9);
    }

    void shouldStartWeeksOnTheChosenDay()
    {
        QFETCH(int, firstDay);
        QFETCH(double, instant);
        QFETCH(double, start);
        const FocusCalendar calendar(Qt::DayOfWeek(firstDay), QLocale(u"zh_CN"_s));
        const auto week = calendar.week(instant);
        QVERIFY(week);
        QCOMPARE(week->start, start);
        QCOMPARE(week->end, start + 7 * 86400.0);
    }

    void shouldMoveByCalendarDaysKeepingTheFraction()
    {
        const FocusCalendar calendar;
        const double instant = at(2024, 3, 13, 12, 0) + 0.0001234;
        const std::optional<double> earlier = calendar.addWeeks(instant, -2);
        const std::optional<double> later = calendar.addDays(instant, 1);
        QVERIFY(earlier && later);
        QCOMPARE(*earlier, instant - 14 * 86400.0);
        QCOMPARE(*later, instant + 86400.0);
    }

    void shouldRefuseWhatNoCalendarCanHold()
    {
        const FocusCalendar calendar;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(!calendar.day(nan));
        QVERIFY(!calendar.week(std::numeric_limits<double>::infinity()));
        QVERIFY(!calendar.day(1e300));
        QVERIFY(!calendar.addDays(nan, 1));
        QVERIFY(!calendar.addWeeks(0, std::numeric_limits<qint64>::max()));
        QVERIFY(!calendar.addDays(0, std::numeric_limits<qint64>::min()));
        QVERIFY(!calendar.date(nan).isValid());
        QCOMPARE(calendar.monthDay(nan), QString());
    }

    void shouldFollowDaylightSavingDays()
    {
        // A 23-hour day: New York moved its clocks forward on 10 March 2024.
        const QByteArray savedZone = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        tzset();
        const FocusCalendar calendar(Qt::Sunday, QLocale(u"en_US"_s));
        const double noon = Instant::fromDateTime(QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        const auto day = calendar.day(noon);
        const auto week = calendar.week(noon);
        const auto nextDay = calendar.addDays(noon, 1);
        qputenv("TZ", savedZone);
        tzset();

        QVERIFY(day);
        QCOMPARE(day->end - day->start, 23 * 3600.0);
        QVERIFY(week);
        QCOMPARE(week->end - week->start, 7 * 86400.0 - 3600.0);
        QVERIFY(nextDay);
        QCOMPARE(*nextDay - noon, 86400.0);
    }
};

QTEST_GUILESS_MAIN(TestFocusCalendar)
#include "tst_focuscalendar.moc"
