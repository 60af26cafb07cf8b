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
    // A record's own texts

    void shouldWriteDurationText_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<QString>("text");
        QTest::newRow("hour drops seconds") << 3661.0 << u"1小时1分钟"_s;
        QTest::newRow("negative hour stays in seconds") << -3600.0 << u"-3600秒"_s;
        QTest::newRow("NaN counts as zero") << notANumber << u"0秒"_s;
        // 2^63 - 1 seconds: 2562047788015215 hours and 30 minutes.
        QTest::newRow("huge clamps") << 1e300 << u"2562047788015215小时30分钟"_s;
    }

    void shouldWriteDurationText()
    {
        QFETCH(double, duration);
        QFETCH(QString, text);
        FocusRecord record;
        record.duration = duration;
        QCOMPARE(record.durationText(), text);
    }

    // The history list's filters, delete and undo

    void shouldFilterByRangeProjectAndSearch_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("titles");
        const auto row = [](const char *name, const QString &range, const QString &project,
                             const QString &search, const QStringList &titles) {
            QTest::newRow(name) << range << project << search << titles;
        };
        const QString all = u"全部"_s;
        const QString allProjects = u"全部项目"_s;
        const QStringList abc = {u"xabcx"_s, u"写作"_s, u"跑步"_s};

        row("today by end, not start", u"今天"_s, allProjects, {}, {u"xabcx"_s});
        row("search ignores case in title and wrap-up, not project", all, allProjects, u"ABC"_s,
            abc);
        row("all three together", all, u"ABC项目"_s, u"abc"_s, {u"写作"_s});
    }

    void shouldFilterByRangeProjectAndSearch()
    {
        QFETCH(QString, range);
        QFETCH(QString, project);
        QFETCH(QString, search);
        QFETCH(QStringList, titles);
        QCOMPARE(::titles(RecordQueries::visibleRecords(history, filter(range, project, search))),
            titles);
    }

    void shouldFilterTheWeekByIdsAndTodayByAPlacedEnd()
    {
        RecordQueries::Filter week = filter(u"本周"_s);
        week.weekIds = {history.at(2).id, history.at(4).id};
        QCOMPARE(titles(RecordQueries::visibleRecords(history, week)),
            (QStringList {u"写作"_s, u"跑步"_s}));
        week.weekIds.clear();
        QVERIFY(RecordQueries::visibleRecords(history, week).isEmpty());

        RecordQueries::Filter today = filter(u"今天"_s);
        FocusRecord broken = record(u"坏"_s, notANumber);
        QVERIFY(RecordQueries::visibleRecords({broken}, today).isEmpty());
        today.today.reset(); // today cannot be placed
        QVERIFY(RecordQueries::visibleRecords(history, today).isEmpty());
    }

    void shouldFoldTheDotlessIInTurkish()
    {
        RecordQueries::Filter turkish = filter(u"全部"_s, u"全部项目"_s, u"bakır"_s);
        turkish.locale = QLocale(u"tr_TR"_s);
        QCOMPARE(RecordQueries::visibleRecords({record(u"DİYARBAKIR"_s, 0)}, turkish).size(), 1);
    }

    // An edited file may give two records one id: a delete removes exactly the one asked for,
    // and its undo brings back exactly that one.
    void shouldRemoveExactlyOneRecordSharingItsId_data()
    {
        QTest::addColumn<FocusRecordList>("list");
        QTest::addColumn<FocusRecord>("asked");
        QTest::addColumn<QStringList>("remaining");

        FocusRecord twin = history.at(3);
        twin.title = u"读书（副本）"_s;
        twin.endedAt -= 60;
        const FocusRecordList twins = {history.at(2), history.at(3), twin};
        QTest::newRow("the later of two") << twins << twin << QStringList {u"写作"_s, u"读书"_s};
        FocusRecord renamed = history.at(3);
        renamed.project = u"改名后"_s;
        QTest::newRow("none equal in every field: the first with the id")
            << twins << renamed << QStringList {u"写作"_s, u"读书（副本）"_s};
    }

    void shouldRemoveExactlyOneRecordSharingItsId()
    {
        QFETCH(FocusRecordList, list);
        QFETCH(FocusRecord, asked);
        QFETCH(QStringList, remaining);

        QVERIFY(!RecordQueries::withoutRecord(list, record(u"新"_s, 0))); // not in the list
        const auto after = RecordQueries::withoutRecord(list, asked);
        QVERIFY(after);
        QCOMPARE(titles(*after), remaining);
        if (list.contains(asked))
            QCOMPARE(RecordQueries::withRestored(*after, asked), list);
    }

    void shouldRestoreInEndOrderBeforeEqualEnds()
    {
        const FocusRecord twin = record(u"同时"_s, history.at(2).endedAt);
        QCOMPARE(titles(RecordQueries::withRestored(history, twin)),
            (QStringList {u"明日"_s, u"xabcx"_s, u"同时"_s, u"写作"_s, u"读书"_s, u"跑步"_s}));

        // A record added out of order in between is put in place too.
        const FocusRecordList list = {record(u"新"_s, at(2024, 3, 1)), record(u"无"_s, notANumber),
            record(u"中"_s, at(2024, 3, 5)), record(u"旧"_s, at(2024, 2, 1))};
        QCOMPARE(titles(RecordQueries::withRestored(list, record(u"回"_s, at(2024, 3, 3)))),
            (QStringList {u"中"_s, u"回"_s, u"新"_s, u"旧"_s, u"无"_s}));
    }

    // The CSV export

    void shouldWriteMarkHeaderAndOneQuotedLinePerRecordInListOrder()
    {
        QCOMPARE(CsvExport::build({}, chinese),
            bom + "日期,项目,事项,开始,结束,时长(秒),提前结束,收尾"_ba);

        FocusRecord later = record(u"写作"_s, at(2024, 12, 31, 23, 59));
        later.startedAt = at(2024, 12, 31, 23, 30);
        later.early = true;
        later.wrapUp = u"下一步：改稿"_s;
        later.subproject = u"小说"_s;
        FocusRecord first = record(u"读书"_s);
        first.startedAt = at(2024, 3, 5, 9, 0, 59);
        first.duration = 1500.7;
        const QByteArray csv = CsvExport::build({first, later}, chinese);
        QVERIFY(csv.startsWith(bom));
        const QStringList lines = QString::fromUtf8(csv.mid(bom.size())).split(u'\n');
        QCOMPARE(lines.mid(1),
            (QStringList {csvLine(),
                csvLine({{0, u"2024/12/31"_s}, {2, u"写作"_s}, {3, u"23:30"_s}, {4, u"23:59"_s},
                    {6, u"是"_s}, {7, u"下一步：改稿"_s}})}));
        QCOMPARE(CsvExport::line(first), csvLine()); // in the system's locale by default
    }

    // The day it ended, in the locale's numeric order, always with the whole year.
    void shouldDateARecordByItsEnd_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::newRow("en_US, two-digit year in its short form") << u"en_US"_s << u"3/5/2024"_s;
        QTest::newRow("bg_BG, quoted text kept") << u"bg_BG"_s << u"5.03.2024 г."_s;
        QTest::newRow("C, month name in its short form") << u"C"_s << u"2024-03-05"_s;
    }

    void shouldDateARecordByItsEnd()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        FocusRecord overnight = record(u"读书"_s, at(2024, 3, 5, 0, 10));
        overnight.startedAt = at(2024, 3, 4, 23, 50);
        QCOMPARE(CsvExport::line(overnight, QLocale(locale)),
            csvLine({{0, date}, {3, u"23:50"_s}, {4, u"00:10"_s}}));
    }

    // Quoted so that cells stay whole; a text a spreadsheet would take for a formula is guarded.
    void shouldQuoteAndGuardTextCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cell"); // without its outer quotes
        QTest::newRow("double quote") << u"读\"红楼\"梦"_s << u"读\"\"红楼\"\"梦"_s;
        QTest::newRow("quote after the guard") << u"=\"x\""_s << u"'=\"\"x\"\""_s;
        QTest::newRow("not first") << u"a=b"_s << u"a=b"_s;
    }

    void shouldQuoteAndGuardTextCells()
    {
        QFETCH(QString, text);
        QFETCH(QString, cell);
        FocusRecord r = record(text);
        r.project = text;
        r.wrapUp = text;
        QCOMPARE(CsvExport::line(r, chinese), csvLine({{1, cell}, {2, cell}, {7, cell}}));
    }

    void shouldNotFailOnValuesNoClockCanHold()
    {
        FocusRecord r = record(u"读书"_s, at(2024, 3, 5, 9, 25));
        r.startedAt = at(2024, 3, 5, 9, 0);
        r.duration = 1e300;
        QCOMPARE(CsvExport::line(r, chinese), csvLine({{5, u"9223372036854775807"_s}}));
        r.duration = 1500;
        r.endedAt = notANumber;
        QCOMPARE(CsvExport::line(r, chinese), csvLine({{0, {}}, {4, {}}}));
    }
};

QTEST_GUILESS_MAIN(TestRecordViews)
#include "tst_recordviews.moc"
