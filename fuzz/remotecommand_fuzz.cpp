// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the command parser, as any program of the user could write them to the
// running instance's socket. The bytes are cut into lines as the instance cuts them; a line is
// taken only when it is a known command, and every command taken spells that very line again.

#include "platform/remotecommand.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
        if (const std::optional<RemoteCommand> command = RemoteCommands::parse(line)) {
            const QByteArray spelled = RemoteCommands::encode(*command);
            if (spelled != line || line.size() > RemoteCommands::maxLineLength)
                std::abort();
        }
        start = end;
    }
    return 0;
}
