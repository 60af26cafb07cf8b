// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/remotecommand.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<RemoteCommand, const char *>, 10> words {{
    {RemoteCommand::Activate, "activate"},
    {RemoteCommand::Toggle, "toggle"},
    {RemoteCommand::Start, "start"},
    {RemoteCommand::Pause, "pause"},
    {RemoteCommand::Reset, "reset"},
    {RemoteCommand::Show, "show"},
    {RemoteCommand::Status, "status"},
    {RemoteCommand::StatusJson, "status-json"},
    {RemoteCommand::Follow, "follow"},
    {RemoteCommand::FollowJson, "follow-json"},
}};

} // namespace

std::optional<RemoteCommand> RemoteCommands::parse(QByteArrayView line)
{
    if (line.size() > maxLineLength || !line.endsWith('\n'))
        return std::nullopt;
    const QByteArrayView word = line.chopped(1);
    // Exact words only: no spaces, carriage returns or case folding, so a line means one thing.
    for (const auto &[command, text] : words) {
        if (word == QByteArrayView(text))
            return command;
    }
    return std::nullopt;
}

QByteArray RemoteCommands::encode(RemoteCommand command)
{
    for (const auto &[known, text] : words) {
        if (known == command) {
            QByteArray line(text);
            line.append('\n');
            return line;
        }
    }
    return {};
}

bool RemoteCommands::asksForStatus(RemoteCommand command)
{
    return command == RemoteCommand::Status || command == RemoteCommand::StatusJson
        || follows(command);
}

bool RemoteCommands::follows(RemoteCommand command)
{
    return command == RemoteCommand::Follow || command == RemoteCommand::FollowJson;
}

bool RemoteCommands::wantsJson(RemoteCommand command)
{
    return command == RemoteCommand::StatusJson || command == RemoteCommand::FollowJson;
}
