// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <QByteArray>

// The JSON form of the record list: one compact UTF-8 array of objects.
namespace RecordCodec {

enum class DecodeError {
    None,
    NotJson, // the bytes are not JSON (empty input included)
    Corrupt, // JSON of the wrong shape, or a non-empty array without one usable element
};

struct DecodeResult {
    FocusRecordList records; // newest first
    DecodeError error = DecodeError::None;
    QString errorText; // for logs only; never shown to the user

    bool ok() const { return error == DecodeError::None; }
};

// Compact JSON, no trailing newline; every double is written in its shortest exact form.
// Infinities are written as ±1e999 and read back as such; NaN is written as 0. A lone surrogate
// in a text is written as a \u escape, so the bytes stay valid UTF-8. Empty only when the list is
// too large for memory.
QByteArray encode(const FocusRecordList &records);

// Tolerant of single elements, strict about the whole; the result is sorted by end, newest first.
// The JSON itself must be strict RFC 8259 in valid UTF-8; a leading byte-order mark is allowed.
DecodeResult decode(const QByteArray &data);

} // namespace RecordCodec
