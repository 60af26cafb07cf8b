// Feeds arbitrary bytes to the defaults store's value reader, as a damaged or hand-edited value
// file would. Whatever it reads must be writable, read back as the very same value (same types,
// same bits but for the sign of a zero), and be written again as the very same bytes.

#include "platform/filedefaultsstore.h"

#include <QVariantList>
#include <QVariantMap>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
        return std::memcmp(&x, &y, sizeof x) == 0 || (x == 0 && y == 0);
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
