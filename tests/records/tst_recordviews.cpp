// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/csvexport.h"
#include "records/focusrecord.h"
#include "records/instant.h"
#include "records/recordqueries.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const QByteArray bom("\xEF\xBB\xBF");
const QLocale chinese(u"zh_CN"_s);

// Wall-clock times in Shanghai, as the runner's TZ.
double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return Instant::fromDateTime(QDateTime(
        QDate(year, month, day), QTime(hour, minute, second), QTimeZone("Asia/Shanghai")));
}

FocusRecord record(const QString &title, double endedAt = at(2024, 3, 5, 9, 25, 59),
    const QString &project = u"学习"_s, std::optional<QString> wrapUp = {})
{
    FocusRecord r;
    r.title = title;
    r.startedAt = endedAt - 1500;
    r.endedAt = endedAt;
    r.duration = 1500;
    r.project = project;
    r.wrapUp = std::move(wrapUp);
    return r;
}

QStringList titles(const FocusRecordList &records)
{
    QStringList list;
    for (const FocusRecord &r : records)
        list.append(r.title);
    return list;
}

// Today is 13 March 2024 in Shanghai.
RecordQueries::Filter filter(const QString &range = u"全部"_s,
    const QString &project = u"全部项目"_s, const QString &search = {})
{
    RecordQueries::Filter f;
    f.range = range;
    f.project = project;
    f.search = search;
    f.today = std::pair {at(2024, 3, 13), at(2024, 3, 14)};
    f.locale = chinese;
    return f;
}

const FocusRecordList history = {
    record(u"明日"_s, at(2024, 3, 14, 0, 0)),
    record(u"xabcx"_s, at(2024, 3, 13, 0, 10)), // started yesterday, ended today
    record(u"写作"_s, at(2024, 3, 12, 22, 0), u"ABC项目"_s, u"Abc"_s),
    record(u"读书"_s, at(2024, 3, 12, 21, 0), u"ABC项目"_s),
    record(u"跑步"_s, at(2024, 3, 1, 7, 0), u"运动"_s, u"下次 abc"_s),
};

// The CSV line of record(u"读书"_s) with the given cells replaced: each cell quoted.
QString csvLine(const QMap<int, QString> &changed = {})
{
    QStringList cells = {u"2024/3/5"_s, u"学习"_s, u"读书"_s, u"09:00"_s, u"09:25"_s, u"1500"_s,
        u"否"_s, u"收尾未补"_s};
    for (auto it = changed.begin(); it != changed.end(); ++it)
        cells[it.key()] = it.value();
    return u'"' + cells.join(u"\",\""_s) + u'"';
}

} // namespace

