// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

#include <string_view>

// A strict pull reader over JSON text (RFC 8259): the caller walks the structure it expects and
// skips the rest. Strings must be valid UTF-8. Nothing recurses, so no input can exhaust the
// stack; containers nested deeper than maxDepth are refused as unreadable.
class JsonReader {
public:
    static constexpr int maxDepth = 10000;

    // A string value as read: a view into the input when it held no escapes, else decoded text.
    struct StringToken {
        std::string_view raw; // valid UTF-8, only when !escaped
        QString decoded; // only when escaped
        bool escaped = false;

        QString toString() const
        {
            return escaped ? decoded : fromUtf8(raw.data(), qsizetype(raw.size()));
        }
        bool equals(std::string_view ascii) const;
    };

    explicit JsonReader(QByteArrayView data);

    // Valid UTF-8 to text, keeping a leading U+FEFF, which QString::fromUtf8 would drop.
    static QString fromUtf8(const char *text, qsizetype size);

    // A leading UTF-8 byte-order mark, which some editors add, is passed over.
    void skipByteOrderMark();
    void skipSpace()
    {
        while (
            m_pos < m_end && (*m_pos == ' ' || *m_pos == '\n' || *m_pos == '\r' || *m_pos == '\t'))
            ++m_pos;
    }
    // The next byte after white space, or 0 at the end.
    char peek()
    {
        skipSpace();
        return m_pos < m_end ? *m_pos : '\0';
    }
    // Consumes c after white space when it is next.
    bool consume(char c)
    {
        if (peek() != c)
            return false;
        ++m_pos;
        return true;
    }
    bool expect(char c);
    bool atEnd()
    {
        skipSpace();
        return m_pos == m_end;
    }

    bool readString(StringToken &token);
    bool readNumber(double &value); // numbers beyond the double range read as ±infinity or ±0
    bool readLiteral(std::string_view word); // true, false, null
    bool skipValue(); // any value, at any depth up to maxDepth

    bool failed() const { return !m_error.isEmpty(); }
    // The first error, with its byte offset; for logs.
    QString errorText() const { return m_error; }
    bool fail(const char *what);

private:
    bool skipString();
    bool validateUtf8Sequence();

    const char *m_begin;
    const char *m_pos;
    const char *m_end;
    QString m_error;
};
