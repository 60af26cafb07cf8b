// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/json/recordcodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using RecordCodec::DecodeError;

Q_DECLARE_METATYPE(RecordCodec::DecodeError)

namespace {

const QUuid fixedId(u"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"_s);

FocusRecord makeRecord(const QString &title, double endedAt)
{
    FocusRecord record;
    record.title = title;
    record.startedAt = endedAt - 1500;
    record.endedAt = endedAt;
    record.duration = 1500;
    record.project = u"学习"_s;
    return record;
}

// One element with the three required numbers and the given extra members.
QByteArray element(const QByteArray &members = {})
{
    QByteArray text = R"({"startedAt":0,"endedAt":0,"duration":0)";
    if (!members.isEmpty())
        text += ',' + members;
    return text + '}';
}

// "[a,b,…]" from the given elements.
QByteArray array(std::initializer_list<QByteArray> elements)
{
    QByteArray text = "[";
    for (const QByteArray &item : elements) {
        if (text.size() > 1)
            text += ',';
        text += item;
    }
    return text + ']';
}

QByteArray nested(int depth, const QByteArray &inner = "0")
{
    return QByteArray(depth, '[') + inner + QByteArray(depth, ']');
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

bool sameBits(double a, double b)
{
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

} // namespace

class TestRecordCodec : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldDecideWholeFile_data();
    void shouldDecideWholeFile();
    void shouldFillMissingOrWrongFields_data();
    void shouldFillMissingOrWrongFields();
    void shouldReadIds_data();
    void shouldReadIds();
    void shouldReadNumbers_data();
    void shouldReadNumbers();
    void shouldReadMinimalElementAsUnnamedRecordAtReferenceEpoch();
    void shouldKeepTwoRecordsWithEqualIds();
    void shouldSortNewestFirstKeepingOrderOfEqualEnds();
    void shouldWriteCompactFormWithoutOptionalKeys();
    void shouldWriteOptionalKeysWhenPresentEvenIfEmpty();
    void shouldWriteEmptyListAsEmptyArray();
    void shouldWriteNumbersInShortestForm_data();
    void shouldWriteNumbersInShortestForm();
    void shouldRoundTripRandomDoublesBitForBit();
    void shouldRoundTripHostileStrings_data();
    void shouldRoundTripHostileStrings();
    void shouldRoundTripWhenOutputOutgrowsItsEstimate();
    void shouldWriteJsonThatAnotherParserReads();
    void shouldReEncodeDecodedListToSameBytes();
};

void TestRecordCodec::shouldDecideWholeFile_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<DecodeError>("error");
    QTest::addColumn<int>("count");

    const QByteArray good = element();
    const auto ok = DecodeError::None;
    const auto notJson = DecodeError::NotJson;
    const auto corrupt = DecodeError::Corrupt;

