// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/json/recordcodec.h"

#include "records/json/jsonreader.h"
#include "records/json/jsonwriter.h"
#include "records/memoryhints.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <new>
#include <optional>

using namespace Qt::StringLiterals;

namespace RecordCodec {

namespace {

constexpr char upperHex[] = "0123456789ABCDEF";

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper case, written straight into the buffer.
void writeUuid(JsonWriter &out, const QUuid &id)
{
    unsigned char bytes[16];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(id.data1 >> (24 - 8 * i));
    bytes[4] = static_cast<unsigned char>(id.data2 >> 8);
    bytes[5] = static_cast<unsigned char>(id.data2);
    bytes[6] = static_cast<unsigned char>(id.data3 >> 8);
    bytes[7] = static_cast<unsigned char>(id.data3);
    for (int i = 0; i < 8; ++i)
        bytes[8 + i] = id.data4[i];

    char *p = out.reserve(38);
    char *const start = p;
    *p++ = '"';
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *p++ = '-';
        *p++ = upperHex[bytes[i] >> 4];
        *p++ = upperHex[bytes[i] & 0xF];
    }
    *p++ = '"';
    out.commit(p - start);
}

qsizetype expectedSize(const FocusRecordList &records)
{
    // Keys, id, punctuation and three fractional numbers take about 175 bytes; texts are mostly
    // Chinese at 3 bytes a unit. A slight overestimate spares regrowing, which copies everything.
    qsizetype size = 2;
    for (const FocusRecord &record : records) {
        size += 180 + 3 * (record.title.size() + record.project.size());
        if (record.subproject)
            size += 16 + 3 * record.subproject->size();
        if (record.wrapUp)
            size += 12 + 3 * record.wrapUp->size();
    }
    return size;
}

// Value of a hexadecimal digit by byte, -1 for any other byte.
constexpr auto hexValues = [] {
    std::array<signed char, 256> table {};
    table.fill(-1);
    for (int c = '0'; c <= '9'; ++c)
        table[c] = static_cast<signed char>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) {
        table[c] = static_cast<signed char>(c - 'a' + 10);
        table[c - 'a' + 'A'] = static_cast<signed char>(c - 'a' + 10);
    }
    return table;
}();

int hexValue(char c)
{
    return hexValues[static_cast<unsigned char>(c)];
}

// Only the 36-character 8-4-4-4-12 form, hexadecimal of either case. The nil UUID is a valid id.
std::optional<QUuid> parseUuid(std::string_view text)
{
    if (text.size() != 36)
        return std::nullopt;
    unsigned char bytes[16];
    int byte = 0;
    for (size_t i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[byte++] = static_cast<unsigned char>(high << 4 | low);
        i += 2;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes, 16));
}

std::optional<QUuid> parseUuid(const JsonReader::StringToken &token)
{
    if (!token.escaped)
        return parseUuid(token.raw);
    if (token.decoded.size() != 36)
        return std::nullopt;
    char ascii[36];
    for (int i = 0; i < 36; ++i) {
        const char16_t unit = token.decoded.at(i).unicode();
        if (unit > 0x7F)
            return std::nullopt;
        ascii[i] = char(unit);
    }
    return parseUuid(std::string_view(ascii, 36));
}

enum class Key {
    Other,
    Id,
    Title,
    Task,
    StartedAt,
    EndedAt,
    Duration,
    Project,
    Subproject,
    WrapUp,
    Early
};

Key keyOf(const JsonReader::StringToken &name)
{
    static constexpr std::pair<std::string_view, Key> keys[] = {
        {"id", Key::Id},
        {"title", Key::Title},
        {"task", Key::Task},
        {"startedAt", Key::StartedAt},
        {"endedAt", Key::EndedAt},
        {"duration", Key::Duration},
        {"project", Key::Project},
        {"subproject", Key::Subproject},
        {"wrapUp", Key::WrapUp},
        {"early", Key::Early},
    };
    for (const auto &[text, key] : keys) {
        if (name.equals(text))
            return key;
    }
    return Key::Other;
}

