// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/focusrecord.h"

#include <QMetaProperty>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

class TestFocusRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldWriteDurationText_data();
    void shouldWriteDurationText();
    void shouldTruncateWholeSecondsAndClampToSigned64Bit_data();
    void shouldTruncateWholeSecondsAndClampToSigned64Bit();
    void shouldBuildRecordWithDefaultsAndFreshIds();
    void shouldExposeUpperCaseIdAndOptionalTextsToViews();
};

void TestFocusRecord::shouldWriteDurationText_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<QString>("text");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("zero") << 0.0 << u"0秒"_s;
    QTest::newRow("just under a minute") << 59.9 << u"59秒"_s;
    QTest::newRow("one minute") << 60.0 << u"1分钟"_s;
    QTest::newRow("minute and a half") << 90.0 << u"1分钟30秒"_s;
    QTest::newRow("just under an hour") << 3599.0 << u"59分钟59秒"_s;
    QTest::newRow("one hour") << 3600.0 << u"1小时0分钟"_s;
    QTest::newRow("hour drops seconds") << 3661.0 << u"1小时1分钟"_s;
    QTest::newRow("more than a day") << 90000.0 << u"25小时0分钟"_s;
    QTest::newRow("fraction truncated") << 1500.999 << u"25分钟"_s;
    QTest::newRow("negative truncates toward zero") << -5.5 << u"-5秒"_s;
    QTest::newRow("negative hour stays in seconds") << -3600.0 << u"-3600秒"_s;
    QTest::newRow("negative fraction") << -0.9 << u"0秒"_s;
    QTest::newRow("NaN counts as zero") << std::nan("") << u"0秒"_s;
    QTest::newRow("infinity counts as zero") << inf << u"0秒"_s;
    QTest::newRow("minus infinity counts as zero") << -inf << u"0秒"_s;
    // 2^63 - 1 seconds: 2562047788015215 hours and 30 minutes.
    QTest::newRow("huge clamps") << 1e300 << u"2562047788015215小时30分钟"_s;
    QTest::newRow("huge negative clamps") << -1e300 << u"-9223372036854775808秒"_s;
}

void TestFocusRecord::shouldWriteDurationText()
{
    QFETCH(double, duration);
    QFETCH(QString, text);
    FocusRecord record;
    record.duration = duration;
    QCOMPARE(record.durationText(), text);
}

void TestFocusRecord::shouldTruncateWholeSecondsAndClampToSigned64Bit_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("whole");

    constexpr qint64 max = std::numeric_limits<qint64>::max();
    constexpr qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("fraction") << 59.999 << qint64(59);
    QTest::newRow("negative fraction") << -59.999 << qint64(-59);
    QTest::newRow("largest double below 2^63")
        << 9223372036854774784.0 << qint64(9223372036854774784);
    QTest::newRow("2^63") << 9223372036854775808.0 << max;
    QTest::newRow("-2^63") << -9223372036854775808.0 << min;
    QTest::newRow("below -2^63") << -1e19 << min;
    QTest::newRow("NaN") << std::nan("") << qint64(0);
}

void TestFocusRecord::shouldTruncateWholeSecondsAndClampToSigned64Bit()
{
    QFETCH(double, seconds);
    QFETCH(qint64, whole);
    QCOMPARE(RecordMath::wholeSeconds(seconds), whole);
}

void TestFocusRecord::shouldBuildRecordWithDefaultsAndFreshIds()
{
    const FocusRecord a;
    const FocusRecord b;
    QVERIFY(!a.id.isNull());
    QVERIFY(a.id != b.id);
    QCOMPARE(a.project, u"未分类"_s);
    QVERIFY(!a.subproject.has_value());
    QVERIFY(!a.wrapUp.has_value());
    QVERIFY(!a.early);
    QVERIFY(a != b); // the same record only when the ids are equal too
}

void TestFocusRecord::shouldExposeUpperCaseIdAndOptionalTextsToViews()
{
    FocusRecord record;
    record.id = QUuid(u"e621e1f8-c36c-495a-93fc-0c247a3e6e5f"_s);
    record.subproject = QString();
    record.duration = 90;
    const QMetaObject &meta = FocusRecord::staticMetaObject;
    auto read = [&](const char *name) {
        return meta.property(meta.indexOfProperty(name)).readOnGadget(&record);
    };
    QCOMPARE(read("id").toString(), u"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"_s);
    QCOMPARE(read("hasSubproject").toBool(), true); // an empty subproject is still one
    QCOMPARE(read("hasWrapUp").toBool(), false);
    QCOMPARE(read("wrapUp").toString(), QString());
    QCOMPARE(read("durationText").toString(), u"1分钟30秒"_s);
}

QTEST_GUILESS_MAIN(TestFocusRecord)
#include "tst_focusrecord.moc"
