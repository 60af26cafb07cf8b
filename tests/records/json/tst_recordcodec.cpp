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

const double inf = std::numeric_limits<double>::infinity();
const QByteArray fixedId = R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")";

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
    const QByteArray required = R"({"startedAt":0,"endedAt":0,"duration":0)";
    return required + (members.isEmpty() ? QByteArray() : QByteArray(',' + members)) + '}';
}

QByteArray array(std::initializer_list<QByteArray> elements)
{
    QByteArrayList list(elements);
    return '[' + list.join(',') + ']';
}

QByteArray nested(int depth, const QByteArray &inner = "0")
{
    return QByteArray(depth, '[') + inner + QByteArray(depth, ']');
}

bool sameBits(double a, double b)
{
    return std::bit_cast<quint64>(a) == std::bit_cast<quint64>(b);
}

// "title|project|subproject|wrap-up|early", "-" for an absent optional text.
QString fields(const FocusRecord &r)
{
    return QStringList {r.title, r.project, r.subproject.value_or(u"-"_s),
        r.wrapUp.value_or(u"-"_s), r.early ? u"early"_s : u"0"_s}
        .join(u'|');
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
    void shouldSortNewestFirstKeepingOrderOfEqualEnds();
    void shouldWriteCompactFormThatReadsBackToSameBytes_data();
    void shouldWriteCompactFormThatReadsBackToSameBytes();
    void shouldWriteNumbersInShortestForm_data();
    void shouldWriteNumbersInShortestForm();
    void shouldRoundTripRandomDoublesBitForBit();
    void shouldRoundTripHostileStrings_data();
    void shouldRoundTripHostileStrings();
    void shouldRoundTripWhenOutputOutgrowsItsEstimate();
    void shouldWriteJsonThatAnotherParserReads();
};