// Texts repeat across a history (project names above all, titles often): equal texts read from
// the same bytes share one QString, which saves an allocation per field and memory per record.
class TextCache {
public:
    QString text(const JsonReader::StringToken &token)
    {
        if (token.escaped)
            return token.decoded;
        const QByteArrayView key(token.raw.data(), qsizetype(token.raw.size()));
        if (const auto it = m_texts.constFind(key); it != m_texts.cend())
            return *it;
        QString text = token.toString();
        if (m_texts.size() < maxEntries)
            m_texts.insert(key, text);
        return text;
    }

private:
    static constexpr qsizetype maxEntries = 16384;
    QHash<QByteArrayView, QString> m_texts; // keys point into the input, which outlives the cache
};

// What one object held under the keys that matter. A key given twice counts with its last value,
// and a value of the wrong type (null included) counts as missing.
struct Fields {
    std::optional<double> startedAt, endedAt, duration;
    std::optional<QUuid> id;
    std::optional<QString> title, task, project, subproject, wrapUp;
    std::optional<bool> early;
};

bool readNumberField(JsonReader &in, std::optional<double> &field)
{
    const char next = in.peek();
    if (next == '-' || (next >= '0' && next <= '9')) {
        double value;
        if (!in.readNumber(value))
            return false;
        field = value;
        return true;
    }
    field.reset();
    return in.skipValue();
}

bool readStringField(JsonReader &in, TextCache &cache, std::optional<QString> &field)
{
    if (in.peek() == '"') {
        JsonReader::StringToken token;
        if (!in.readString(token))
            return false;
        field = cache.text(token);
        return true;
    }
    field.reset();
    return in.skipValue();
}

bool readObject(JsonReader &in, TextCache &cache, Fields &fields)
{
    if (!in.expect('{'))
        return false;
    if (in.consume('}'))
        return true;
    do {
        JsonReader::StringToken name;
        if (!in.readString(name) || !in.expect(':'))
            return false;
        bool ok = true;
        switch (keyOf(name)) {
        case Key::StartedAt:
            ok = readNumberField(in, fields.startedAt);
            break;
        case Key::EndedAt:
            ok = readNumberField(in, fields.endedAt);
            break;
        case Key::Duration:
            ok = readNumberField(in, fields.duration);
            break;
        case Key::Title:
            ok = readStringField(in, cache, fields.title);
            break;
        case Key::Task:
            ok = readStringField(in, cache, fields.task);
            break;
        case Key::Project:
            ok = readStringField(in, cache, fields.project);
            break;
        case Key::Subproject:
            ok = readStringField(in, cache, fields.subproject);
            break;
        case Key::WrapUp:
            ok = readStringField(in, cache, fields.wrapUp);
            break;
        case Key::Id:
            if (in.peek() == '"') {
                JsonReader::StringToken token;
                ok = in.readString(token);
                fields.id = parseUuid(token);
            } else {
                fields.id.reset();
                ok = in.skipValue();
            }
            break;
        case Key::Early: {
            const char next = in.peek();
            if (next == 't' || next == 'f') {
                const bool value = next == 't';
                ok = in.readLiteral(value ? "true" : "false");
                fields.early = value;
            } else {
                fields.early.reset();
                ok = in.skipValue();
            }
            break;
        }
        case Key::Other:
            ok = in.skipValue();
            break;
        }
        if (!ok)
            return false;
    } while (in.consume(','));
    return in.expect('}');
}

// The record an element stands for, or nothing when one of the three numbers is missing.
std::optional<FocusRecord> recordFrom(Fields &&fields)
{
    if (!fields.startedAt || !fields.endedAt || !fields.duration)
        return std::nullopt;
    QString title;
    if (fields.title)
        title = std::move(*fields.title);
    else if (fields.task)
        title = std::move(*fields.task);
    else
        title = u"未命名专注"_s;
    // Every field given, so a fresh random id is drawn only when the element has no valid one.
    return FocusRecord {
        .id = fields.id ? *fields.id : QUuid::createUuid(),
        .title = std::move(title),
        .startedAt = *fields.startedAt,
        .endedAt = *fields.endedAt,
        .duration = *fields.duration,
        .project = fields.project ? std::move(*fields.project) : u"未分类"_s,
        .subproject = std::move(fields.subproject),
        .wrapUp = std::move(fields.wrapUp),
        .early = fields.early.value_or(false),
    };
}

