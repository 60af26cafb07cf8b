// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/singleinstance.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
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

// A real folder (or file) of this user that no one else may open.
bool isPrivate(const QString &path, mode_t type = S_IFDIR, mode_t mode = 0700)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0
        && (status.st_mode & S_IFMT) == type && status.st_uid == ::geteuid()
        && (status.st_mode & 07777) == mode;
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

} // namespace

using namespace Qt::StringLiterals;

class TestSingleInstance : public QObject {
    Q_OBJECT

private:
    // A launch with the test's folder for lock and socket, or a lock folder and a runtime folder.
    QProcess *startProbe(const QStringList &folders = {}, int maxFiles = 0)
    {
        auto probe = std::make_unique<QProcess>();
        probe->setProgram(QStringLiteral(SINGLEINSTANCE_PROBE));
        probe->setArguments(
            (folders.isEmpty() ? QStringList {m_dir->path()} : folders) + QStringList {m_key});
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

    static QByteArray nextLine(QProcess *probe)
    {
        while (!probe->canReadLine() && probe->waitForReadyRead(10000)) { }
        return probe->canReadLine() ? probe->readLine().trimmed() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_key;
    std::vector<std::unique_ptr<QProcess>> m_probes;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        // Unique per test, so no test meets a real running application or another test.
        m_key = u"probe-"_s + QUuid::createUuid().toString(QUuid::Id128);
    }

    void cleanup()
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

    // The lock beside the records, the socket in the runtime folder; both go with the primary.
    void shouldHoldTheKeyUntilThePrimaryEnds()
    {
        const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
        const QString runtime = SingleInstance::defaultFolder();
        qputenv("XDG_RUNTIME_DIR", previous);
        QCOMPARE(runtime, m_dir->path());
        const QString data = m_dir->filePath(u"home/data"_s);

        auto primary = std::make_unique<SingleInstance>(m_key, data, runtime);
        QVERIFY(primary->claim());
        const QString lockPath = primary->lockFilePath();
        const QString socketPath = primary->serverName();
        QCOMPARE(lockPath, data + u"/."_s + m_key + u".lock"_s);
        QCOMPARE(socketPath, m_dir->filePath(m_key + u".socket"_s));
        QVERIFY(isPrivate(data));
        QVERIFY(isPrivate(lockPath, S_IFREG, 0600));
        QVERIFY(QFile::exists(socketPath));

        SingleInstance secondary(m_key, data, runtime);
        QVERIFY(!secondary.claim());

        primary.reset();
        QVERIFY(!QFile::exists(lockPath));
        QVERIFY(!QFile::exists(socketPath));
        QVERIFY(secondary.claim());
    }

    void shouldUseAPrivateFolderWithoutARuntimeFolder_data()
    {
        QTest::addColumn<QString>("found"); // what the shared name in the temp folder is
        QTest::newRow("nothing yet") << u"missing"_s;
        QTest::newRow("a folder open to everyone") << u"mode 777"_s;
        QTest::newRow("a link to a private folder") << u"link"_s;
        QTest::newRow("a file") << u"file"_s;
        QTest::newRow("a folder of another user") << u"other owner"_s;
    }

    void shouldUseAPrivateFolderWithoutARuntimeFolder()
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
        const QByteArray sharedName = QFile::encodeName(shared);
        // Qt's own fallback must not be what decides: make it unusable too.
        const QString qtFallback = m_dir->filePath(
            u"runtime-"_s + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name));
        QVERIFY(QDir().mkpath(qtFallback));

        if (found == u"mode 777" || found == u"other owner") {
            QVERIFY(QDir().mkpath(shared));
            QVERIFY(::chmod(sharedName.constData(), 0777) == 0);
        } else if (found == u"link") {
            const QString elsewhere = m_dir->filePath(u"elsewhere"_s);
            QVERIFY(QDir().mkpath(elsewhere));
            QVERIFY(::chmod(QFile::encodeName(elsewhere).constData(), 0700) == 0);
            QVERIFY(QFile::link(elsewhere, shared));
        } else if (found == u"file") {
            QFile file(shared);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (found == u"other owner") {
            if (::chown(sharedName.constData(), 65534, 65534) != 0)
                QSKIP("Giving a folder to another user needs root.");
            QVERIFY(::chmod(sharedName.constData(), 0700) == 0);
        }
        ::chown(QFile::encodeName(qtFallback).constData(), 65534, 65534);

        const QString folder = SingleInstance::defaultFolder();
        QVERIFY2(isPrivate(folder), qPrintable(folder));
        QCOMPARE(folder == shared, found == u"missing");

        // And a launch there works: the lock beside the records, the socket in that folder.
        SingleInstance instance(m_key, m_dir->filePath(u"data"_s), folder);
        QVERIFY(instance.claim());
        QVERIFY(QFileInfo::exists(instance.serverName()));
    }

