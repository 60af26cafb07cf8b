// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QStringView>

#include <cstring>
#include <string_view>

// Builds compact JSON into one growing buffer: strings as escaped UTF-8, doubles in the shortest
// text that reads back as the same double. Growth beyond what memory allows throws
// std::bad_alloc, which the caller turns into a failure.
class JsonWriter {
public:
    explicit JsonWriter(qsizetype expectedSize);

    // Text that is already valid JSON: punctuation and quoted keys.
    void raw(std::string_view text)
    {
        ensure(qsizetype(text.size()));
        std::memcpy(m_data + m_size, text.data(), text.size());
        m_size += qsizetype(text.size());
    }
    void put(char c)
    {
        ensure(1);
        m_data[m_size++] = c;
    }
    void string(QStringView text);
    // ±infinity becomes ±1e999 (reads back as infinity); NaN, which no reader could give back,
    // becomes 0, as every figure counts it.
    void number(double value);
    void boolean(bool value) { raw(value ? std::string_view("true") : std::string_view("false")); }

    // Room for n bytes written directly; commit(n) afterwards.
    char *reserve(qsizetype n)
    {
        ensure(n);
        return m_data + m_size;
    }
    void commit(qsizetype n) { m_size += n; }

    QByteArray take();

private:
    void ensure(qsizetype extra)
    {
        if (m_size + extra > m_capacity)
            grow(extra);
    }
    void grow(qsizetype extra);

    QByteArray m_bytes;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};