    QTest::newRow("empty array") << "[]"_ba << ok << 0;
    QTest::newRow("empty array with white space") << " \n\t[ ]\r\n"_ba << ok << 0;
    QTest::newRow("byte-order mark before array") << "\xEF\xBB\xBF[]"_ba << ok << 0;
    QTest::newRow("one good element") << array({good}) << ok << 1;
    QTest::newRow("one of three lacks duration")
        << array({good, R"({"startedAt":0,"endedAt":0})", good}) << ok << 2;
    QTest::newRow("date string makes element skipped")
        << array({good, R"({"startedAt":"2024-05-01T10:00:00Z","endedAt":0,"duration":0})"}) << ok
        << 1;
    QTest::newRow("null required value skipped")
        << array({good, R"({"startedAt":null,"endedAt":0,"duration":0})"}) << ok << 1;
    QTest::newRow("boolean required value skipped")
        << array({good, R"({"startedAt":0,"endedAt":true,"duration":0})"}) << ok << 1;
    QTest::newRow("number as string skipped")
        << array({good, R"({"startedAt":0,"endedAt":0,"duration":"1500"})"}) << ok << 1;
    QTest::newRow("unknown keys with nested values ignored")
        << array({element(R"("extra":{"a":[1,{"b":null}],"c":"\""},"more":[])")}) << ok << 1;
    QTest::newRow("deep nesting inside an ignored key")
        << array({element("\"deep\":" + nested(5000))}) << ok << 1;

    QTest::newRow("empty input") << QByteArray() << notJson << 0;
    QTest::newRow("only white space") << " \n "_ba << notJson << 0;
    QTest::newRow("plain text") << "keine Daten"_ba << notJson << 0;
    QTest::newRow("truncated") << R"([{"startedAt":0,"endedAt":0,"dura)"_ba << notJson << 0;
    QTest::newRow("missing closing bracket") << QByteArray('[' + good) << notJson << 0;
    QTest::newRow("trailing data") << "[] []"_ba << notJson << 0;
    QTest::newRow("trailing comma in array") << QByteArray('[' + good + ",]") << notJson << 0;
    QTest::newRow("trailing comma in object") << R"([{"startedAt":0,}])"_ba << notJson << 0;
    QTest::newRow("single quotes") << "[{'startedAt':0}]"_ba << notJson << 0;
    QTest::newRow("comment") << "[/* none */]"_ba << notJson << 0;
    QTest::newRow("NaN literal") << R"([{"startedAt":NaN,"endedAt":0,"duration":0}])"_ba << notJson
                                 << 0;
    QTest::newRow("Infinity literal") << R"([{"startedAt":Infinity}])"_ba << notJson << 0;
    QTest::newRow("leading zero") << R"([{"startedAt":01}])"_ba << notJson << 0;
    QTest::newRow("plus sign") << R"([{"startedAt":+1}])"_ba << notJson << 0;
    QTest::newRow("bare fraction") << R"([{"startedAt":.5}])"_ba << notJson << 0;
    QTest::newRow("dot without digits") << R"([{"startedAt":1.}])"_ba << notJson << 0;
    QTest::newRow("exponent without digits") << R"([{"startedAt":1e}])"_ba << notJson << 0;
    QTest::newRow("raw line break in string")
        << array({element("\"title\":\"a\nb\"")}) << notJson << 0;
    QTest::newRow("invalid UTF-8 byte") << array({element("\"title\":\"\xFF\"")}) << notJson << 0;
    QTest::newRow("overlong UTF-8") << array({element("\"title\":\"\xC0\xAF\"")}) << notJson << 0;
    QTest::newRow("UTF-8 surrogate")
        << array({element("\"title\":\"\xED\xA0\x80\"")}) << notJson << 0;
    QTest::newRow("UTF-8 beyond U+10FFFF")
        << array({element("\"title\":\"\xF4\x90\x80\x80\"")}) << notJson << 0;
    QTest::newRow("truncated UTF-8") << array({element("\"title\":\"\xE4\xB8\"")}) << notJson << 0;
    QTest::newRow("unknown escape") << array({element(R"("title":"\x41")")}) << notJson << 0;
    QTest::newRow("short unicode escape") << array({element(R"("title":"\u12")")}) << notJson << 0;
    QTest::newRow("byte-order mark twice") << "\xEF\xBB\xBF\xEF\xBB\xBF[]"_ba << notJson << 0;
    QTest::newRow("nesting beyond the limit")
        << array({element("\"deep\":" + nested(200000))}) << notJson << 0;
    QTest::newRow("unclosed deep nesting") << QByteArray(300000, '[') << notJson << 0;
    QTest::newRow("non-JSON after a non-object element") << "[1, x]"_ba << notJson << 0;

    QTest::newRow("one empty object") << "[{}]"_ba << corrupt << 0;
    QTest::newRow("only unusable elements")
        << R"([{"title":"a"},{"startedAt":"0"}])"_ba << corrupt << 0;
    QTest::newRow("top-level record-shaped object") << good << corrupt << 0;
    QTest::newRow("top-level number") << "42"_ba << corrupt << 0;
    QTest::newRow("top-level string") << R"("[]")"_ba << corrupt << 0;
    QTest::newRow("top-level null") << "null"_ba << corrupt << 0;
    QTest::newRow("number among good elements") << array({good, "1", good}) << corrupt << 0;
    QTest::newRow("string among good elements") << array({good, R"("x")"}) << corrupt << 0;
    QTest::newRow("null element") << array({good, "null"}) << corrupt << 0;
    QTest::newRow("array element") << array({good, array({good})}) << corrupt << 0;
    QTest::newRow("deeply nested top-level arrays") << nested(5000) << corrupt << 0;
}