DecodeResult failure(DecodeError error, QString text)
{
    DecodeResult result;
    result.error = error;
    result.errorText = std::move(text);
    return result;
}

DecodeResult decodeArray(const QByteArray &data)
{
    JsonReader in(data);
    in.skipByteOrderMark();
    if (in.peek() != '[') {
        // Still JSON? Then it is merely the wrong shape.
        if (!in.skipValue() || !in.atEnd())
            return failure(DecodeError::NotJson,
                in.errorText().isEmpty() ? u"trailing data"_s : in.errorText());
        return failure(DecodeError::Corrupt, u"the top-level value is not an array"_s);
    }
    in.expect('[');

    DecodeResult result;
    // A saved record takes 170 bytes or more, so this rarely has to grow, which would copy the
    // list. Slots never filled are never touched and cost no memory.
    result.records.reserve(std::min<qsizetype>(data.size() / 128, qsizetype(1) << 22));
    MemoryHints::preferHugePages(
        result.records.data(), result.records.capacity() * qsizetype(sizeof(FocusRecord)));
    TextCache cache;
    qsizetype elements = 0;
    bool allObjects = true;
    if (!in.consume(']')) {
        do {
            ++elements;
            if (in.peek() == '{' && allObjects) {
                Fields fields;
                if (!readObject(in, cache, fields))
                    return failure(DecodeError::NotJson, in.errorText());
                if (auto record = recordFrom(std::move(fields)))
                    result.records.append(std::move(*record));
            } else {
                // A non-object element spoils the whole array; the rest is only checked as JSON.
                if (in.peek() != '{')
                    allObjects = false;
                if (!in.skipValue())
                    return failure(DecodeError::NotJson, in.errorText());
            }
        } while (in.consume(','));
        if (!in.expect(']'))
            return failure(DecodeError::NotJson, in.errorText());
    }
    if (!in.atEnd()) {
        in.fail("trailing data");
        return failure(DecodeError::NotJson, in.errorText());
    }
    if (!allObjects)
        return failure(DecodeError::Corrupt, u"an element of the array is not an object"_s);
    if (elements > 0 && result.records.isEmpty())
        return failure(DecodeError::Corrupt, u"no element holds a usable record"_s);

    // Saved lists are newest first already; only a file edited by hand needs the sort.
    const auto later = [](const FocusRecord &a, const FocusRecord &b) {
        return a.endedAt > b.endedAt;
    };
    if (!std::is_sorted(result.records.cbegin(), result.records.cend(), later))
        std::stable_sort(result.records.begin(), result.records.end(), later);
    return result;
}

} // namespace

QByteArray encode(const FocusRecordList &records)
{
    try {
        JsonWriter out(expectedSize(records));
        out.put('[');
        bool first = true;
        for (const FocusRecord &record : records) {
            out.raw(first ? std::string_view("{\"id\":") : std::string_view(",{\"id\":"));
            first = false;
            writeUuid(out, record.id);
            out.raw(",\"title\":");
            out.string(record.title);
            out.raw(",\"startedAt\":");
            out.number(record.startedAt);
            out.raw(",\"endedAt\":");
            out.number(record.endedAt);
            out.raw(",\"duration\":");
            out.number(record.duration);
            out.raw(",\"project\":");
            out.string(record.project);
            if (record.subproject) {
                out.raw(",\"subproject\":");
                out.string(*record.subproject);
            }
            if (record.wrapUp) {
                out.raw(",\"wrapUp\":");
                out.string(*record.wrapUp);
            }
            out.raw(record.early ? std::string_view(",\"early\":true}")
                                 : std::string_view(",\"early\":false}"));
        }
        out.put(']');
        return out.take();
    } catch (const std::bad_alloc &) {
        return {};
    }
}

DecodeResult decode(const QByteArray &data)
{
    try {
        return decodeArray(data);
    } catch (const std::bad_alloc &) {
        return failure(DecodeError::Corrupt, u"not enough memory to read the records"_s);
    }
}

} // namespace RecordCodec
