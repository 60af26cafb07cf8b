// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/json/jsonreader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// from_chars reports a number beyond the double range without a value. Its sign and the
// position of its first significant digit decide: huge is ±infinity, tiny is ±0.
double outOfRangeValue(const char *p, const char *end)
{
    const bool negative = *p == '-';
    if (negative)
        ++p;
    qint64 leading = 0; // decimal exponent of the first significant digit
    bool found = false;
    qint64 integerDigits = 0;
    for (; p < end && isDigit(*p); ++p, ++integerDigits) {
        if (!found && *p != '0') {
            found = true;
            leading = -integerDigits;
        }
    }
    leading += integerDigits - 1;
    if (p < end && *p == '.') {
        ++p;
        for (qint64 i = 1; p < end && isDigit(*p); ++p, ++i) {
            if (!found && *p != '0') {
                found = true;
                leading = -i;
            }
        }
    }
    qint64 exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negativeExponent = *p == '-';
        if (*p == '-' || *p == '+')
            ++p;
        for (; p < end && isDigit(*p); ++p)
            exponent = std::min<qint64>(exponent * 10 + (*p - '0'), qint64(1) << 40);
        if (negativeExponent)
            exponent = -exponent;
    }
    const double magnitude =
        found && leading + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

} // namespace

bool JsonReader::StringToken::equals(std::string_view ascii) const
{
    if (!escaped)
        return raw == ascii;
    return decoded == QLatin1StringView(ascii.data(), qsizetype(ascii.size()));
}

QString JsonReader::fromUtf8(const char *text, qsizetype size)
{
    qsizetype marks = 0;
    while (size - 3 * marks >= 3 && std::string_view(text + 3 * marks, 3) == "\xEF\xBB\xBF")
        ++marks;
    if (marks == 0)
        return QString::fromUtf8(text, size);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(text + 3 * marks, size - 3 * marks);
}

JsonReader::JsonReader(QByteArrayView data)
    : m_begin(data.data()), m_pos(data.data()), m_end(data.data() + data.size())
{
}

void JsonReader::skipByteOrderMark()
{
    if (m_end - m_pos >= 3 && std::string_view(m_pos, 3) == "\xEF\xBB\xBF")
        m_pos += 3;
}

bool JsonReader::fail(const char *what)
{
    if (m_error.isEmpty()) {
        m_error = QLatin1StringView(what) + QLatin1StringView(" at byte ")
            + QString::number(m_pos - m_begin);
    }
    m_pos = m_end;
    return false;
}

bool JsonReader::expect(char c)
{
    if (consume(c))
        return true;
    return fail("unexpected character");
}

// One multi-byte UTF-8 sequence at m_pos, checked for overlong forms, surrogates and the
// Unicode range. Advances past it on success.
bool JsonReader::validateUtf8Sequence()
{
    const auto *p = reinterpret_cast<const unsigned char *>(m_pos);
    const auto *end = reinterpret_cast<const unsigned char *>(m_end);
    const unsigned char lead = p[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return fail("invalid UTF-8");
    }
    if (end - p < length)
        return fail("invalid UTF-8");
    if (p[1] < low || p[1] > high)
        return fail("invalid UTF-8");
    for (int i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return fail("invalid UTF-8");
    }
    m_pos += length;
    return true;
}