void TestRecordCodec::shouldDecideWholeFile()
{
    QFETCH(QByteArray, json);
    QFETCH(DecodeError, error);
    QFETCH(int, count);

    const RecordCodec::DecodeResult result = RecordCodec::decode(json);
    QCOMPARE(result.error, error);
    QCOMPARE(result.records.size(), count);
    QCOMPARE(result.errorText.isEmpty(), result.ok());
}

void TestRecordCodec::shouldFillMissingOrWrongFields_data()
{
    QTest::addColumn<QByteArray>("members");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QVariant>("subproject"); // invalid: absent
    QTest::addColumn<QVariant>("wrapUp");
    QTest::addColumn<bool>("early");

    const QString unnamed = u"未命名专注"_s;
    const QString none = u"未分类"_s;
    const QVariant absent;

    QTest::newRow("all given")
        << R"("title":"读书","project":"学习","subproject":"英语","wrapUp":"读完第三章","early":true)"_ba
        << u"读书"_s << u"学习"_s << QVariant(u"英语"_s) << QVariant(u"读完第三章"_s) << true;
    QTest::newRow("null title falls back to task")
        << R"("title":null,"task":"旧版事项")"_ba << u"旧版事项"_s << none << absent << absent
        << false;
    QTest::newRow("task alone") << R"("task":"旧版事项")"_ba << u"旧版事项"_s << none << absent
                                << absent << false;
    QTest::newRow("empty title is a title")
        << R"("title":"","task":"旧版事项")"_ba << QString() << none << absent << absent << false;
    QTest::newRow("number title and number task")
        << R"("title":1,"task":2)"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("project not a string")
        << R"("project":["学习"])"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("empty project is a project")
        << R"("project":"")"_ba << unnamed << QString() << absent << absent << false;
    QTest::newRow("null subproject and wrap-up")
        << R"("subproject":null,"wrapUp":null)"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("number subproject and object wrap-up")
        << R"("subproject":3,"wrapUp":{})"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("empty subproject and wrap-up are present")
        << R"("subproject":"","wrapUp":"")"_ba << unnamed << none << QVariant(QString())
        << QVariant(QString()) << false;
    QTest::newRow("early as number")
        << R"("early":1)"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("early as string")
        << R"("early":"true")"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("early null") << R"("early":null)"_ba << unnamed << none << absent << absent
                                << false;
    QTest::newRow("last of repeated keys counts")
        << R"("title":"一","title":"二","early":true,"early":false)"_ba << u"二"_s << none << absent
        << absent << false;
    QTest::newRow("repeated key ending with wrong type")
        << R"("project":"工作","project":null)"_ba << unnamed << none << absent << absent << false;
    QTest::newRow("escaped key names") << R"("\u0074itle":"转义","proj\u0065ct":"工作")"_ba
                                       << u"转义"_s << u"工作"_s << absent << absent << false;
    QTest::newRow("escapes in values")
        << R"("title":"a\/b\u00e9\u00C9\ud83d\ude00\"\\\b\f\n\r\t")"_ba << u"a/béÉ😀\"\\\b\f\n\r\t"_s
        << none << absent << absent << false;
    QTest::newRow("keys are case sensitive") << R"("Title":"x","Project":"y","Early":true)"_ba
                                             << unnamed << none << absent << absent << false;
}

