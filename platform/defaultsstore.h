// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// The per-user defaults store: typed values under keys.
//
// Values keep their type: integers (qint64), doubles, bools, strings, byte arrays, lists
// (QVariantList) and maps (QVariantMap) of such values. A QStringList is kept as a list of
// strings. An absent key reads as an invalid QVariant.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    virtual QVariant value(const QString &key) const = 0;
    // Written at once; false when the value could not be stored (the old value then stays).
    virtual bool setValue(const QString &key, const QVariant &value) = 0;
    virtual void remove(const QString &key) = 0;

    // Something is stored under the key that value() reads as absent: a damaged or foreign value,
    // or no regular file at all. A loader that must never write over stored data tells it from a
    // key that holds nothing. bytes: what was found, when there was anything to read.
    struct Unreadable {
        std::optional<QByteArray> bytes;
    };
    virtual std::optional<Unreadable> unreadable(const QString &key) const
    {
        Q_UNUSED(key);
        return std::nullopt;
    }

    bool contains(const QString &key) const { return value(key).isValid(); }
};

// Helpers that read typed values strictly, for loaders that must tell a wrong type from a value.
namespace DefaultsValue {

// The stored form of a value: ints widened to qint64, string lists turned into lists of strings.
// An unsupported type gives an invalid QVariant.
QVariant normalized(const QVariant &value);

bool isInteger(const QVariant &value);
bool isNumber(const QVariant &value); // integer or double
bool isString(const QVariant &value);
bool isStringList(const QVariant &value); // a list whose every element is a string
bool isDoubleList(const QVariant &value); // a list whose every element is a number
bool isMap(const QVariant &value);

QStringList toStringList(const QVariant &value); // assumes isStringList
QList<double> toDoubleList(const QVariant &value); // assumes isDoubleList
// A number read as a whole integer: doubles truncate, non-finite or non-numbers read as 0.
qint64 toInteger(const QVariant &value);

} // namespace DefaultsValue
