// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/openglrenderer.h"
#include "platform/singleinstance.h"
#include "ui/app/remotecontrol.h"
#include "ui/app/startupfonts.h"
#include "ui/app/velmorstimerapp.h"

#include <QApplication>
#include <QFont>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <cstring>
#include <optional>

Q_IMPORT_QML_PLUGIN(VelmorFocusPlugin)

using namespace Qt::StringLiterals;

namespace {

const char helpText[] = "用法：velmor-focus [选项]\n"
                        "不带选项时打开 Velmor's Focus；它已在运行时把窗口调到前面。\n"
                        "\n"
                        "  --toggle           准备开始时开始专注，正在专注时暂停，已暂停时继续\n"
                        "  --start            开始或继续专注\n"
                        "  --pause            暂停专注\n"
                        "  --reset            中止本轮专注（不再询问）\n"
                        "  --show             显示主窗口，关闭了也重新打开\n"
                        "  --status           输出一行：状态、剩余时间、项目 / 子项目\n"
                        "  --status --json    以 JSON 输出状态、剩余秒数、总秒数、事项、项目、\n"
                        "                     子项目和今日专注秒数\n"
                        "  --status --follow  每当显示的内容变化时再输出一行，直到应用退出\n"
                        "  -h, --help         显示本帮助\n"
                        "\n"
                        "除 --status 外，应用未运行时先启动它再执行命令。\n"
                        "退出码：0 成功；2 选项有误；3 --status 时应用未运行（不会启动它）。\n";

struct Arguments {
    std::optional<RemoteCommand> command;
    bool help = false;
    QByteArray error;
};

// Exactly the options of the help text: one command, --json and --follow only after --status.
Arguments parseArguments(int argc, char *argv[])
{
    Arguments result;
    bool status = false;
    bool json = false;
    bool follow = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        std::optional<RemoteCommand> command;
        if (argument == "--help" || argument == "-h")
            result.help = true;
        else if (argument == "--json")
            json = true;
        else if (argument == "--follow")
            follow = true;
        else if (argument == "--status")
            status = true;
        else if (argument == "--toggle")
            command = RemoteCommand::Toggle;
        else if (argument == "--start")
            command = RemoteCommand::Start;
        else if (argument == "--pause")
            command = RemoteCommand::Pause;
        else if (argument == "--reset")
            command = RemoteCommand::Reset;
        else if (argument == "--show")
            command = RemoteCommand::Show;
        else {
            result.error = "未知选项：" + argument.toByteArray();
            return result;
        }
        if (command) {
            if (result.command || status) {
                result.error = "一次只能给一个命令";
                return result;
            }
            result.command = command;
        }
    }
    if (status) {
        if (result.command) {
            result.error = "一次只能给一个命令";
            return result;
        }
        result.command = follow ? (json ? RemoteCommand::FollowJson : RemoteCommand::Follow)
                                : (json ? RemoteCommand::StatusJson : RemoteCommand::Status);
    } else if (json || follow) {
        result.error = "--json 和 --follow 只能与 --status 一起使用";
    }
    return result;
}

// Asks the running instance for its status and prints it; never starts one. 3 when none runs.
int printStatus(RemoteCommand command)
{
    SingleInstance instance(SingleInstance::defaultKey());
    const std::unique_ptr<QLocalSocket> socket = instance.connectToPrimary();
    if (!socket) {
        std::fputs("velmor-focus: 应用未运行\n", stderr);
        return 3;
    }
    socket->write(RemoteCommands::encode(command));
    socket->waitForBytesWritten(1000);
    const bool follow = RemoteCommands::follows(command);
    bool answered = false;
    for (;;) {
        while (socket->canReadLine()) {
            const QByteArray line = socket->readLine();
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
            std::fflush(stdout);
            if (!follow)
                return 0;
            answered = true;
        }
        if (socket->state() != QLocalSocket::ConnectedState)
            break;
        // A primary still starting up answers once its window stands.
        if (!socket->waitForReadyRead(follow ? -1 : 10000) && !follow)
            break;
    }
    if (answered)
        return 0;
    std::fputs("velmor-focus: 应用没有回答\n", stderr);
    return 3;
}

} // namespace

