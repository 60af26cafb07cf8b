// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/singleinstance.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <algorithm>
#include <cstring>
#include <memory>
#include <poll.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

// A real folder of this user that no one else may enter.
bool isPrivateFolder(const QString &path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid() && (status.st_mode & 07777) == 0700;
}

// A connection that says nothing; -1 when the server cannot be reached.
int silentConnection(const QString &serverName)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(serverName);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    // A server that stopped accepting would otherwise keep connect() waiting.
    const timeval patience {2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The server closed the connection, or reset it when it closed before taking it.
bool closedByServer(int fd)
{
    pollfd entry {fd, POLLIN, 0};
    char byte = 0;
    if (::poll(&entry, 1, 0) != 1)
        return false;
    const ssize_t read = ::recv(fd, &byte, 1, MSG_DONTWAIT);
    return read == 0 || (read < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

mode_t modeOf(const QString &path)
{
    struct stat status { };
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 07777;
}

} // namespace

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void shouldBePrimaryWhenNoOtherInstanceHoldsTheKey();
    void shouldBeSecondaryWhileThePrimaryHoldsTheKey();
    void shouldFreeTheKeyWhenThePrimaryEnds();
    void shouldPlaceLockBesideTheRecordsAndSocketInTheRuntimeFolder();
    void shouldUseAPrivateFolderWithoutARuntimeFolder_data();
    void shouldUseAPrivateFolderWithoutARuntimeFolder();
    void shouldAnswerKnownCommandsAndDropAnythingElse_data();
    void shouldAnswerKnownCommandsAndDropAnythingElse();
    void shouldDropAConnectionThatSendsAnOverlongLine();
    void shouldReportFailureWhenTheLockHolderDoesNotListen();
    void shouldStillStartWhenNoLockCanBeCreated();
    void shouldHandASecondProcessOverToTheRunningOne();
    void shouldHandOverAcrossRuntimeFolders();
    void shouldTakeOverALockThatBindsNoOne_data();
    void shouldTakeOverALockThatBindsNoOne();
    void shouldKeepListeningThroughAFloodOfSilentConnections_data();
    void shouldKeepListeningThroughAFloodOfSilentConnections();
    void shouldEndWithExactlyOnePrimaryWhenManyStartAtOnce();

private:
    // A launch with the test's folder for lock and socket, or a lock folder and a runtime folder.
    QProcess *startProbe(const QStringList &folders = {}, int maxFiles = 0);
    static QByteArray nextLine(QProcess *probe);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_key;
    std::vector<std::unique_ptr<QProcess>> m_probes;
};

void TestSingleInstance::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Unique per test, so no test meets a real running application or another test.
    m_key = u"probe-"_s + QUuid::createUuid().toString(QUuid::Id128);
}

void TestSingleInstance::cleanup()
{
    for (auto &probe : m_probes) {
        if (probe->state() != QProcess::NotRunning) {
            probe->kill();
            probe->waitForFinished(10000);
        }
    }
    m_probes.clear();
    m_dir.reset();
}

QProcess *TestSingleInstance::startProbe(const QStringList &folders, int maxFiles)
{
    auto probe = std::make_unique<QProcess>();
    probe->setProgram(QStringLiteral(SINGLEINSTANCE_PROBE));
    QStringList arguments = folders.isEmpty() ? QStringList {m_dir->path()} : folders;
    arguments.append(m_key);
    probe->setArguments(arguments);
    if (maxFiles > 0) {
        probe->setChildProcessModifier([maxFiles] {
            rlimit limit {};
            ::getrlimit(RLIMIT_NOFILE, &limit);
            limit.rlim_cur = rlim_t(maxFiles);
            ::setrlimit(RLIMIT_NOFILE, &limit);
        });
    }
    probe->start();
    m_probes.push_back(std::move(probe));
    return m_probes.back().get();
}

QByteArray TestSingleInstance::nextLine(QProcess *probe)
{
    while (!probe->canReadLine()) {
        if (!probe->waitForReadyRead(10000))
            break;
    }
    return probe->canReadLine() ? probe->readLine().trimmed() : QByteArray();
}

void TestSingleInstance::shouldBePrimaryWhenNoOtherInstanceHoldsTheKey()
{
    SingleInstance instance(m_key, m_dir->path());
    QVERIFY(instance.claim());
    QVERIFY(instance.isPrimary());
    QVERIFY(QFile::exists(instance.lockFilePath()));
    QVERIFY(QFile::exists(instance.serverName()));
}