void TestRecordCodec::shouldFillMissingOrWrongFields()
{
    QFETCH(QByteArray, members);
    QFETCH(QString, title);
    QFETCH(QString, project);
    QFETCH(QVariant, subproject);
    QFETCH(QVariant, wrapUp);
    QFETCH(bool, early);

    const auto result = RecordCodec::decode(array({element(members)}));
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.records.size(), 1);
    const FocusRecord &record = result.records.first();
    QCOMPARE(record.title, title);
    QCOMPARE(record.project, project);
    QCOMPARE(record.subproject.has_value(), subproject.isValid());
    QCOMPARE(record.subprojectText(), subproject.toString());
    QCOMPARE(record.wrapUp.has_value(), wrapUp.isValid());
    QCOMPARE(record.wrapUpText(), wrapUp.toString());
    QCOMPARE(record.early, early);
}

void TestRecordCodec::shouldReadIds_data()
{
    QTest::addColumn<QByteArray>("id"); // the JSON value
    QTest::addColumn<QString>("kept"); // empty: a fresh id

    const QString upper = u"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"_s;
    QTest::newRow("upper case") << R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")"_ba << upper;
    QTest::newRow("lower case") << R"("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")"_ba << upper;
    QTest::newRow("escaped") << R"("\u0045621E1F8-C36C-495A-93FC-0C247A3E6E5F")"_ba << upper;
    QTest::newRow("nil") << R"("00000000-0000-0000-0000-000000000000")"_ba
                         << u"00000000-0000-0000-0000-000000000000"_s;
    QTest::newRow("35 characters") << R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5")"_ba << QString();
    QTest::newRow("37 characters") << R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5FF")"_ba << QString();
    QTest::newRow("braces") << R"("{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}")"_ba << QString();
    QTest::newRow("no hyphens") << R"("E621E1F8C36C495A93FC0C247A3E6E5F")"_ba << QString();
    QTest::newRow("hyphen moved") << R"("E621E1F-8C36C-495A-93FC-0C247A3E6E5F")"_ba << QString();
    QTest::newRow("not hexadecimal") << R"("G621E1F8-C36C-495A-93FC-0C247A3E6E5F")"_ba << QString();
    QTest::newRow("full-width digit") << QByteArray("\"\xEF\xBC\x91"
                                                    "621E1F8-C36C-495A-93FC-0C247A3E6E\"")
                                      << QString();
    QTest::newRow("number") << "42"_ba << QString();
    QTest::newRow("null") << "null"_ba << QString();
}

void TestRecordCodec::shouldReadIds()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, kept);

    const QByteArray json = array({element("\"id\":" + id)});
    const auto first = RecordCodec::decode(json);
    const auto second = RecordCodec::decode(json);
    QVERIFY2(first.ok(), qPrintable(first.errorText));
    if (kept.isEmpty()) {
        QVERIFY(!first.records[0].id.isNull());
        QVERIFY(first.records[0].id != second.records[0].id); // new at every start
    } else {
        QCOMPARE(first.records[0].idText(), kept);
    }
}

void TestRecordCodec::shouldReadNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("integer") << "3600"_ba << 3600.0;
    QTest::newRow("fraction") << "0.1"_ba << 0.1;
    QTest::newRow("negative") << "-5.5"_ba << -5.5;
    QTest::newRow("upper-case exponent") << "1E2"_ba << 100.0;
    QTest::newRow("signed exponent") << "1.5e+3"_ba << 1500.0;
    QTest::newRow("exponent with leading zeros") << "1e-007"_ba << 1e-7;
    QTest::newRow("negative zero") << "-0"_ba << -0.0;
    QTest::newRow("long integer") << "12345678901234567890"_ba << 12345678901234567890.0;
    QTest::newRow("smallest subnormal")
        << "4.9e-324"_ba << std::numeric_limits<double>::denorm_min();
    QTest::newRow("largest double")
        << "1.7976931348623157e308"_ba << std::numeric_limits<double>::max();
    QTest::newRow("overflow") << "1e400"_ba << inf;
    QTest::newRow("negative overflow") << "-1e400"_ba << -inf;
    QTest::newRow("overflow by digits") << QByteArray(400, '9') << inf;
    QTest::newRow("huge exponent") << "1e99999999999999999999"_ba << inf;
    QTest::newRow("underflow") << "1e-400"_ba << 0.0;
    QTest::newRow("negative underflow") << "-1e-400"_ba << -0.0;
    QTest::newRow("underflow with leading zeros") << "0.000001e-330"_ba << 0.0;
    QTest::newRow("zero with huge exponent") << "0e99999"_ba << 0.0;
}

