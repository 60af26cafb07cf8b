// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/defaultsstore.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace DefaultsValue {

QVariant normalized(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QVariant(value.toLongLong());
    case QMetaType::ULongLong: {
        const qulonglong v = value.toULongLong();
        if (v > qulonglong(std::numeric_limits<qint64>::max()))
            return {};
        return QVariant(qint64(v));
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return QVariant(value.toDouble());
    case QMetaType::Bool:
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return value;
    case QMetaType::QStringList: {
        QVariantList list;
        for (const QString &s : value.toStringList())
            list.append(s);
        return list;
    }
    case QMetaType::QVariantList: {
        QVariantList list;
        for (const QVariant &element : value.toList()) {
            const QVariant stored = normalized(element);
            if (!stored.isValid())
                return {};
            list.append(stored);
        }
        return list;
    }
    case QMetaType::QVariantMap: {
        QVariantMap map;
        const QVariantMap source = value.toMap();
        for (auto it = source.cbegin(); it != source.cend(); ++it) {
            const QVariant stored = normalized(it.value());
            if (!stored.isValid())
                return {};
            map.insert(it.key(), stored);
        }
        return map;
    }
    default:
        return {};
    }
}

bool isInteger(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool isNumber(const QVariant &value)
{
    return isInteger(value) || value.typeId() == QMetaType::Double
        || value.typeId() == QMetaType::Float;
}

bool isString(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

bool isStringList(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return true;
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList list = value.toList();
    return std::all_of(list.cbegin(), list.cend(), [](const QVariant &v) { return isString(v); });
}

bool isDoubleList(const QVariant &value)
{
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList list = value.toList();
    return std::all_of(list.cbegin(), list.cend(), [](const QVariant &v) { return isNumber(v); });
}

bool isMap(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantMap;
}

QStringList toStringList(const QVariant &value)
{
    return value.toStringList();
}

QList<double> toDoubleList(const QVariant &value)
{
    QList<double> result;
    for (const QVariant &v : value.toList())
        result.append(v.toDouble());
    return result;
}

qint64 toInteger(const QVariant &value)
{
    if (isInteger(value))
        return value.toLongLong();
    if (!isNumber(value))
        return 0;
    const double d = value.toDouble();
    if (!std::isfinite(d))
        return 0;
    if (d >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (d <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return qint64(d);
}

} // namespace DefaultsValue