void TestSingleInstance::shouldBeSecondaryWhileThePrimaryHoldsTheKey()
{
    SingleInstance primary(m_key, m_dir->path());
    QVERIFY(primary.claim());
    QSignalSpy activations(&primary, &SingleInstance::activationRequested);

    SingleInstance secondary(m_key, m_dir->path());
    QVERIFY(!secondary.claim());
    QVERIFY(!secondary.isPrimary());
    // In one thread the primary cannot answer before the call returns: a knock on a connection
    // that stays open is taken as delivered when the time is up.
    QVERIFY(secondary.notifyPrimary(300));
    QVERIFY(activations.wait(10000));
    QCOMPARE(activations.count(), 1);
}

void TestSingleInstance::shouldFreeTheKeyWhenThePrimaryEnds()
{
    auto first = std::make_unique<SingleInstance>(m_key, m_dir->path());
    QVERIFY(first->claim());
    const QString lockPath = first->lockFilePath();
    const QString socketPath = first->serverName();
    first.reset();
    QVERIFY(!QFile::exists(lockPath));
    QVERIFY(!QFile::exists(socketPath));

    SingleInstance next(m_key, m_dir->path());
    QVERIFY(next.claim());
}

void TestSingleInstance::shouldPlaceLockBesideTheRecordsAndSocketInTheRuntimeFolder()
{
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
    const QString folder = SingleInstance::defaultFolder();
    qputenv("XDG_RUNTIME_DIR", previous);
    QCOMPARE(folder, m_dir->path());

    const QString data = m_dir->filePath(u"home/data"_s);
    SingleInstance instance(m_key, data, folder);
    QVERIFY(instance.claim());
    QCOMPARE(instance.lockFilePath(), data + u"/."_s + m_key + u".lock"_s);
    QCOMPARE(instance.serverName(), m_dir->filePath(m_key + u".socket"_s));
    QVERIFY(isPrivateFolder(data));
    QCOMPARE(modeOf(instance.lockFilePath()), mode_t(0600));
}

void TestSingleInstance::shouldUseAPrivateFolderWithoutARuntimeFolder_data()
{
    QTest::addColumn<QString>("found"); // what the shared name in the temp folder is
    QTest::newRow("nothing yet") << u"missing"_s;
    QTest::newRow("a folder open to everyone") << u"mode 777"_s;
    QTest::newRow("a folder others may enter") << u"mode 755"_s;
    QTest::newRow("a link to a private folder") << u"link"_s;
    QTest::newRow("a file") << u"file"_s;
    QTest::newRow("a folder of another user") << u"other owner"_s;
}

void TestSingleInstance::shouldUseAPrivateFolderWithoutARuntimeFolder()
{
    QFETCH(QString, found);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray temp = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        for (const auto &[name, value] :
            {std::pair {"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", temp}}) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    });
    // As after su or sudo -u: no runtime folder, a temp folder shared by every user.
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(m_dir->path()));
    const QString shared = m_dir->filePath(u"velmor-focus-"_s + QString::number(::geteuid()));
    // Qt's own fallback must not be what decides: make it unusable too.
    const QString qtFallback =
        m_dir->filePath(u"runtime-"_s + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name));
    QVERIFY(QDir().mkpath(qtFallback));

    if (found == u"mode 777" || found == u"mode 755" || found == u"other owner") {
        QVERIFY(QDir().mkpath(shared));
        QVERIFY(::chmod(QFile::encodeName(shared).constData(), found == u"mode 755" ? 0755 : 0777)
            == 0);
    } else if (found == u"link") {
        QVERIFY(QDir().mkpath(m_dir->filePath(u"elsewhere"_s)));
        QVERIFY(::chmod(QFile::encodeName(m_dir->filePath(u"elsewhere"_s)).constData(), 0700) == 0);
        QVERIFY(QFile::link(m_dir->filePath(u"elsewhere"_s), shared));
    } else if (found == u"file") {
        QFile file(shared);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (found == u"other owner") {
        if (::chown(QFile::encodeName(shared).constData(), 65534, 65534) != 0)
            QSKIP("Giving a folder to another user needs root.");
        QVERIFY(::chmod(QFile::encodeName(shared).constData(), 0700) == 0);
    }
    ::chown(QFile::encodeName(qtFallback).constData(), 65534, 65534);

    const QString folder = SingleInstance::defaultFolder();
    QVERIFY2(isPrivateFolder(folder), qPrintable(folder));
    if (found == u"missing")
        QCOMPARE(folder, shared);
    else
        QVERIFY(folder != shared);

    // And a launch there works: the lock beside the records, the socket in that folder.
    SingleInstance instance(m_key, m_dir->filePath(u"data"_s), folder);
    QVERIFY(instance.claim());
    QVERIFY(QFileInfo::exists(instance.serverName()));
}

