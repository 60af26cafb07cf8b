// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// A text that may be absent, as std::optional<QString> but without its flag and padding: a
// record holds two of them, and a long history holds a hundred thousand records. Absent is
// kept as the null string; a present empty text is kept as a non-null empty one, so "" and no
// text stay apart as the record file tells them apart.
class OptionalText {
public:
    OptionalText() = default;
    OptionalText(std::nullopt_t) { }
    OptionalText(const QString &text) : m_text(present(text)) { }
    OptionalText(QString &&text) : m_text(present(std::move(text))) { }
    OptionalText(const std::optional<QString> &text) : m_text(text ? present(*text) : QString()) { }
    OptionalText(std::optional<QString> &&text)
        : m_text(text ? present(std::move(*text)) : QString())
    {
    }

    bool has_value() const { return !m_text.isNull(); }
    explicit operator bool() const { return has_value(); }
    // Like std::optional, only meaningful when has_value().
    const QString &operator*() const { return m_text; }
    const QString *operator->() const { return &m_text; }
    QString value_or(const QString &fallback) const { return has_value() ? m_text : fallback; }

    operator std::optional<QString>() const
    {
        return has_value() ? std::optional<QString>(m_text) : std::nullopt;
    }

    friend bool operator==(const OptionalText &a, const OptionalText &b)
    {
        return a.has_value() == b.has_value() && a.m_text == b.m_text;
    }
    friend bool operator==(const OptionalText &a, const QString &b)
    {
        return a.has_value() && a.m_text == b;
    }
    friend bool operator==(const OptionalText &a, const std::optional<QString> &b)
    {
        return a == OptionalText(b);
    }

private:
    static QString present(QString text)
    {
        // Only an empty string can be null; its non-null form points at static storage.
        return text.isNull() ? QStringLiteral("") : text;
    }

    QString m_text;
};
