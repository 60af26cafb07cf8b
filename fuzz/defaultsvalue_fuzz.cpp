// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the defaults store's value reader, as a damaged or hand-edited value
// file would. Whatever it reads must be writable, read back as the very same value (same types,
// same bits but for the sign of a zero), and be written again as the very same bytes.
//
// The same bytes also describe a value to store (any texts, keys and numbers): writing it and
// reading it back must give that very value.

#include "platform/filedefaultsstore.h"

#include <QVariantList>

#include <QVariantMap>
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.typeId() != b.typeId())
        return false;
    switch (a.typeId()) {
    case QMetaType::Double: {
        // Bit for bit, except that a zero may lose its sign: the JSON writer spells -0.0 "0",
        // which no setting can tell apart.
        const double x = a.toDouble();
        const double y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0 || (x == 0 && y == 0)
            || (std::isnan(x) && std::isnan(y));
    }
    case QMetaType::QVariantList: {
        const QVariantList x = a.toList();
        const QVariantList y = b.toList();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i) {
            if (!sameValue(x[i], y[i]))
                return false;
        }
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap x = a.toMap();
        const QVariantMap y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto it = x.cbegin(); it != x.cend(); ++it) {
            if (!sameValue(it.value(), y.value(it.key())))
                return false;
        }
        return true;
    }
    case QMetaType::LongLong:
    case QMetaType::Bool:
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return a == b;
    default:
        return false; // the reader gives no other type
    }
}

// Any UTF-16 text, leaning on the characters that JSON and UTF-8 treat specially.
QString fuzzedText(FuzzedDataProvider &provider)
{
    static const char16_t interesting[] = {u'"', u'\\', u'/', 0x0000, 0x001F, 0x007F, 0x00E9,
        0x2028, 0x202E, 0xFEFF, 0xFFFE, 0xFFFF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, u'学'};
    const std::size_t length = provider.ConsumeIntegralInRange<std::size_t>(0, 12);
    QString text;
    for (std::size_t i = 0; i < length && provider.remaining_bytes() > 0; ++i) {
        if (provider.ConsumeBool())
            text += QChar(provider.PickValueInArray(interesting));
        else
            text += QChar(provider.ConsumeIntegral<char16_t>());
    }
    return text;
}

QVariant fuzzedValue(FuzzedDataProvider &provider, int depth)
{
    static const double special[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(), 0.1};
    // At the deepest level only plain values (0 to 4): no list or map nests further.
    switch (provider.ConsumeIntegralInRange(0, depth > 0 ? 7 : 4)) {
    case 0:
        return QVariant(provider.ConsumeIntegral<qint64>());
    case 1:
        return QVariant(provider.ConsumeBool() ? provider.PickValueInArray(special)
                                               : provider.ConsumeFloatingPoint<double>());
    case 2:
        return QVariant(provider.ConsumeBool());
    case 3:
        return QVariant(fuzzedText(provider));
    case 4: {
        const std::string bytes = provider.ConsumeRandomLengthString(64);
        return QVariant(QByteArray(bytes.data(), qsizetype(bytes.size())));
    }
    case 5:
    case 6: {
        QVariantList list;
        const int count = provider.ConsumeIntegralInRange(0, 4);
        for (int i = 0; i < count; ++i)
            list.append(fuzzedValue(provider, depth - 1));
        return list;
    }
    default: {
        QVariantMap map;
        const int count = provider.ConsumeIntegralInRange(0, 4);
        for (int i = 0; i < count; ++i)
            map.insert(fuzzedText(provider), fuzzedValue(provider, depth - 1));
        return map;
    }
    }
}

[[noreturn]] void failWith(const char *what, const QByteArray &written)
{
    std::fprintf(stderr, "%s\nwritten: %.*s\n", what,
        int(std::min<qsizetype>(written.size(), 2000)), written.constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    FuzzedDataProvider provider(data, size);
    const QVariant stored = fuzzedValue(provider, 4);
    const QByteArray storedBytes = FileDefaultsStore::encodeValue(stored);
    if (storedBytes.isEmpty())
        failWith("a value cannot be written", input);
    if (!sameValue(FileDefaultsStore::decodeValue(storedBytes), stored))
        failWith("a stored value reads back changed", storedBytes);

    const QVariant first = FileDefaultsStore::decodeValue(input);
    if (!first.isValid())
        return 0;

    // What the store hands out is already in its stored form.
    if (!sameValue(DefaultsValue::normalized(first), first))
        failWith("a read value is not in its stored form", input);
    const QByteArray written = FileDefaultsStore::encodeValue(first);
    if (written.isEmpty())
        failWith("a read value cannot be written", input);
    const QVariant second = FileDefaultsStore::decodeValue(written);
    if (!second.isValid())
        failWith("a written value does not read back", written);
    if (!sameValue(first, second))
        failWith("a written value reads back changed", written);
    if (FileDefaultsStore::encodeValue(second) != written)
        failWith("writing the read-back value gives other bytes", written);
    return 0;
}
