// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/csvexport.h"
#include "records/instant.h"

#include "doubles/failingfilewriter.h"

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QByteArray bom("\xEF\xBB\xBF");
const QLocale chinese(u"zh_CN"_s);

double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return Instant::fromDateTime(QDateTime(
        QDate(year, month, day), QTime(hour, minute, second), QTimeZone("Asia/Shanghai")));
}

FocusRecord record(const QString &title = u"读书"_s)
{
    FocusRecord r;
    r.title = title;
    r.project = u"学习"_s;
    r.startedAt = at(2024, 3, 5, 9, 0, 59);
    r.endedAt = at(2024, 3, 5, 9, 25, 59);
    r.duration = 1500.7;
    return r;
}

QString bodyOf(const QByteArray &csv)
{
    return QString::fromUtf8(csv.mid(bom.size()));
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void shouldWriteOnlyMarkAndHeaderForAnEmptyHistory()
    {
        QCOMPARE(CsvExport::build({}, chinese),
            bom + "日期,项目,事项,开始,结束,时长(秒),提前结束,收尾"_ba);
    }

    void shouldWriteOneQuotedLinePerRecordInListOrder()
    {
        FocusRecord later = record(u"写作"_s);
        later.endedAt = at(2024, 12, 31, 23, 59);
        later.startedAt = at(2024, 12, 31, 23, 30);
        later.early = true;
        later.wrapUp = u"下一步：改稿"_s;
        later.subproject = u"小说"_s;
        const QByteArray csv = CsvExport::build({record(), later}, chinese);

        QVERIFY(csv.startsWith(bom));
        QVERIFY(!csv.endsWith('\n'));
        QVERIFY(!csv.contains('\r'));
        const QStringList lines = bodyOf(csv).split(u'\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1),
            u"\"2024/3/5\",\"学习\",\"读书\",\"09:00\",\"09:25\",\"1500\",\"否\",\"收尾未补\""_s);
        QCOMPARE(lines.at(2),
            u"\"2024/12/31\",\"学习\",\"写作\",\"23:30\",\"23:59\",\"1500\",\"是\",\"下一步：改稿\""_s);
    }

    // The day it ended, in the locale's numeric order, always with the whole year.
    void shouldDateARecordByItsEnd_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");

        QTest::newRow("zh_CN") << u"zh_CN"_s << u"2024/3/5"_s;
        QTest::newRow("en_US, two-digit year in its short form") << u"en_US"_s << u"3/5/2024"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"05.03.2024"_s;
        QTest::newRow("ko_KR, year first") << u"ko_KR"_s << u"2024. 3. 5."_s;
        QTest::newRow("bg_BG, quoted text kept") << u"bg_BG"_s << u"5.03.2024 г."_s;
        QTest::newRow("C, month name in its short form") << u"C"_s << u"2024-03-05"_s;
    }

    void shouldDateARecordByItsEnd()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        FocusRecord overnight = record();
        overnight.startedAt = at(2024, 3, 4, 23, 50);
        overnight.endedAt = at(2024, 3, 5, 0, 10);
        QCOMPARE(CsvExport::line(overnight, QLocale(locale)),
            u'"' + date
                + u"\",\"学习\",\"读书\",\"23:50\",\"00:10\",\"1500\",\"否\",\"收尾未补\""_s);
    }

    void shouldQuoteCellsSoTheyStayWhole_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("cell");

        QTest::newRow("double quote") << u"读\"红楼\"梦"_s << u"\"读\"\"红楼\"\"梦\""_s;
        QTest::newRow("comma") << u"读书,写作"_s << u"\"读书,写作\""_s;
        QTest::newRow("line break")
            << u"第一行\n第二行\r\n第三行"_s << u"\"第一行\n第二行\r\n第三行\""_s;
        QTest::newRow("empty") << QString() << u"\"\""_s;
    }

    void shouldQuoteCellsSoTheyStayWhole()
    {
        QFETCH(QString, title);
        QFETCH(QString, cell);
        const QString line = CsvExport::line(record(title), chinese);
        QCOMPARE(line,
            u"\"2024/3/5\",\"学习\","_s + cell
                + u",\"09:00\",\"09:25\",\"1500\",\"否\",\"收尾未补\""_s);
    }

    void shouldGuardTextCellsAgainstFormulas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cell");

        QTest::newRow("equals") << u"=SUM(A1:A9)"_s << u"\"'=SUM(A1:A9)\""_s;
        QTest::newRow("plus") << u"+1"_s << u"\"'+1\""_s;
        QTest::newRow("minus") << u"-2"_s << u"\"'-2\""_s;
        QTest::newRow("at") << u"@cmd"_s << u"\"'@cmd\""_s;
        QTest::newRow("tab") << u"\tx"_s << u"\"'\tx\""_s;
        QTest::newRow("carriage return") << u"\rx"_s << u"\"'\rx\""_s;
        QTest::newRow("quote after the guard") << u"=\"x\""_s << u"\"'=\"\"x\"\"\""_s;
        QTest::newRow("not first") << u"a=b"_s << u"\"a=b\""_s;
        QTest::newRow("space first") << u" =b"_s << u"\" =b\""_s;
    }

    void shouldGuardTextCellsAgainstFormulas()
    {
        QFETCH(QString, text);
        QFETCH(QString, cell);

        FocusRecord r = record(text);
        r.project = text;
        r.wrapUp = text;
        const QString line = CsvExport::line(r, chinese);
        QCOMPARE(line,
            u"\"2024/3/5\","_s + cell + u',' + cell + u",\"09:00\",\"09:25\",\"1500\",\"否\","_s
                + cell);
    }

    void shouldNotGuardNumbersAndFixedCells()
    {
        FocusRecord r = record();
        r.duration = -5.5;
        QVERIFY(CsvExport::line(r, chinese).contains(u",\"-5\","_s));
    }

    void shouldExportEmptyWrapUpAsEmptyCell()
    {
        FocusRecord r = record();
        r.wrapUp = QString();
        QVERIFY(CsvExport::line(r, chinese).endsWith(u",\"否\",\"\""_s));
    }

    void shouldNotFailOnValuesNoClockCanHold_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("endedAt");
        QTest::addColumn<QString>("line");

        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("duration not a number")
            << nan << at(2024, 3, 5, 9, 25)
            << u"\"2024/3/5\",\"学习\",\"读书\",\"09:00\",\"09:25\",\"0\",\"否\",\"收尾未补\""_s;
        QTest::newRow("duration beyond 64 bits")
            << 1e300 << at(2024, 3, 5, 9, 25)
            << u"\"2024/3/5\",\"学习\",\"读书\",\"09:00\","
               u"\"09:25\",\"9223372036854775807\",\"否\",\"收尾未补\""_s;
        QTest::newRow("end not a number")
            << 1500.0 << nan
            << u"\"\",\"学习\",\"读书\",\"09:00\",\"\",\"1500\",\"否\",\"收尾未补\""_s;
        QTest::newRow("end infinite")
            << 1500.0 << inf
            << u"\"\",\"学习\",\"读书\",\"09:00\",\"\",\"1500\",\"否\",\"收尾未补\""_s;
    }

    void shouldNotFailOnValuesNoClockCanHold()
    {
        QFETCH(double, duration);
        QFETCH(double, endedAt);
        QFETCH(QString, line);

        FocusRecord r = record();
        r.startedAt = at(2024, 3, 5, 9, 0);
        r.duration = duration;
        r.endedAt = endedAt;
        QCOMPARE(CsvExport::line(r, chinese), line);
    }

    void shouldWriteTheBytesAtomically()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(CsvExport::suggestedFileName());
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content that is longer than the export");
        old.close();

        const FocusRecordList records = {record(), record(u"写作"_s)};
        const FileWriter::Result result =
            CsvExport::write(AtomicFileWriter::instance(), path, records, chinese);
        QVERIFY(result.ok);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), CsvExport::build(records, chinese));
    }

    void shouldReportTheReasonWhenWritingFails()
    {
        FailingFileWriter writer(u"磁盘已满"_s);
        const FileWriter::Result result =
            CsvExport::write(writer, u"/nowhere/专注记录.csv"_s, {record()});
        QVERIFY(!result.ok);
        QCOMPARE(result.error, u"磁盘已满"_s);
        QCOMPARE(writer.attempts, 1);
    }

    void shouldUseTheSystemLocaleByDefault()
    {
        QCOMPARE(CsvExport::line(record()), CsvExport::line(record(), chinese));
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