bool JsonReader::readString(StringToken &token)
{
    if (!expect('"'))
        return false;
    const char *const start = m_pos;
    // Fast path: no escapes, so the text is a view into the input.
    while (m_pos < m_end) {
        const auto c = static_cast<unsigned char>(*m_pos);
        if (c == '"') {
            token.raw = std::string_view(start, size_t(m_pos - start));
            token.escaped = false;
            ++m_pos;
            return true;
        }
        if (c == '\\')
            break;
        if (c < 0x20)
            return fail("control character in string");
        if (c < 0x80)
            ++m_pos;
        else if (!validateUtf8Sequence())
            return false;
    }
    if (m_pos >= m_end)
        return fail("unterminated string");

    // Escapes: decode into UTF-16. A \u escape is one UTF-16 code unit, so pairs join by
    // themselves and a lone surrogate is kept as it was written.
    token.escaped = true;
    token.raw = {};
    QString &out = token.decoded;
    out = fromUtf8(start, m_pos - start);
    const char *run = m_pos;
    auto flushRun = [&] {
        if (m_pos > run)
            out += fromUtf8(run, m_pos - run);
    };
    while (m_pos < m_end) {
        const auto c = static_cast<unsigned char>(*m_pos);
        if (c == '"') {
            flushRun();
            ++m_pos;
            return true;
        }
        if (c < 0x20)
            return fail("control character in string");
        if (c >= 0x80) {
            if (!validateUtf8Sequence())
                return false;
            continue;
        }
        if (c != '\\') {
            ++m_pos;
            continue;
        }
        flushRun();
        if (m_end - m_pos < 2)
            return fail("unterminated string");
        const char kind = m_pos[1];
        m_pos += 2;
        switch (kind) {
        case '"':
            out += u'"';
            break;
        case '\\':
            out += u'\\';
            break;
        case '/':
            out += u'/';
            break;
        case 'b':
            out += u'\b';
            break;
        case 'f':
            out += u'\f';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 'u': {
            if (m_end - m_pos < 4)
                return fail("short \\u escape");
            char16_t unit = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = hexValue(m_pos[i]);
                if (digit < 0)
                    return fail("bad \\u escape");
                unit = char16_t(unit << 4 | digit);
            }
            m_pos += 4;
            out += QChar(unit);
            break;
        }
        default:
            m_pos -= 2;
            return fail("bad escape");
        }
        run = m_pos;
    }
    return fail("unterminated string");
}

bool JsonReader::skipString()
{
    StringToken ignored;
    return readString(ignored);
}

bool JsonReader::readNumber(double &value)
{
    skipSpace();
    const char *const start = m_pos;
    const char *p = m_pos;
    if (p < m_end && *p == '-')
        ++p;
    if (p < m_end && *p == '0') {
        ++p;
    } else if (p < m_end && *p >= '1' && *p <= '9') {
        while (p < m_end && isDigit(*p))
            ++p;
    } else {
        return fail("bad number");
    }
    if (p < m_end && *p == '.') {
        ++p;
        if (p >= m_end || !isDigit(*p))
            return fail("bad number");
        while (p < m_end && isDigit(*p))
            ++p;
    }
    if (p < m_end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < m_end && (*p == '+' || *p == '-'))
            ++p;
        if (p >= m_end || !isDigit(*p))
            return fail("bad number");
        while (p < m_end && isDigit(*p))
            ++p;
    }
    const auto [end, ec] = std::from_chars(start, p, value);
    if (ec == std::errc::result_out_of_range)
        value = outOfRangeValue(start, p);
    else if (ec != std::errc() || end != p)
        return fail("bad number");
    m_pos = p;
    return true;
}

bool JsonReader::readLiteral(std::string_view word)
{
    skipSpace();
    if (size_t(m_end - m_pos) < word.size() || std::string_view(m_pos, word.size()) != word)
        return fail("bad literal");
    m_pos += word.size();
    return true;
}

bool JsonReader::skipValue()
{
    // Open containers, innermost last: '{' or '['.
    std::vector<char> open;
    for (;;) {
        // A value is expected here.
        switch (peek()) {
        case '{':
        case '[': {
            const char bracket = *m_pos++;
            const char closing = bracket == '{' ? '}' : ']';
            if (consume(closing))
                break;
            if (open.size() >= size_t(maxDepth))
                return fail("nested too deeply");
            open.push_back(bracket);
            if (bracket == '{' && !(skipString() && expect(':')))
                return false;
            continue;
        }
        case '"':
            if (!skipString())
                return false;
            break;
        case 't':
            if (!readLiteral("true"))
                return false;
            break;
        case 'f':
            if (!readLiteral("false"))
                return false;
            break;
        case 'n':
            if (!readLiteral("null"))
                return false;
            break;
        default: {
            double ignored;
            if (!readNumber(ignored))
                return false;
        }
        }
        // After a complete value: close containers or move to the next member.
        for (;;) {
            if (open.empty())
                return true;
            const char bracket = open.back();
            if (consume(',')) {
                if (bracket == '{' && !(skipString() && expect(':')))
                    return false;
                break;
            }
            if (!consume(bracket == '{' ? '}' : ']'))
                return fail("unexpected character");
            open.pop_back();
        }
    }
}