void TestSingleInstance::shouldAnswerKnownCommandsAndDropAnythingElse_data()
{
    QTest::addColumn<QByteArrayList>("writes");
    // Everything the client reads until it is dropped (followers: until the status changed).
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("activations");
    QTest::addColumn<QList<RemoteCommand>>("commands");

    using C = RemoteCommand;
    const auto row = [](const char *name, QByteArrayList writes, QByteArray answer,
                         int activations = 0, QList<RemoteCommand> commands = {}) {
        QTest::newRow(name) << writes << answer << activations << commands;
    };
    row("activate", {"activate\n"}, "ok\n", 1);
    row("toggle", {"toggle\n"}, "ok\n", 0, {C::Toggle});
    row("start", {"start\n"}, "ok\n", 0, {C::Start});
    row("pause", {"pause\n"}, "ok\n", 0, {C::Pause});
    row("reset", {"reset\n"}, "ok\n", 0, {C::Reset});
    row("show", {"show\n"}, "ok\n", 0, {C::Show});
    row("status", {"status\n"}, "正在专注 24:59 学习\n");
    row("status as JSON", {"status-json\n"}, "{\"state\":\"正在专注\"}\n");
    row("follow, not dropped while quiet", {"follow\n"},
        "正在专注 24:59 学习\n已暂停 24:59 学习\n");
    row("follow as JSON", {"follow-json\n"}, "{\"state\":\"正在专注\"}\n{\"state\":\"已暂停\"}\n");
    row("two commands, one split over two writes", {"pause\nsta", "rt\n"}, "ok\nok\n", 0,
        {C::Pause, C::Start});
    row("unknown, near misses and a known one", {"hello\nactivatex\nactiv", "ate\n"}, "ok\n", 1);
    row("case, spaces and carriage returns", {"Toggle\n toggle\ntoggle \ntoggle\r\n"}, "");
    row("a null byte inside", {QByteArray("sta\0tus\n", 8)}, "");
    row("an empty line", {"\n"}, "");
    row("oversized, never a line break", {QByteArray(200, 'x')}, "");
    row("oversized line that ends in a command", {QByteArray(70, ' ') + "toggle\n"}, "");
    row("a client that sends nothing", {}, "");
}

void TestSingleInstance::shouldAnswerKnownCommandsAndDropAnythingElse()
{
    QFETCH(QByteArrayList, writes);
    QFETCH(QByteArray, answer);
    QFETCH(int, activations);
    QFETCH(QList<RemoteCommand>, commands);

    SingleInstance primary(m_key, m_dir->path());
    SingleInstance client(m_key, m_dir->path());
    // Status requests never start an instance: none answers before one runs.
    QVERIFY(!client.connectToPrimary());
    QVERIFY(primary.claim());
    QString state = u"正在专注"_s;
    primary.setStatusSource([&state](bool json) {
        return json ? u"{\"state\":\"%1\"}"_s.arg(state).toUtf8()
                    : QString(state + u" 24:59 学习"_s).toUtf8();
    });
    QSignalSpy activated(&primary, &SingleInstance::activationRequested);
    QList<RemoteCommand> received;
    connect(&primary, &SingleInstance::commandReceived, this,
        [&received](RemoteCommand command) { received.append(command); });

    const std::unique_ptr<QLocalSocket> socket = client.connectToPrimary();
    QVERIFY(socket);
    QByteArray read;
    connect(socket.get(), &QLocalSocket::readyRead, this,
        [&read, &socket] { read += socket->readAll(); });
    QSignalSpy dropped(socket.get(), &QLocalSocket::disconnected);
    for (const QByteArray &bytes : writes) {
        socket->write(bytes);
        socket->flush();
        QCoreApplication::processEvents();
    }
    if (QByteArray(QTest::currentDataTag()).startsWith("follow")) {
        QTRY_VERIFY_WITH_TIMEOUT(read.endsWith('\n'), 10000);
        // Quiet for longer than a silent client may stay, and told only of a change.
        QVERIFY(!dropped.wait(1500));
        primary.publishStatus();
        state = u"已暂停"_s;
        primary.publishStatus();
        primary.publishStatus();
        QTRY_COMPARE_WITH_TIMEOUT(read, answer, 10000);
        QCOMPARE(socket->state(), QLocalSocket::ConnectedState);
    } else {
        // Every other client is dropped within a second, answered or not.
        QVERIFY(dropped.wait(10000));
        QCOMPARE(read, answer);
    }
    QCOMPARE(activated.count(), activations);
    QCOMPARE(received, commands);
}