void TestRecordCodec::shouldDecideWholeFile_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<DecodeError>("error");
    QTest::addColumn<int>("count");
    const auto readable = [](const char *name, const QByteArray &json, int count) {
        QTest::newRow(name) << json << DecodeError::None << count;
    };
    const auto notJson = [](const char *name, const QByteArray &json) {
        QTest::newRow(name) << json << DecodeError::NotJson << 0;
    };
    const auto corrupt = [](const char *name, const QByteArray &json) {
        QTest::newRow(name) << json << DecodeError::Corrupt << 0;
    };
    const QByteArray good = element();
    const auto title = [](const QByteArray &text) {
        return array({element("\"title\":" + text)});
    };

    readable("empty array", "[]", 0);
    readable("empty array with white space", " \n\t[ ]\r\n", 0);
    readable("byte-order mark before array", "\xEF\xBB\xBF[]", 0);
    readable("one good element", array({good}), 1);
    readable(
        "one of three lacks duration", array({good, R"({"startedAt":0,"endedAt":0})", good}), 2);
    const auto times = [](const QByteArray &started, const QByteArray &ended,
                           const QByteArray &duration) -> QByteArray {
        return "{\"startedAt\":" + started + ",\"endedAt\":" + ended + ",\"duration\":" + duration
            + '}';
    };
    readable("date string skipped", array({good, times("\"2024-05-01T10:00:00Z\"", "0", "0")}), 1);
    readable("null required value skipped", array({good, times("null", "0", "0")}), 1);
    readable("boolean required value skipped", array({good, times("0", "true", "0")}), 1);
    readable("number as string skipped", array({good, times("0", "0", "\"1500\"")}), 1);
    readable("unknown keys with nested values ignored",
        array({element(R"("extra":{"a":[1,{"b":null}],"c":"\""},"more":[])")}), 1);
    readable("deep nesting inside an ignored key", array({element("\"deep\":" + nested(5000))}), 1);

    notJson("empty input", {});
    notJson("only white space", " \n ");
    notJson("plain text", "keine Daten");
    notJson("truncated", "[{\"startedAt\":0,\"endedAt\":0,\"dura");
    notJson("missing closing bracket", '[' + good);
    notJson("trailing data", "[] []");
    notJson("trailing comma in array", '[' + good + ",]");
    notJson("trailing comma in object", R"([{"startedAt":0,}])");
    notJson("single quotes", "[{'startedAt':0}]");
    notJson("comment", "[/* none */]");
    notJson("NaN literal", R"([{"startedAt":NaN,"endedAt":0,"duration":0}])");
    notJson("Infinity literal", R"([{"startedAt":Infinity}])");
    notJson("leading zero", R"([{"startedAt":01}])");
    notJson("plus sign", R"([{"startedAt":+1}])");
    notJson("bare fraction", R"([{"startedAt":.5}])");
    notJson("dot without digits", R"([{"startedAt":1.}])");
    notJson("exponent without digits", R"([{"startedAt":1e}])");
    notJson("raw line break in string", title("\"a\nb\""));
    notJson("invalid UTF-8 byte", title("\"\xFF\""));
    notJson("overlong UTF-8", title("\"\xC0\xAF\""));
    notJson("UTF-8 surrogate", title("\"\xED\xA0\x80\""));
    notJson("UTF-8 beyond U+10FFFF", title("\"\xF4\x90\x80\x80\""));
    notJson("truncated UTF-8", title("\"\xE4\xB8\""));
    notJson("unknown escape", title(R"("\x41")"));
    notJson("short unicode escape", title(R"("\u12")"));
    notJson("byte-order mark twice", "\xEF\xBB\xBF\xEF\xBB\xBF[]");
    notJson("nesting beyond the limit", array({element("\"deep\":" + nested(200000))}));
    notJson("unclosed deep nesting", QByteArray(300000, '['));
    notJson("non-JSON after a non-object element", "[1, x]");

    corrupt("one empty object", "[{}]");
    corrupt("only unusable elements", R"([{"title":"a"},{"startedAt":"0"}])");
    corrupt("top-level record-shaped object", good);
    corrupt("top-level number", "42");
    corrupt("top-level string", R"("[]")");
    corrupt("top-level null", "null");
    corrupt("number among good elements", array({good, "1", good}));
    corrupt("string among good elements", array({good, R"("x")"}));
    corrupt("null element", array({good, "null"}));
    corrupt("array element", array({good, array({good})}));
    corrupt("deeply nested top-level arrays", nested(5000));
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
    QTest::addColumn<QString>("fields");
    const auto row = [](const char *name, const QByteArray &members, const QString &fields) {
        QTest::newRow(name) << members << fields;
    };
    const QString unnamed = u"未命名专注|未分类|-|-|0"_s;

    row("all given",
        R"("title":"读书","project":"学习","subproject":"英语","wrapUp":"读完第三章","early":true)",
        u"读书|学习|英语|读完第三章|early"_s);
    row("none given", {}, unnamed);
    row("null title falls back to task", R"("title":null,"task":"旧版")", u"旧版|未分类|-|-|0"_s);
    row("task alone", R"("task":"旧版")", u"旧版|未分类|-|-|0"_s);
    row("empty title is a title", R"("title":"","task":"旧版")", u"|未分类|-|-|0"_s);
    row("number title and number task", R"("title":1,"task":2)", unnamed);
    row("project not a string", R"("project":["学习"])", unnamed);
    row("empty project is a project", R"("project":"")", u"未命名专注||-|-|0"_s);
    row("null subproject and wrap-up", R"("subproject":null,"wrapUp":null)", unnamed);
    row("number subproject and object wrap-up", R"("subproject":3,"wrapUp":{})", unnamed);
    row("empty subproject and wrap-up are present", R"("subproject":"","wrapUp":"")",
        u"未命名专注|未分类|||0"_s);
    row("early as number", R"("early":1)", unnamed);
    row("early as string", R"("early":"true")", unnamed);
    row("early null", R"("early":null)", unnamed);
    row("last of repeated keys counts", R"("title":"一","title":"二","early":true,"early":false)",
        u"二|未分类|-|-|0"_s);
    row("repeated key ending with wrong type", R"("project":"工作","project":null)", unnamed);
    row("escaped key names", R"("\u0074itle":"转义","proj\u0065ct":"工作")", u"转义|工作|-|-|0"_s);
    row("escapes in values", R"("title":"a\/b\u00e9\u00C9\ud83d\ude00\"\\\b\f\n\r\t")",
        u"a/béÉ😀\"\\\b\f\n\r\t|未分类|-|-|0"_s);
    row("keys are case sensitive", R"("Title":"x","Project":"y","Early":true)", unnamed);
}