int main(int argc, char *argv[])
{
    const Arguments arguments = parseArguments(argc, argv);
    if (!arguments.error.isEmpty()) {
        std::fprintf(
            stderr, "velmor-focus: %s\n用 --help 查看可用的选项。\n", arguments.error.constData());
        return 2;
    }
    if (arguments.help) {
        std::fputs(helpText, stdout);
        return 0;
    }
    if (arguments.command && RemoteCommands::asksForStatus(*arguments.command)) {
        QCoreApplication core(argc, argv);
        return printStatus(*arguments.command);
    }
    const RemoteCommand command = arguments.command.value_or(RemoteCommand::Activate);

    // Must be decided before the application object picks its platform plugin.
    if (const auto platform =
            VelmorsTimerApp::preferredPlatform(QProcessEnvironment::systemEnvironment())) {
        qputenv("QT_QPA_PLATFORM", *platform);
    }

    // QApplication, not QGuiApplication: the tray item is a widget-module class.
    QApplication application(argc, argv);
    QApplication::setApplicationName(VelmorsTimerApp::windowTitle());
    QApplication::setDesktopFileName(u"velmor-focus"_s);
    QQuickStyle::setStyle(u"Basic"_s);
    // Texts that name no face of their own (Qt's dialogs, the tray menu) are in the interface's
    // face too. Each Qt Quick text also measures the default font once: it is then a font the
    // window opens anyway, not one more face to open before the first frame.
    QFont font = QGuiApplication::font();
    font.setFamilies({StartupFonts::family()});
    QApplication::setFont(font);

    // One running instance: a second launch hands its command (by default: come forward) to the
    // first one and leaves.
    SingleInstance instance(SingleInstance::defaultKey());
    switch (instance.claimOrHandOver(3000, command)) {
    case SingleInstance::Launch::Primary:
        break;
    case SingleInstance::Launch::HandedOver:
        return 0;
    case SingleInstance::Launch::Failed:
        std::fprintf(stderr, "velmor-focus: %s\n", qUtf8Printable(instance.failureReason()));
        return 1;
    }

    // OpenGL names its renderer while the records load, unless the user chose the renderer or
    // there is no graphics device for it to be drawn by.
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    std::optional<OpenGlRendererProbe> openGl;
    if (!VelmorsTimerApp::rendererChosenByUser(environment)
        && OpenGlRendererProbe::hasGraphicsDevice()) {
        openGl.emplace();
    }

    // The interface is Chinese; so are Qt's own dialogs (the open and save panels).
    VelmorsTimerApp::installQtTranslations();

    VelmorsTimerApp app;
    // Before the first window: OpenGL on graphics hardware; where OpenGL is drawn by the
    // processor, the software renderer, which repaints only the small areas that change five
    // times a second instead of the whole window.
    if (const auto api = VelmorsTimerApp::preferredGraphicsApi(
            environment, [&] { return openGl ? openGl->name() : QString(); })) {
        QQuickWindow::setGraphicsApi(*api);
    }
    QObject::connect(&instance, &SingleInstance::activationRequested, &app,
        &VelmorsTimerApp::bringMainWindowForward);
    RemoteControl remote(app.model(), [&app] { app.bringMainWindowForward(); });
    instance.setStatusSource([&remote](bool json) { return remote.status(json); });
    QObject::connect(&instance, &SingleInstance::commandReceived, &remote, &RemoteControl::apply);
    QObject::connect(
        &remote, &RemoteControl::statusChanged, &instance, &SingleInstance::publishStatus);
    if (!app.start()) {
        std::fputs("velmor-focus: the main window could not be created\n", stderr);
        return 1;
    }
    // The command that started the application applies once its window stands.
    if (command != RemoteCommand::Activate)
        remote.apply(command);
    return application.exec();
}