void TestSingleInstance::shouldDropAConnectionThatSendsAnOverlongLine()
{
    SingleInstance primary(m_key, m_dir->path());
    QVERIFY(primary.claim());
    QSignalSpy activations(&primary, &SingleInstance::activationRequested);

    QLocalSocket socket;
    socket.connectToServer(primary.serverName());
    QVERIFY(socket.waitForConnected(10000));
    socket.write(QByteArray(200, 'x'));
    socket.flush();
    QSignalSpy dropped(&socket, &QLocalSocket::disconnected);
    QVERIFY(dropped.wait(10000));
    QCOMPARE(activations.count(), 0);

    SingleInstance secondary(m_key, m_dir->path());
    QVERIFY(secondary.notifyPrimary(300));
    QVERIFY(activations.wait(10000));
    // A later launch hands its command over the same way.
    QSignalSpy commands(&primary, &SingleInstance::commandReceived);
    QVERIFY(secondary.notifyPrimary(300, RemoteCommand::Toggle));
    QVERIFY(commands.wait(10000));
}

void TestSingleInstance::shouldReportFailureWhenTheLockHolderDoesNotListen()
{
    SingleInstance instance(m_key, m_dir->path());
    QLockFile holder(instance.lockFilePath());
    QVERIFY(holder.tryLock(0));

    QVERIFY(!instance.claim());
    QVERIFY(!instance.notifyPrimary(100));

    // A launch that can neither hand over nor start says why and fails.
    QProcess *launch = startProbe();
    QVERIFY(launch->waitForFinished(20000));
    QCOMPARE(launch->exitCode(), 3);
    const QString reason = QString::fromUtf8(launch->readAllStandardError());
    QVERIFY2(reason.contains(instance.lockFilePath()), qPrintable(reason));
    QVERIFY2(
        reason.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(reason));
    QVERIFY2(reason.contains(instance.serverName()), qPrintable(reason));
}

void TestSingleInstance::shouldStillStartWhenNoLockCanBeCreated()
{
    QFile blocker(m_dir->filePath(u"not-a-folder"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    SingleInstance instance(m_key, blocker.fileName() + u"/runtime"_s);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot create the lock file"_s));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot listen"_s));
    QVERIFY(instance.claim());
    QVERIFY(instance.isPrimary());
}

void TestSingleInstance::shouldHandASecondProcessOverToTheRunningOne()
{
    QProcess *first = startProbe();
    QCOMPARE(nextLine(first), "primary"_ba);

    QProcess *second = startProbe();
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 2);
    QCOMPARE(second->readAllStandardOutput().trimmed(), "secondary notified"_ba);

    QCOMPARE(nextLine(first), "activated"_ba);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestSingleInstance::shouldHandOverAcrossRuntimeFolders()
{
    // Two sessions of one user (a desktop and an su shell): one home, two runtime folders.
    const QString data = m_dir->filePath(u"data"_s);
    QProcess *first = startProbe({data, m_dir->filePath(u"run-desktop"_s)});
    QCOMPARE(nextLine(first), "primary"_ba);

    QProcess *second = startProbe({data, m_dir->filePath(u"run-shell"_s)});
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->readAllStandardOutput().trimmed(), "secondary notified"_ba);
    QCOMPARE(second->exitCode(), 2);
    QCOMPARE(nextLine(first), "activated"_ba);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestSingleInstance::shouldTakeOverALockThatBindsNoOne_data()
{
    QTest::addColumn<QByteArray>("left"); // what the lock file holds; null: a killed primary's
    QTest::newRow("a killed primary's lock") << QByteArray();
    QTest::newRow("an empty lock file") << ""_ba;
    QTest::newRow("a garbled lock file") << "\x00\xFFnot a process\n"_ba;
}