void TestRecordCodec::shouldFillMissingOrWrongFields()
{
    QFETCH(QByteArray, members);
    QFETCH(QString, fields);

    const auto result = RecordCodec::decode(array({element(members)}));
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.records.size(), 1);
    QCOMPARE(::fields(result.records.first()), fields);
}

void TestRecordCodec::shouldReadIds_data()
{
    QTest::addColumn<QByteArray>("id"); // the JSON value
    QTest::addColumn<QString>("kept"); // empty: a fresh id at every start

    const QString upper = QString::fromLatin1(fixedId.mid(1, 36));
    QTest::newRow("upper case") << fixedId << upper;
    QTest::newRow("lower case") << fixedId.toLower() << upper;
    QTest::newRow("escaped") << R"("\u0045621E1F8-C36C-495A-93FC-0C247A3E6E5F")"_ba << upper;
    QTest::newRow("nil") << R"("00000000-0000-0000-0000-000000000000")"_ba
                         << u"00000000-0000-0000-0000-000000000000"_s;
    QTest::newRow("35 characters") << R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5")"_ba << QString();
    QTest::newRow("37 characters") << R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5FF")"_ba << QString();
    QTest::newRow("braces") << R"("{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}")"_ba << QString();
    QTest::newRow("no hyphens") << R"("E621E1F8C36C495A93FC0C247A3E6E5F")"_ba << QString();
    QTest::newRow("hyphen moved") << R"("E621E1F-8C36C-495A-93FC-0C247A3E6E5F")"_ba << QString();
    QTest::newRow("not hexadecimal") << R"("G621E1F8-C36C-495A-93FC-0C247A3E6E5F")"_ba << QString();
    QTest::newRow("full-width digit")
        << "\"\xEF\xBC\x91"_ba + "621E1F8-C36C-495A-93FC-0C247A3E6E\"" << QString();
    QTest::newRow("number") << "42"_ba << QString();
    QTest::newRow("null") << "null"_ba << QString();
}

// Two records may share an id (an edited file): both are kept.
void TestRecordCodec::shouldReadIds()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, kept);

    const QByteArray json = array({element("\"id\":" + id), element("\"id\":" + id)});
    const auto first = RecordCodec::decode(json);
    const auto second = RecordCodec::decode(json);
    QVERIFY2(first.ok(), qPrintable(first.errorText));
    QCOMPARE(first.records.size(), 2);
    if (kept.isEmpty()) {
        QVERIFY(!first.records[0].id.isNull());
        QVERIFY(first.records[0].id != first.records[1].id);
        QVERIFY(first.records[0].id != second.records[0].id);
    } else {
        QCOMPARE(first.records[0].idText(), kept);
        QCOMPARE(first.records[1].idText(), kept);
    }
}

void TestRecordCodec::shouldReadNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << "3600"_ba << 3600.0;
    QTest::newRow("fraction") << "0.1"_ba << 0.1;
    QTest::newRow("negative") << "-5.5"_ba << -5.5;
    QTest::newRow("upper-case exponent") << "1E2"_ba << 100.0;
    QTest::newRow("signed exponent") << "1.5e+3"_ba << 1500.0;
    QTest::newRow("exponent with leading zeros") << "1e-007"_ba << 1e-7;
    QTest::newRow("negative zero") << "-0"_ba << -0.0;
    QTest::newRow("long integer") << "12345678901234567890"_ba << 12345678901234567890.0;
    QTest::newRow("smallest subnormal") << "4.9e-324"_ba << 4.9e-324;
    QTest::newRow("largest double") << "1.7976931348623157e308"_ba << 1.7976931348623157e308;
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

    const auto result = RecordCodec::decode(array({element("\"duration\":" + text)}));
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    const double read = result.records[0].duration;
    QVERIFY2(sameBits(read, value), qPrintable(QString::number(read, 'g', 17)));
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
        QVERIFY(before.endedAt > after.endedAt
            || (before.endedAt == after.endedAt && before.title.toInt() < after.title.toInt()));
    }
    QCOMPARE(result.records.first().endedAt, 2000.0);
}

