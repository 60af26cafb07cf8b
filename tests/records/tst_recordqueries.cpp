// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/instant.h"
#include "records/recordqueries.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

double at(int year, int month, int day, int hour = 0, int minute = 0)
{
    return Instant::fromDateTime(
        QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone("Asia/Shanghai")));
}

FocusRecord record(const QString &title, double endedAt, const QString &project = u"学习"_s,
    std::optional<QString> wrapUp = {})
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
    f.locale = QLocale(u"zh_CN"_s);
    return f;
}

const FocusRecordList history = {
    record(u"明日"_s, at(2024, 3, 14, 0, 0)),
    record(u"xabcx"_s, at(2024, 3, 13, 0, 10)), // started yesterday, ended today
    record(u"写作"_s, at(2024, 3, 12, 22, 0), u"ABC项目"_s, u"Abc"_s),
    record(u"读书"_s, at(2024, 3, 12, 21, 0), u"ABC项目"_s),
    record(u"跑步"_s, at(2024, 3, 1, 7, 0), u"运动"_s, u"下次 abc"_s),
};

} // namespace

class TestRecordQueries : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldShowEveryRecordInOrderWithoutFilters()
    {
        QCOMPARE(RecordQueries::visibleRecords(history, filter()), history);
        QCOMPARE(RecordQueries::visibleRecords(history, filter(u"anything"_s)), history);
    }

    void shouldFilterByRangeProjectAndSearch_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("titles");

        QTest::newRow("today by end, not start")
            << u"今天"_s << u"全部项目"_s << QString() << QStringList {u"xabcx"_s};
        QTest::newRow("project exactly")
            << u"全部"_s << u"ABC项目"_s << QString() << QStringList {u"写作"_s, u"读书"_s};
        QTest::newRow("project differing in case")
            << u"全部"_s << u"abc项目"_s << QString() << QStringList {};
        QTest::newRow("unknown project") << u"全部"_s << u"不存在"_s << QString() << QStringList {};
        QTest::newRow("search ignores case in title and wrap-up, not project")
            << u"全部"_s << u"全部项目"_s << u"ABC"_s
            << QStringList {u"xabcx"_s, u"写作"_s, u"跑步"_s};
        QTest::newRow("search is trimmed") << u"全部"_s << u"全部项目"_s << u" \n abc\t"_s
                                           << QStringList {u"xabcx"_s, u"写作"_s, u"跑步"_s};
        QTest::newRow("spaces only filter nothing")
            << u"全部"_s << u"全部项目"_s << u"   "_s
            << QStringList {u"明日"_s, u"xabcx"_s, u"写作"_s, u"读书"_s, u"跑步"_s};
        QTest::newRow("full-width letters are not folded")
            << u"全部"_s << u"全部项目"_s << u"ＡＢＣ"_s << QStringList {};
        QTest::newRow("all three together")
            << u"全部"_s << u"ABC项目"_s << u"abc"_s << QStringList {u"写作"_s};
        QTest::newRow("nothing matches") << u"今天"_s << u"运动"_s << QString() << QStringList {};
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

    void shouldTakeTheWeekFromItsIds()
    {
        RecordQueries::Filter week = filter(u"本周"_s);
        week.weekIds = {history.at(2).id, history.at(4).id};
        QCOMPARE(titles(RecordQueries::visibleRecords(history, week)),
            (QStringList {u"写作"_s, u"跑步"_s}));
        week.weekIds.clear();
        QVERIFY(RecordQueries::visibleRecords(history, week).isEmpty());
    }

    void shouldShowNothingForTodayWhenTodayCannotBePlaced()
    {
        RecordQueries::Filter today = filter(u"今天"_s);
        today.today.reset();
        QVERIFY(RecordQueries::visibleRecords(history, today).isEmpty());
    }

    void shouldFoldTheDotlessIInTurkish()
    {
        const FocusRecordList list = {record(u"DİYARBAKIR"_s, 0)};
        RecordQueries::Filter turkish = filter(u"全部"_s, u"全部项目"_s, u"bakır"_s);
        turkish.locale = QLocale(u"tr_TR"_s);
        QCOMPARE(RecordQueries::visibleRecords(list, turkish).size(), 1);
    }

    void shouldSkipRecordsWithoutAnEndForToday()
    {
        FocusRecord broken = record(u"坏"_s, 0);
        broken.endedAt = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(RecordQueries::visibleRecords({broken}, filter(u"今天"_s)).isEmpty());
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
        QTest::newRow("the earlier of two")
            << twins << history.at(3) << QStringList {u"写作"_s, u"读书（副本）"_s};
        QTest::newRow("one of two equal in every field")
            << FocusRecordList {history.at(3), history.at(3), history.at(4)} << history.at(3)
            << QStringList {u"读书"_s, u"跑步"_s};
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

        const auto after = RecordQueries::withoutRecord(list, asked);
        QVERIFY(after);
        QCOMPARE(titles(*after), remaining);
        if (list.contains(asked))
            QCOMPARE(RecordQueries::withRestored(*after, asked), list);
    }

    void shouldReportDeletingAnAbsentRecordAsNoChange()
    {
        QVERIFY(!RecordQueries::withoutRecord(history, record(u"新"_s, 0)));
        QVERIFY(!RecordQueries::withoutRecord({}, history.first()));
    }

    void shouldRestoreInEndOrderBeforeEqualEnds()
    {
        const auto remaining = RecordQueries::withoutRecord(history, history.at(3));
        QVERIFY(remaining);
        QCOMPARE(RecordQueries::withRestored(*remaining, history.at(3)), history);

        FocusRecord twin = record(u"同时"_s, history.at(2).endedAt);
        const FocusRecordList restored = RecordQueries::withRestored(history, twin);
        QCOMPARE(titles(restored),
            (QStringList {u"明日"_s, u"xabcx"_s, u"同时"_s, u"写作"_s, u"读书"_s, u"跑步"_s}));
    }

    void shouldBringBackOnlyTheLastDeleted()
    {
        // Delete A, then B, then undo: B comes back, A stays deleted.
        const FocusRecord a = history.at(1);
        const FocusRecord b = history.at(4);
        const FocusRecordList afterA = *RecordQueries::withoutRecord(history, a);
        const FocusRecordList afterB = *RecordQueries::withoutRecord(afterA, b);
        QVERIFY(!RecordQueries::withoutRecord(afterB, b)); // a second delete does nothing
        const FocusRecordList undone = RecordQueries::withRestored(afterB, b);
        QCOMPARE(undone, afterA);
    }

    void shouldOrderTheWholeListOnUndo()
    {
        // A record added out of order in between is put in place too.
        FocusRecordList list = {record(u"新"_s, at(2024, 3, 1)), record(u"中"_s, at(2024, 3, 5)),
            record(u"旧"_s, at(2024, 2, 1))};
        FocusRecord nan = record(u"无"_s, 0);
        nan.endedAt = std::numeric_limits<double>::quiet_NaN();
        list.insert(1, nan);
        const FocusRecordList restored =
            RecordQueries::withRestored(list, record(u"回"_s, at(2024, 3, 3)));
        QCOMPARE(titles(restored), (QStringList {u"中"_s, u"回"_s, u"新"_s, u"旧"_s, u"无"_s}));
    }
};

QTEST_GUILESS_MAIN(TestRecordQueries)
#include "tst_recordqueries.moc"
