// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/json/jsonwriter.h"

#include "records/memoryhints.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

char *writeUnicodeEscape(char *p, char16_t unit)
{
    *p++ = '\\';
    *p++ = 'u';
    *p++ = hexDigits[(unit >> 12) & 0xF];
    *p++ = hexDigits[(unit >> 8) & 0xF];
    *p++ = hexDigits[(unit >> 4) & 0xF];
    *p++ = hexDigits[unit & 0xF];
    return p;
}

// The shortest digits of a finite double, laid out as JavaScript does: plain decimals from 1e-7
// up to 1e21, exponent form outside. Always reads back as the very same double.
qsizetype formatShortest(char *out, double value)
{
    char sci[32];
    const auto [end, ec] =
        std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific);
    if (ec != std::errc())
        return 0;

    const char *p = sci;
    char *o = out;
    if (*p == '-') {
        *o++ = '-';
        ++p;
    }
    char digits[20];
    int count = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.')
            digits[count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);

    // value = 0.d1d2…dk × 10^n
    const int n = exponent + 1;
    if (count <= n && n <= 21) {
        o = std::copy(digits, digits + count, o);
        o = std::fill_n(o, n - count, '0');
    } else if (0 < n && n <= 21) {
        o = std::copy(digits, digits + n, o);
        *o++ = '.';
        o = std::copy(digits + n, digits + count, o);
    } else if (-6 < n && n <= 0) {
        *o++ = '0';
        *o++ = '.';
        o = std::fill_n(o, -n, '0');
        o = std::copy(digits, digits + count, o);
    } else {
        *o++ = digits[0];
        if (count > 1) {
            *o++ = '.';
            o = std::copy(digits + 1, digits + count, o);
        }
        *o++ = 'e';
        o = std::to_chars(o, o + 8, n - 1).ptr;
    }
    return o - out;
}

} // namespace

JsonWriter::JsonWriter(qsizetype expectedSize)
{
    grow(std::max<qsizetype>(expectedSize, 64));
}

void JsonWriter::grow(qsizetype extra)
{
    const qsizetype wanted = std::max(m_size + extra, m_capacity + m_capacity / 2);
    m_bytes.resize(wanted); // keeps the bytes written so far; throws std::bad_alloc when too big
    m_data = m_bytes.data();
    MemoryHints::preferHugePages(m_data + m_size, wanted - m_size);
    m_capacity = wanted;
}

void JsonWriter::string(QStringView text)
{
    // Worst case per UTF-16 unit: a six-byte \u escape.
    char *p = reserve(text.size() * 6 + 2);
    char *const start = p;
    *p++ = '"';
    const char16_t *s = text.utf16();
    const char16_t *const e = s + text.size();
    while (s < e) {
        const char16_t c = *s++;
        if (c < 0x80) {
            if (c >= 0x20 && c != u'"' && c != u'\\') {
                *p++ = char(c);
                continue;
            }
            switch (c) {
            case u'"':
                *p++ = '\\';
                *p++ = '"';
                break;
            case u'\\':
                *p++ = '\\';
                *p++ = '\\';
                break;
            case u'\b':
                *p++ = '\\';
                *p++ = 'b';
                break;
            case u'\f':
                *p++ = '\\';
                *p++ = 'f';
                break;
            case u'\n':
                *p++ = '\\';
                *p++ = 'n';
                break;
            case u'\r':
                *p++ = '\\';
                *p++ = 'r';
                break;
            case u'\t':
                *p++ = '\\';
                *p++ = 't';
                break;
            default:
                p = writeUnicodeEscape(p, c);
            }
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (c < 0xD800 || c > 0xDFFF) {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (c < 0xDC00 && s < e && *s >= 0xDC00 && *s <= 0xDFFF) {
            const char32_t cp =
                0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*s++) - 0xDC00);
            *p++ = char(0xF0 | (cp >> 18));
            *p++ = char(0x80 | ((cp >> 12) & 0x3F));
            *p++ = char(0x80 | ((cp >> 6) & 0x3F));
            *p++ = char(0x80 | (cp & 0x3F));
        } else {
            // A lone surrogate has no UTF-8 form; the escape keeps the file valid UTF-8 and the
            // reader gives back the same code unit.
            p = writeUnicodeEscape(p, c);
        }
    }
    *p++ = '"';
    commit(p - start);
}

void JsonWriter::number(double value)
{
    if (std::isnan(value)) {
        put('0');
        return;
    }
    if (std::isinf(value)) {
        raw(value > 0 ? std::string_view("1e999") : std::string_view("-1e999"));
        return;
    }
    char *p = reserve(32);
    commit(formatShortest(p, value));
}

QByteArray JsonWriter::take()
{
    m_bytes.truncate(m_size);
    // Shrinking copies the whole buffer; worth it only when most of it is unused.
    if (m_bytes.capacity() > 2 * m_size)
        m_bytes.squeeze();
    m_data = nullptr;
    m_size = m_capacity = 0;
    return std::move(m_bytes);
}
