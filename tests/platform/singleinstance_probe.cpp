// A stand-in for a launch of the application, for the two-process tests of SingleInstance.
// Usage: singleinstance_probe <folder> <key>
// As primary it prints "primary", then "activated" at every knock, and runs until killed.
// As secondary it knocks, prints "secondary notified" (exit 2) or "secondary unreachable"
// (exit 3).
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
    if (arguments.size() != 3)
        return 64;

    SingleInstance instance(arguments.at(2), arguments.at(1));
    if (instance.claim()) {
        QObject::connect(
            &instance, &SingleInstance::activationRequested, &app, [] { say("activated"); });
        say("primary");
        return app.exec();
    }
    if (instance.notifyPrimary()) {
        say("secondary notified");
        return 2;
    }
    say("secondary unreachable");
    return 3;
}