void TestSingleInstance::shouldTakeOverALockThatBindsNoOne()
{
    QFETCH(QByteArray, left);
    SingleInstance names(m_key, m_dir->path());
    if (left.isNull()) {
        QProcess *first = startProbe();
        QCOMPARE(nextLine(first), "primary"_ba);
        first->kill();
        QVERIFY(first->waitForFinished(10000));
        // SIGKILL leaves both files behind, as a crash or a power cut would.
        QVERIFY(QFile::exists(names.serverName()));
    } else {
        QFile lock(names.lockFilePath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QCOMPARE(lock.write(left), left.size());
    }
    QVERIFY(QFile::exists(names.lockFilePath()));

    QProcess *next = startProbe();
    QCOMPARE(nextLine(next), "primary"_ba);

    // The new primary listens on the name the dead one left behind.
    QProcess *knock = startProbe();
    QVERIFY(knock->waitForFinished(10000));
    QCOMPARE(knock->exitCode(), 2);
    QCOMPARE(nextLine(next), "activated"_ba);
}

void TestSingleInstance::shouldKeepListeningThroughAFloodOfSilentConnections_data()
{
    QTest::addColumn<int>("connections");
    QTest::addColumn<int>("maxFiles"); // the primary's limit of open files
    QTest::newRow("a thousand, more than the primary may open") << 1000 << 512;
    QTest::newRow("a hundred, with hardly a file to spare") << 100 << 24;
}

void TestSingleInstance::shouldKeepListeningThroughAFloodOfSilentConnections()
{
    QFETCH(int, connections);
    QFETCH(int, maxFiles);
    rlimit limit {};
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &limit) == 0);
    if (limit.rlim_cur < rlim_t(connections + 64)) {
        limit.rlim_cur = qMin<rlim_t>(limit.rlim_max, rlim_t(connections + 64));
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &limit) == 0);
        if (limit.rlim_cur < rlim_t(connections + 64))
            QSKIP("This process may not open enough files to flood the primary.");
    }
    QProcess *primary = startProbe({}, maxFiles);
    QCOMPARE(nextLine(primary), "primary"_ba);
    SingleInstance names(m_key, m_dir->path());

    std::vector<int> flood;
    const auto closeAll = qScopeGuard([&flood] {
        for (const int fd : flood)
            ::close(fd);
    });
    for (int i = 0; i < connections; ++i) {
        const int fd = silentConnection(names.serverName());
        if (fd >= 0)
            flood.push_back(fd);
    }
    QVERIFY(!flood.empty());

    // A launch in the middle of it all is handed over.
    QProcess *knock = startProbe();
    QVERIFY(knock->waitForFinished(10000));
    QCOMPARE(knock->readAllStandardOutput().trimmed(), "secondary notified"_ba);
    QCOMPARE(nextLine(primary), "activated"_ba);

    // And every silent connection is dropped.
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(flood.cbegin(), flood.cend(), closedByServer), 10000);
    QCOMPARE(primary->state(), QProcess::Running);
}

void TestSingleInstance::shouldEndWithExactlyOnePrimaryWhenManyStartAtOnce()
{
    constexpr int launches = 8;
    std::vector<QProcess *> probes;
    for (int i = 0; i < launches; ++i)
        probes.push_back(startProbe());

    QProcess *primary = nullptr;
    int secondaries = 0;
    for (QProcess *probe : probes) {
        const QByteArray line = nextLine(probe);
        if (line == "primary") {
            QVERIFY2(!primary, "two launches both became primary");
            primary = probe;
            continue;
        }
        QCOMPARE(line, "secondary notified"_ba);
        QVERIFY(probe->waitForFinished(10000));
        QCOMPARE(probe->exitCode(), 2);
        ++secondaries;
    }
    QVERIFY(primary);
    QCOMPARE(secondaries, launches - 1);
    for (int i = 0; i < launches - 1; ++i)
        QCOMPARE(nextLine(primary), "activated"_ba);
    QCOMPARE(primary->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
