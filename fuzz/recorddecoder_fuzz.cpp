// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the record reader. Whatever it accepts must survive a save: writing
// the records and reading them back gives the very same records, bit for bit, and writing those
// again gives the very same bytes.

#include "records/json/recordcodec.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool sameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameRecord(const FocusRecord &a, const FocusRecord &b)
{
    return a.id == b.id && a.title == b.title && sameDouble(a.startedAt, b.startedAt)
        && sameDouble(a.endedAt, b.endedAt) && sameDouble(a.duration, b.duration)
        && a.project == b.project && a.subproject == b.subproject && a.wrapUp == b.wrapUp
        && a.early == b.early;
}

[[noreturn]] void failWith(const char *what, const QByteArray &written)
{
    std::fprintf(stderr, "%s\nre-encoded: %.*s\n", what,
        int(std::min<qsizetype>(written.size(), 2000)), written.constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const RecordCodec::DecodeResult first = RecordCodec::decode(input);
    if (!first.ok())
        return 0;

    const QByteArray written = RecordCodec::encode(first.records);
    const RecordCodec::DecodeResult second = RecordCodec::decode(written);
    if (!second.ok())
        failWith("written records do not read back", written);
    if (second.records.size() != first.records.size())
        failWith("written records read back with a different count", written);
    for (qsizetype i = 0; i < first.records.size(); ++i) {
        if (!sameRecord(first.records[i], second.records[i]))
            failWith("a written record reads back changed", written);
    }
    if (RecordCodec::encode(second.records) != written)
        failWith("writing the read-back records gives other bytes", written);
    return 0;
}
