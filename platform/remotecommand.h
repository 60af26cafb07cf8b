// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// What a later launch asks of the running instance: one line per command, each a fixed word.
// Anything else on the channel is not ours and is dropped without effect.
enum class RemoteCommand {
    Activate, // a plain second launch: come forward
    Toggle,
    Start,
    Pause,
    Reset,
    Show,
    Status, // answered with one status line
    StatusJson, // answered with one status object
    Follow, // a status line now and at each change, until the application quits
    FollowJson,
};

namespace RemoteCommands {

// The longest line that can be a command, its line break included.
constexpr qsizetype maxLineLength = 64;

// One complete line, its line break included; nothing for an unknown or malformed line.
std::optional<RemoteCommand> parse(QByteArrayView line);
QByteArray encode(RemoteCommand command);
// Status commands are answered with status lines; the others with "ok".
bool asksForStatus(RemoteCommand command);
bool follows(RemoteCommand command);
bool wantsJson(RemoteCommand command);

} // namespace RemoteCommands
