// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/json/recordcodec.h"

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
    void shouldReadAndWriteNumbers_data();
    void shouldReadAndWriteNumbers();
    void shouldWriteCompactFormThatReadsBackToSameBytes_data();
    void shouldWriteCompactFormThatReadsBackToSameBytes();
    void shouldWriteHostileTextAsPrintableUtf8ThatReadsBack();
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

    readable("empty array with white space", " \n\t[ ]\r\n", 0);
    readable("byte-order mark before array", "\xEF\xBB\xBF[]", 0);
    readable(
        "element lacking duration skipped", array({good, R"({"startedAt":0,"endedAt":0})"}), 1);
    readable("date string skipped",
        array({good, R"({"startedAt":"2024-05-01T10:00:00Z","endedAt":0,"duration":0})"}), 1);
    readable("unknown keys with nested values ignored",
        array({element(R"("extra":{"a":[1,{"b":null}],"c":"\""},"more":[])")}), 1);
    readable("deep nesting inside an ignored key", array({element("\"deep\":" + nested(5000))}), 1);

    notJson("empty input", {});
    notJson("truncated", "[{\"startedAt\":0,\"endedAt\":0,\"dura");
    notJson("trailing data", "[] []");
    notJson("trailing comma in object", R"([{"startedAt":0,}])");
    notJson("leading zero", R"([{"startedAt":01}])");
    notJson("dot without digits", R"([{"startedAt":1.}])");
    notJson("exponent without digits", R"([{"startedAt":1e}])");
    notJson("raw line break in string", title("\"a\nb\""));
    notJson("UTF-8 beyond U+10FFFF", title("\"\xF4\x90\x80\x80\""));
    notJson("unknown escape", title(R"("\x41")"));
    notJson("short unicode escape", title(R"("\u12")"));
    notJson("byte-order mark twice", "\xEF\xBB\xBF\xEF\xBB\xBF[]");
    notJson("non-JSON after a non-object element", "[1, x]");

    corrupt("one empty object", "[{}]");
    corrupt("top-level record-shaped object", good);
    corrupt("number among good elements", array({good, "1", good}));
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
    row("null title falls back to task", R"("title":null,"task":"旧版")", u"旧版|未分类|-|-|0"_s);
    row("empty subproject and wrap-up are present", R"("subproject":"","wrapUp":"")",
        u"未命名专注|未分类|||0"_s);
    row("last of repeated keys counts", R"("title":"一","title":"二","early":true,"early":false)",
        u"二|未分类|-|-|0"_s);
    row("repeated key ending with wrong type", R"("project":"工作","project":null)", unnamed);
    row("escaped key names", R"("\u0074itle":"转义","proj\u0065ct":"工作")", u"转义|工作|-|-|0"_s);
    row("escapes in values", R"("title":"a\/b\u00e9\u00C9\ud83d\ude00\"\\\b\f\n\r\t")",
        u"a/béÉ😀\"\\\b\f\n\r\t|未分类|-|-|0"_s);
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
    QTest::newRow("35 characters") << R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5")"_ba << QString();
    QTest::newRow("hyphen moved") << R"("E621E1F-8C36C-495A-93FC-0C247A3E6E5F")"_ba << QString();
    QTest::newRow("not hexadecimal") << R"("G621E1F8-C36C-495A-93FC-0C247A3E6E5F")"_ba << QString();
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

// Each row: a spelling that is read, the value it gives, and the writer's shortest form of it.
void TestRecordCodec::shouldReadAndWriteNumbers_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("written");
    const auto row = [](const char *name, const QByteArray &read, double value,
                         const QByteArray &written) {
        QTest::newRow(name) << read << value << written;
    };

    row("upper-case exponent", "1E2", 100, "100");
    row("signed exponent", "1.5e+3", 1500, "1500");
    row("exponent with leading zeros", "1e-007", 1e-7, "1e-7");
    row("negative zero", "-0", -0.0, "-0");
    row("million stays plain", "1e6", 1e6, "1000000");
    row("instant", "786543210.1234568", 786543210.1234568, "786543210.1234568");
    row("small plain", "1e-6", 0.000001, "0.000001");
    row("large plain", "1e20", 1e20, "100000000000000000000");
    row("large exponent", "15e20", 1.5e21, "1.5e21");
    row("subnormal", "4.9e-324", std::numeric_limits<double>::denorm_min(), "5e-324");
    row("overflow", "1e400", inf, "1e999");
    row("negative overflow", "-1e400", -inf, "-1e999");
    row("overflow by digits", QByteArray(400, '9'), inf, "1e999");
    row("huge exponent", "1e99999999999999999999", inf, "1e999");
    row("underflow", "1e-400", 0, "0");
    row("negative underflow", "-1e-400", -0.0, "-0");
    row("underflow with leading zeros", "0.000001e-330", 0, "0");
    row("zero with huge exponent", "0e99999", 0, "0");
    row("NaN written as zero", "0", std::nan(""), "0");
}

void TestRecordCodec::shouldReadAndWriteNumbers()
{
    QFETCH(QByteArray, read);
    QFETCH(double, value);
    QFETCH(QByteArray, written);

    const auto result = RecordCodec::decode(array({element("\"duration\":" + read)}));
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    const double readValue = result.records[0].duration;
    QVERIFY2(sameBits(readValue, std::isnan(value) ? 0.0 : value),
        qPrintable(QString::number(readValue, 'g', 17)));

    FocusRecord record = makeRecord(u"x"_s, 0);
    record.duration = value;
    const QByteArray bytes = RecordCodec::encode({record});
    QVERIFY2(bytes.contains(QByteArray(",\"duration\":" + written + ',')), bytes.constData());
}

void TestRecordCodec::shouldWriteCompactFormThatReadsBackToSameBytes_data()
{
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("written");

    // The writer's form of one element with the fixed id and the given other members.
    const auto written = [](const QByteArray &members) -> QByteArray {
        return "[{\"id\":" + fixedId + ',' + members + "}]";
    };
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

// Control characters, a surrogate pair, lone and reversed surrogates, byte-order marks around an
// escape: written as printable, valid UTF-8 and read back exactly.
void TestRecordCodec::shouldWriteHostileTextAsPrintableUtf8ThatReadsBack()
{
    QString text = u"\"\\/\uFEFF\n\uFEFF😀\u05E9"_s;
    for (char16_t c = 0; c < 0x20; ++c)
        text += QChar(c);
    text += QString(QChar(0xDE00)) + QChar(0xD83D) + u"x"_s + QChar(0x7F);
    FocusRecord record = makeRecord(text, 100);
    record.project = text;
    record.subproject = text;
    record.wrapUp = text;
    const QByteArray bytes = RecordCodec::encode({record});

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder(bytes);
    QVERIFY(!decoder.hasError());
    QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x20; }));
    QCOMPARE(RecordCodec::decode(bytes).records, FocusRecordList {record});
}

QTEST_GUILESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