void TestRecordCodec::shouldReadNumbers()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);

    const auto result =
        RecordCodec::decode("[{\"startedAt\":0,\"endedAt\":0,\"duration\":" + text + "}]");
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    const double read = result.records[0].duration;
    QVERIFY2(sameBits(read, value), qPrintable(QString::number(read, 'g', 17)));
}

void TestRecordCodec::shouldReadMinimalElementAsUnnamedRecordAtReferenceEpoch()
{
    const auto result = RecordCodec::decode(R"([{"startedAt":0,"endedAt":0,"duration":0}])");
    QVERIFY(result.ok());
    QCOMPARE(result.records.size(), 1);
    const FocusRecord &record = result.records[0];
    QVERIFY(!record.id.isNull());
    QCOMPARE(record.title, u"未命名专注"_s);
    QCOMPARE(record.startedAt, 0.0);
    QCOMPARE(record.endedAt, 0.0);
    QCOMPARE(record.duration, 0.0);
    QCOMPARE(record.project, u"未分类"_s);
    QVERIFY(!record.subproject);
    QVERIFY(!record.wrapUp);
    QVERIFY(!record.early);
}

void TestRecordCodec::shouldKeepTwoRecordsWithEqualIds()
{
    const QByteArray id = R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F")";
    const auto result = RecordCodec::decode(array({element(id), element(id)}));
    QCOMPARE(result.records.size(), 2);
    QCOMPARE(result.records[0].id, fixedId);
    QCOMPARE(result.records[1].id, fixedId);
}

void TestRecordCodec::shouldSortNewestFirstKeepingOrderOfEqualEnds()
{
    // 60 records over three end times, shuffled; titles carry the array position.
    FocusRecordList list;
    QRandomGenerator random(7);
    for (int i = 0; i < 60; ++i)
        list.append(makeRecord(QString::number(i), 1000.0 * random.bounded(3)));

    const auto result = RecordCodec::decode(RecordCodec::encode(list));
    QCOMPARE(result.records.size(), 60);
    for (qsizetype i = 1; i < result.records.size(); ++i) {
        const FocusRecord &before = result.records[i - 1];
        const FocusRecord &after = result.records[i];
        QVERIFY(before.endedAt >= after.endedAt);
        if (before.endedAt == after.endedAt)
            QVERIFY(before.title.toInt() < after.title.toInt());
    }
    QCOMPARE(result.records.first().endedAt, 2000.0);
}

void TestRecordCodec::shouldWriteCompactFormWithoutOptionalKeys()
{
    FocusRecord record;
    record.id = fixedId;
    record.title = u"未命名专注"_s;
    record.startedAt = 3600;
    record.endedAt = 5100;
    record.duration = 1500;
    record.project = u"学习"_s;

    const QByteArray expected =
        R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"未命名专注",)"
        R"("startedAt":3600,"endedAt":5100,"duration":1500,"project":"学习","early":false}])";
    QCOMPARE(RecordCodec::encode({record}), expected);

    const auto back = RecordCodec::decode(expected);
    QCOMPARE(back.records, FocusRecordList {record});
}

void TestRecordCodec::shouldWriteOptionalKeysWhenPresentEvenIfEmpty()
{
    FocusRecord record = makeRecord(u"写作"_s, 5000);
    record.id = fixedId;
    record.subproject = QString();
    record.wrapUp = u"下一步：改稿"_s;
    record.early = true;

    const QByteArray bytes = RecordCodec::encode({record});
    QVERIFY(bytes.contains(R"("subproject":"")"));
    QVERIFY(bytes.contains(R"("wrapUp":"下一步：改稿")"));
    QVERIFY(bytes.contains(R"("early":true)"));
    QCOMPARE(RecordCodec::decode(bytes).records, FocusRecordList {record});
}

void TestRecordCodec::shouldWriteEmptyListAsEmptyArray()
{
    QCOMPARE(RecordCodec::encode({}), "[]"_ba);
}