void TestRecordCodec::shouldWriteCompactFormThatReadsBackToSameBytes_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("written");

    // The writer's form of one element with the fixed id and the given other members.
    const auto written = [](const QByteArray &members) -> QByteArray {
        return "[{\"id\":" + fixedId + ',' + members + "}]";
    };
    QTest::newRow("empty list") << "[]"_ba
                                << "[]"_ba;
    const QByteArray compact = written(R"("title":"未命名专注","startedAt":3600,"endedAt":5100,)"
                                       R"("duration":1500,"project":"学习","early":false)");
    QTest::newRow("no optional keys") << compact << compact;
    const QByteArray optional =
        written(R"("title":"写作","startedAt":1,"endedAt":2,"duration":1,)"
                R"("project":"学习","subproject":"","wrapUp":"下一步：改稿","early":true)");
    QTest::newRow("optional keys present even if empty") << optional << optional;
    // A hand-edited file: lower-case id, reordered keys, white space, a legacy "task" title.
    QTest::newRow("hand-edited")
        << R"([ {"early":true, "duration":1e400, "endedAt":2.5e3, "startedAt":-1,
            "task":"旧", "id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f", "extra":[1,2]} ])"_ba
        << written(R"("title":"旧","startedAt":-1,"endedAt":2500,"duration":1e999,)"
                   R"("project":"未分类","early":true)");
}

void TestRecordCodec::shouldWriteCompactFormThatReadsBackToSameBytes()
{
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, written);

    const auto first = RecordCodec::decode(read);
    QVERIFY(first.ok());
    QCOMPARE(RecordCodec::encode(first.records), written);
    QCOMPARE(RecordCodec::encode(RecordCodec::decode(written).records), written);
}

void TestRecordCodec::shouldWriteNumbersInShortestForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("readBack");

    const double max = std::numeric_limits<double>::max();
    const double subnormal = std::numeric_limits<double>::denorm_min();
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
    QTest::newRow("largest") << max << "1.7976931348623157e308"_ba << max;
    QTest::newRow("subnormal") << subnormal << "5e-324"_ba << subnormal;
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
    QVERIFY(sameBits(RecordCodec::decode(bytes).records.value(0).duration, readBack));
}

void TestRecordCodec::shouldRoundTripRandomDoublesBitForBit()
{
    QRandomGenerator random(20240501);
    const auto anyFinite = [&random] {
        double value;
        do {
            value = std::bit_cast<double>(random.generate64());
        } while (!std::isfinite(value));
        return value;
    };
    FocusRecordList list;
    for (int i = 0; i < 3000; ++i) {
        // Plus realistic instants and durations with fractions of a second.
        FocusRecord record = makeRecord(u"r"_s, 0);
        record.startedAt = i % 2 ? anyFinite() : 700000000.0 + random.generateDouble() * 1e8;
        record.endedAt = anyFinite();
        record.duration = i % 3 ? anyFinite() : random.generateDouble() * 7200;
        list.append(record);
    }

    const auto back = RecordCodec::decode(RecordCodec::encode(list));
    QCOMPARE(back.records.size(), list.size());
    QHash<QUuid, FocusRecord> byId; // sorted by end, so matched by id
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
    QTest::newRow("quotes and backslashes") << uR"("\"\\'\/"""\\)"_s;
    QTest::newRow("every control character") << controls + QChar(0x7F);
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

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder(bytes);
    QVERIFY(!decoder.hasError());
    QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x20; }));
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
    QCOMPARE(RecordCodec::decode(bytes).records, list);
}

void TestRecordCodec::shouldWriteJsonThatAnotherParserReads()
{
    FocusRecord record = makeRecord(u"\"引号\"\\ \n\t😀 \u202E"_s, 786543210.1234568);
    record.subproject = u"英语"_s;
    const QByteArray bytes = RecordCodec::encode({record, makeRecord(u"二"_s, 1.5)});

    QJsonParseError error;
    const QJsonArray array = QJsonDocument::fromJson(bytes, &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(array.size(), 2);
    const QJsonObject object = array[0].toObject();
    QCOMPARE(object.value(u"title"_s).toString(), record.title);
    QCOMPARE(object.value(u"endedAt"_s).toDouble(), 786543210.1234568);
    QCOMPARE(object.value(u"id"_s).toString(), record.idText());
    QCOMPARE(object.value(u"subproject"_s).toString(), u"英语"_s);
    QVERIFY(!array[1].toObject().contains(u"subproject"_s));
}

QTEST_GUILESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
