// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A stand-in for a launch of the application, for the two-process tests of SingleInstance.
// Usage: singleinstance_probe <folder> <key>, or singleinstance_probe <lock folder> <socket
// folder> <key>, as a launch whose runtime folder differs from another's.
// As primary it prints "primary", then "activated" at every knock, and runs until killed.
// As secondary it knocks and prints "secondary notified" (exit 2); when it can neither hand over
// nor start it prints "secondary unreachable" and the reason on stderr (exit 3).
#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3 && arguments.size() != 4)
        return 64;

    const QStringList folders = arguments.mid(1, arguments.size() - 2);
    SingleInstance instance(arguments.last(), folders.first(), folders.last());
    switch (instance.claimOrHandOver()) {
    case SingleInstance::Launch::Primary:
        QObject::connect(
            &instance, &SingleInstance::activationRequested, &app, [] { say("activated"); });
        say("primary");
        return app.exec();
    case SingleInstance::Launch::HandedOver:
        say("secondary notified");
        return 2;
    case SingleInstance::Launch::Failed:
        break;
    }
    say("secondary unreachable");
    std::fprintf(stderr, "%s\n", qUtf8Printable(instance.failureReason()));
    return 3;
}