    void shouldAnswerKnownCommandsAndDropAnythingElse_data()
    {
        QTest::addColumn<QByteArrayList>("writes");
        // Everything the client reads until it is dropped (followers: until the status changed).
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("activations");

        const auto row = [](const char *name, QByteArrayList writes, QByteArray answer,
                             int activations = 0) {
            QTest::newRow(name) << writes << answer << activations;
        };
        row("activate", {"activate\n"}, "ok\n", 1);
        row("status", {"status\n"}, "正在专注 24:59 学习\n");
        row("follow, not dropped while quiet", {"follow\n"},
            "正在专注 24:59 学习\n已暂停 24:59 学习\n");
        row("unknown, near misses and a known one", {"hello\nactivatex\nactiv", "ate\n"}, "ok\n",
            1);
        row("case, spaces, carriage returns, a null byte, an empty line",
            {QByteArray("Toggle\n toggle\ntoggle \ntoggle\r\nsta\0tus\n\n", 40)}, "");
        row("oversized, never a line break", {QByteArray(200, 'x')}, "");
        row("a client that sends nothing", {}, "");
    }

    void shouldAnswerKnownCommandsAndDropAnythingElse()
    {
        QFETCH(QByteArrayList, writes);
        QFETCH(QByteArray, answer);
        QFETCH(int, activations);

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
    }

    void shouldHandALaunchOverOrSayWhyItCannot_data()
    {
        // What was there before the launch: a running primary, files left behind by one that is
        // gone, or a lock held by a process that does not listen.
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("otherRuntimeFolder"); // the launch's runtime folder differs
        QTest::addColumn<int>("flood"); // silent connections open on the primary meanwhile
        QTest::addColumn<int>("maxFiles"); // the primary's limit of open files
        const auto row = [](const char *name, const QString &before, bool other = false,
                             int flood = 0, int maxFiles = 0) {
            QTest::newRow(name) << before << other << flood << maxFiles;
        };
        row("a second launch", u"running"_s);
        row("from another runtime folder of the same user", u"running"_s, true);
        row("a killed primary's lock is taken over", u"killed"_s);
        row("an empty lock file is taken over", u"empty"_s);
        row("a garbled lock file is taken over", u"garbled"_s);
        row("through a thousand silent connections, more than the primary may open", u"running"_s,
            false, 1000, 512);
        row("a lock holder that does not listen: say why and fail", u"held"_s);
    }

    void shouldHandALaunchOverOrSayWhyItCannot()
    {
        QFETCH(QString, before);
        QFETCH(bool, otherRuntimeFolder);
        QFETCH(int, flood);
        QFETCH(int, maxFiles);
        // Two sessions of one user (a desktop and an su shell): one home, two runtime folders.
        const QString data = m_dir->filePath(u"data"_s);
        const QStringList primaryFolders = otherRuntimeFolder
            ? QStringList {data, m_dir->filePath(u"run-desktop"_s)}
            : QStringList();
        const QStringList launchFolders = otherRuntimeFolder
            ? QStringList {data, m_dir->filePath(u"run-shell"_s)}
            : QStringList();
        SingleInstance names(m_key, m_dir->path());

        QLockFile holder(names.lockFilePath());
        if (before == u"held") {
            QVERIFY(holder.tryLock(0));
        } else if (before == u"killed") {
            QProcess *dead = startProbe();
            QCOMPARE(nextLine(dead), "primary"_ba);
            dead->kill();
            QVERIFY(dead->waitForFinished(10000));
            // SIGKILL leaves both files behind, as a crash or a power cut would.
            QVERIFY(QFile::exists(names.serverName()));
            QVERIFY(QFile::exists(names.lockFilePath()));
        } else if (before != u"running") {
            QFile lock(names.lockFilePath());
            QVERIFY(lock.open(QIODevice::WriteOnly));
            if (before == u"garbled")
                QVERIFY(lock.write("\x00\xFFnot a process\n"_ba) > 0);
        }
        QProcess *primary = nullptr;
        if (before != u"held") {
            primary = startProbe(primaryFolders, maxFiles);
            QCOMPARE(nextLine(primary), "primary"_ba);
        }

        rlimit limit {};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &limit) == 0);
        if (limit.rlim_cur < rlim_t(flood + 64)) {
            limit.rlim_cur = qMin<rlim_t>(limit.rlim_max, rlim_t(flood + 64));
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &limit) == 0);
            if (limit.rlim_cur < rlim_t(flood + 64))
                QSKIP("This process may not open enough files to flood the primary.");
        }
        std::vector<int> silent;
        const auto closeAll = qScopeGuard([&silent] {
            for (const int fd : silent)
                ::close(fd);
        });
        for (int i = 0; i < flood; ++i) {
            if (const int fd = silentConnection(names.serverName()); fd >= 0)
                silent.push_back(fd);
        }
        QCOMPARE(silent.empty(), flood == 0);

        QProcess *launch = startProbe(launchFolders);
        QVERIFY(launch->waitForFinished(20000));
        QCOMPARE(launch->exitStatus(), QProcess::NormalExit);
        if (!primary) {
            // It names the lock, its holder and the socket.
            QCOMPARE(launch->exitCode(), 3);
            const QString reason = QString::fromUtf8(launch->readAllStandardError());
            for (const QString &part : {names.lockFilePath(), names.serverName(),
                     QString::number(QCoreApplication::applicationPid())})
                QVERIFY2(reason.contains(part), qPrintable(reason));
            return;
        }
        QCOMPARE(launch->exitCode(), 2);
        QCOMPARE(launch->readAllStandardOutput().trimmed(), "secondary notified"_ba);
        QCOMPARE(nextLine(primary), "activated"_ba);
        // And every silent connection is dropped.
        QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(silent.cbegin(), silent.cend(), closedByServer), 10000);
        QCOMPARE(primary->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