void TestRecordCodec::shouldWriteNumbersInShortestForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("readBack");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("whole") << 3600.0 << "3600"_ba << 3600.0;
    QTest::newRow("million stays plain") << 1e6 << "1000000"_ba << 1e6;
    QTest::newRow("tenth") << 0.1 << "0.1"_ba << 0.1;
    QTest::newRow("negative") << -5.5 << "-5.5"_ba << -5.5;
    QTest::newRow("instant") << 786543210.1234568 << "786543210.1234568"_ba << 786543210.1234568;
    QTest::newRow("negative zero") << -0.0 << "-0"_ba << -0.0;
    QTest::newRow("small plain") << 0.000001 << "0.000001"_ba << 0.000001;
    QTest::newRow("small exponent") << 1e-7 << "1e-7"_ba << 1e-7;
    QTest::newRow("large plain") << 1e20 << "100000000000000000000"_ba << 1e20;
    QTest::newRow("large exponent") << 1.5e21 << "1.5e21"_ba << 1.5e21;
    QTest::newRow("largest") << std::numeric_limits<double>::max() << "1.7976931348623157e308"_ba
                             << std::numeric_limits<double>::max();
    QTest::newRow("subnormal") << std::numeric_limits<double>::denorm_min() << "5e-324"_ba
                               << std::numeric_limits<double>::denorm_min();
    QTest::newRow("infinity") << inf << "1e999"_ba << inf;
    QTest::newRow("minus infinity") << -inf << "-1e999"_ba << -inf;
    QTest::newRow("NaN written as zero") << std::nan("") << "0"_ba << 0.0;
}

void TestRecordCodec::shouldWriteNumbersInShortestForm()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QFETCH(double, readBack);

    FocusRecord record = makeRecord(u"x"_s, 0);
    record.duration = value;
    const QByteArray bytes = RecordCodec::encode({record});
    QVERIFY2(bytes.contains(QByteArray(",\"duration\":" + text + ',')), bytes.constData());

    const auto back = RecordCodec::decode(bytes);
    QVERIFY(back.ok());
    QVERIFY(sameBits(back.records[0].duration, readBack));
}

void TestRecordCodec::shouldRoundTripRandomDoublesBitForBit()
{
    QRandomGenerator random(20240501);
    FocusRecordList list;
    for (int i = 0; i < 3000; ++i) {
        FocusRecord record = makeRecord(u"r"_s, 0);
        double values[3];
        for (double &value : values) {
            do {
                value = std::bit_cast<double>(random.generate64());
            } while (!std::isfinite(value));
        }
        // Plus realistic instants and durations with fractions of a second.
        record.startedAt = i % 2 ? values[0] : 700000000.0 + random.generateDouble() * 1e8;
        record.endedAt = values[1];
        record.duration = i % 3 ? values[2] : random.generateDouble() * 7200;
        list.append(record);
    }

    const auto back = RecordCodec::decode(RecordCodec::encode(list));
    QVERIFY(back.ok());
    QCOMPARE(back.records.size(), list.size());
    // Sorted by end, so match by id.
    QHash<QUuid, FocusRecord> byId;
    for (const FocusRecord &record : back.records)
        byId.insert(record.id, record);
    for (const FocusRecord &record : std::as_const(list)) {
        const FocusRecord read = byId.value(record.id);
        QVERIFY(sameBits(read.startedAt, record.startedAt));
        QVERIFY(sameBits(read.endedAt, record.endedAt));
        QVERIFY(sameBits(read.duration, record.duration));
    }
}