class TestRecordViews : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldWriteDurationText()
    {
        const auto text = [](double duration) {
            FocusRecord record;
            record.duration = duration;
            return record.durationText();
        };
        QCOMPARE(text(3661), u"1小时1分钟"_s); // an hour drops the seconds
        QCOMPARE(text(-3600), u"-3600秒"_s); // a negative hour stays in seconds
        QCOMPARE(text(notANumber), u"0秒"_s);
        QCOMPARE(text(1e300), u"2562047788015215小时30分钟"_s); // 2^63 - 1 seconds
    }

    // The history list's filters, delete and undo

    void shouldFilterByRangeProjectAndSearch()
    {
        const auto visible = [](const RecordQueries::Filter &filter) {
            return titles(RecordQueries::visibleRecords(history, filter));
        };
        QCOMPARE(visible(filter(u"今天"_s)), QStringList {u"xabcx"_s}); // by end, not start
        // Case is ignored in title and wrap-up; the project is not searched.
        QCOMPARE(visible(filter(u"全部"_s, u"全部项目"_s, u" ABC\t"_s)),
            (QStringList {u"xabcx"_s, u"写作"_s, u"跑步"_s}));
        QCOMPARE(visible(filter(u"全部"_s, u"ABC项目"_s, u"abc"_s)), QStringList {u"写作"_s});

        RecordQueries::Filter week = filter(u"本周"_s);
        week.weekIds = {history.at(2).id, history.at(4).id};
        QCOMPARE(visible(week), (QStringList {u"写作"_s, u"跑步"_s}));

        RecordQueries::Filter today = filter(u"今天"_s);
        QVERIFY(RecordQueries::visibleRecords({record(u"坏"_s, notANumber)}, today).isEmpty());
        today.today.reset(); // today cannot be placed
        QVERIFY(visible(today).isEmpty());
    }

    void shouldFoldTheDotlessIInTurkish()
    {
        RecordQueries::Filter turkish = filter(u"全部"_s, u"全部项目"_s, u"bakır"_s);
        turkish.locale = QLocale(u"tr_TR"_s);
        QCOMPARE(RecordQueries::visibleRecords({record(u"DİYARBAKIR"_s, 0)}, turkish).size(), 1);
    }

    // An edited file may give two records one id: a delete removes exactly the one asked for,
    // its undo brings back exactly that one, and a record not in the list is no change.
    void shouldRemoveExactlyOneRecordSharingItsId()
    {
        FocusRecord twin = history.at(3);
        twin.title = u"读书（副本）"_s;
        twin.endedAt -= 60;
        const FocusRecordList twins = {history.at(2), history.at(3), twin};
        QVERIFY(!RecordQueries::withoutRecord(twins, record(u"新"_s, 0)));

        const auto after = RecordQueries::withoutRecord(twins, twin);
        QVERIFY(after);
        QCOMPARE(titles(*after), (QStringList {u"写作"_s, u"读书"_s}));
        QCOMPARE(RecordQueries::withRestored(*after, twin), twins);

        FocusRecord renamed = history.at(3); // none equal in every field: the first with the id
        renamed.project = u"改名后"_s;
        QCOMPARE(titles(RecordQueries::withoutRecord(twins, renamed).value_or(twins)),
            (QStringList {u"写作"_s, u"读书（副本）"_s}));
    }

    void shouldRestoreInEndOrderBeforeEqualEnds()
    {
        const FocusRecord twin = record(u"同时"_s, history.at(2).endedAt);
        QCOMPARE(titles(RecordQueries::withRestored(history, twin)),
            (QStringList {u"明日"_s, u"xabcx"_s, u"同时"_s, u"写作"_s, u"读书"_s, u"跑步"_s}));
    }

    // The CSV export

    void shouldWriteMarkHeaderAndOneQuotedLinePerRecordInListOrder()
    {
        FocusRecord later = record(u"写作"_s, at(2024, 12, 31, 23, 59));
        later.startedAt = at(2024, 12, 31, 23, 30);
        later.early = true;
        later.wrapUp = u"下一步：改稿"_s;
        later.subproject = u"小说"_s;
        FocusRecord first = record(u"读书"_s);
        first.startedAt = at(2024, 3, 5, 9, 0, 59);
        first.duration = 1500.7;
        const QByteArray csv = CsvExport::build({first, later}, chinese);
        QCOMPARE(QString::fromUtf8(csv).split(u'\n'),
            (QStringList {
                QString::fromUtf8(bom) + u"日期,项目,事项,开始,结束,时长(秒),提前结束,收尾"_s,
                csvLine(),
                csvLine({{0, u"2024/12/31"_s}, {2, u"写作"_s}, {3, u"23:30"_s}, {4, u"23:59"_s},
                    {6, u"是"_s}, {7, u"下一步：改稿"_s}})}));
        QCOMPARE(CsvExport::line(first), csvLine()); // in the system's locale by default
    }

    // The day it ended, in the locale's numeric order, always with the whole year.
    void shouldDateARecordByItsEnd()
    {
        FocusRecord overnight = record(u"读书"_s, at(2024, 3, 5, 0, 10));
        overnight.startedAt = at(2024, 3, 4, 23, 50);
        const auto line = [&overnight](const char *locale, const QString &date) {
            return CsvExport::line(overnight, QLocale(QString::fromLatin1(locale)))
                == csvLine({{0, date}, {3, u"23:50"_s}, {4, u"00:10"_s}});
        };
        QVERIFY(line("en_US", u"3/5/2024"_s)); // a two-digit year in its short form
        QVERIFY(line("bg_BG", u"5.03.2024 г."_s)); // quoted text kept
        QVERIFY(line("C", u"2024-03-05"_s)); // a month name in its short form
    }

    // Quoted so that cells stay whole; a text a spreadsheet would take for a formula is guarded.
    void shouldQuoteAndGuardTextCells()
    {
        const auto line = [](const QString &text) {
            FocusRecord r = record(text);
            r.project = text;
            r.wrapUp = text;
            return CsvExport::line(r, chinese);
        };
        const auto cells = [](const QString &cell) {
            return csvLine({{1, cell}, {2, cell}, {7, cell}});
        };
        QCOMPARE(line(u"读\"红楼\"梦"_s), cells(u"读\"\"红楼\"\"梦"_s));
        QCOMPARE(line(u"=\"x\""_s), cells(u"'=\"\"x\"\""_s));
        QCOMPARE(line(u"\rx"_s), cells(u"'\rx"_s));
        QCOMPARE(line(u"a=b"_s), cells(u"a=b"_s));
    }

    void shouldNotFailOnValuesNoClockCanHold()
    {
        FocusRecord r = record(u"读书"_s, at(2024, 3, 5, 9, 25));
        r.startedAt = at(2024, 3, 5, 9, 0);
        r.endedAt = notANumber;
        QCOMPARE(CsvExport::line(r, chinese), csvLine({{0, {}}, {4, {}}}));
    }
};

QTEST_GUILESS_MAIN(TestRecordViews)
#include "tst_recordviews.moc"