void TestRecordCodec::shouldRoundTripHostileStrings_data()
{
    QTest::addColumn<QString>("text");

    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    controls += QChar(0x7F);

    QTest::newRow("quotes and backslashes") << uR"("\"\\'\/"""\\)"_s;
    QTest::newRow("every control character") << controls;
    QTest::newRow("NUL inside") << QStringView(u"a\0b", 3).toString();
    QTest::newRow("emoji and flags") << u"😀👩‍💻🇨🇳 done"_s;
    QTest::newRow("right-to-left marks") << u"\u202Eabc\u202C\u200F\u200Eשלום"_s;
    QTest::newRow("line and paragraph separators") << u"a\u2028b\u2029c"_s;
    QTest::newRow("Chinese punctuation") << u"下一步：改稿，“完成”。"_s;
    QTest::newRow("byte-order mark character") << u"\uFEFFx"_s;
    QTest::newRow("byte-order marks around an escape") << u"\uFEFF\uFEFF\n\uFEFFx\uFEFF"_s;
    QTest::newRow("script tag") << u"</script><!--"_s;
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u"x"_s;
    QTest::newRow("lone low surrogate at end") << u"x"_s + QChar(0xDE00);
    QTest::newRow("reversed surrogate pair") << QString(QChar(0xDE00)) + QChar(0xD83D);
    QTest::newRow("noncharacters") << u"\uFFFE\uFFFF"_s;
    QTest::newRow("long text") << QString(5000, QChar(u'专'));
}

void TestRecordCodec::shouldRoundTripHostileStrings()
{
    QFETCH(QString, text);

    FocusRecord record = makeRecord(text, 100);
    record.project = text;
    record.subproject = text;
    record.wrapUp = text;
    const QByteArray bytes = RecordCodec::encode({record});

    QVERIFY(isValidUtf8(bytes));
    for (char c : bytes)
        QVERIFY(static_cast<unsigned char>(c) >= 0x20);
    const auto back = RecordCodec::decode(bytes);
    QVERIFY2(back.ok(), qPrintable(back.errorText));
    QCOMPARE(back.records, FocusRecordList {record});
}

void TestRecordCodec::shouldRoundTripWhenOutputOutgrowsItsEstimate()
{
    // Control characters take six bytes each, twice the estimate: the buffer must grow, many
    // megabytes past the point where large buffers are handled differently.
    QString controls;
    for (int i = 0; i < 200; ++i)
        controls += QChar(char16_t(1 + i % 31));
    FocusRecordList list;
    for (int i = 0; i < 20000; ++i)
        list.append(makeRecord(controls + QString::number(i), 1e6 - i));

    const QByteArray bytes = RecordCodec::encode(list);
    QVERIFY(bytes.size() > 20000 * 1200);
    const auto back = RecordCodec::decode(bytes);
    QVERIFY(back.ok());
    QCOMPARE(back.records, list);
}

void TestRecordCodec::shouldWriteJsonThatAnotherParserReads()
{
    FocusRecord record = makeRecord(u"\"引号\"\\ \n\t😀 \u202E"_s, 786543210.1234568);
    record.subproject = u"英语"_s;
    const QByteArray bytes = RecordCodec::encode({record, makeRecord(u"二"_s, 1.5)});

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray array = document.array();
    QCOMPARE(array.size(), 2);
    const QJsonObject object = array[0].toObject();
    QCOMPARE(object.value(u"title"_s).toString(), record.title);
    QCOMPARE(object.value(u"endedAt"_s).toDouble(), 786543210.1234568);
    QCOMPARE(object.value(u"id"_s).toString(), record.idText());
    QCOMPARE(object.value(u"subproject"_s).toString(), u"英语"_s);
    QVERIFY(!array[1].toObject().contains(u"subproject"_s));
    QVERIFY(!array[1].toObject().contains(u"wrapUp"_s));
}

void TestRecordCodec::shouldReEncodeDecodedListToSameBytes()
{
    // A hand-edited file: lower-case id, reordered keys, white space, a legacy "task" title.
    const QByteArray edited = R"([ {"early":true, "duration":1e400, "endedAt":2.5e3, "startedAt":-1,
        "task":"旧", "id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f", "extra":[1,2]} ])";
    const auto first = RecordCodec::decode(edited);
    QVERIFY(first.ok());
    const QByteArray written = RecordCodec::encode(first.records);
    QCOMPARE(written,
        R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"旧","startedAt":-1,)"
        R"("endedAt":2500,"duration":1e999,"project":"未分类","early":true}])"_ba);
    QCOMPARE(RecordCodec::encode(RecordCodec::decode(written).records), written);
}

QTEST_GUILESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
