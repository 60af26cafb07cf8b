// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "singleinstance.h"

#include "platform/filewriter.h"
#include "platform/storagepaths.h"
#include "platform/userfiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray answerLine = QByteArrayLiteral("ok\n");
// A knock is one short line; anything longer without a line break is not ours.
constexpr qint64 maxLineLength = RemoteCommands::maxLineLength;
// A knock is written as soon as the connection stands; one that says nothing is dropped.
constexpr int silentConnectionMs = 1000;
// Knocks come one per launch. More open connections than this are a flood: the oldest go, so
// neither a new knock nor the file descriptors that saving the records needs are lost to it.
constexpr qsizetype maxConnections = 32;

// The key becomes part of file names: keep it to characters that are safe there.
QString sanitizedKey(const QString &key)
{
    QString result;
    result.reserve(key.size());
    for (const QChar c : key) {
        const bool safe = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
            || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
        result.append(safe ? c : QChar(u'_'));
    }
    if (result.isEmpty() || result.startsWith(u'.'))
        result.prepend(SingleInstance::defaultKey() + u'-');
    return result;
}

// A real folder (not a link) of this user that no one else may enter or write to.
bool isPrivateFolder(const QString &path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::geteuid() && (status.st_mode & 07777) == 0700;
}

QString runtimeFolder()
{
    // Unset after su or sudo -u: Qt's own fallback is not asked, this one is checked below.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!runtime.isEmpty() && isPrivateFolder(runtime))
            return runtime;
    }
    const QString shared = QDir::tempPath() + u'/' + SingleInstance::defaultKey() + u'-'
        + QString::number(::geteuid());
    UserFiles::makePrivateFolder(shared);
    if (isPrivateFolder(shared))
        return shared;
    // Another user made it, or it is open to others: never use it. A fresh folder of our own
    // still serves, since launches find the socket through the name published beside the lock.
    QByteArray fresh = QFile::encodeName(shared + u"-XXXXXX"_s);
    if (!::mkdtemp(fresh.data()))
        return {};
    ::chmod(fresh.constData(), 0700);
    return QFile::decodeName(fresh);
}

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent), m_key(sanitizedKey(key)), m_socketFolder(defaultFolder())
{
    // Beside the storage folder, in the per-user data folder that holds it: every session of the
    // user meets the lock there, and the storage folder is still made by the first save alone.
    const std::optional<QString> storage = StoragePaths::storageFolder();
    m_lockFolder = storage ? QFileInfo(*storage).path() : m_socketFolder;
}

SingleInstance::SingleInstance(const QString &key, const QString &folder, QObject *parent)
    : SingleInstance(key, folder, folder, parent)
{
}

SingleInstance::SingleInstance(
    const QString &key, const QString &lockFolder, const QString &socketFolder, QObject *parent)
    : QObject(parent),
      m_key(sanitizedKey(key)),
      m_lockFolder(lockFolder),
      m_socketFolder(socketFolder)
{
}

SingleInstance::~SingleInstance()
{
    // The socket and its published name go before the lock: once the lock is free a new primary
    // may already listen under the same name, and closing our server afterwards would delete its
    // socket file.
    if (m_server)
        m_server->close();
    if (m_published)
        QFile::remove(publishedNamePath());
    m_lock.reset();
}

QString SingleInstance::defaultFolder()
{
    return runtimeFolder();
}

QString SingleInstance::lockFilePath() const
{
    return m_lockPath.isEmpty() ? lockPathIn(m_lockFolder) : m_lockPath;
}

QString SingleInstance::lockPathIn(const QString &folder) const
{
    return folder + u"/."_s + m_key + u".lock"_s;
}

QString SingleInstance::serverName() const
{
    return m_socketFolder + u'/' + m_key + u".socket"_s;
}

QString SingleInstance::publishedNamePath() const
{
    // Hidden, like the lock: the folder beside the records is the user's own data folder.
    return m_lockFolder + u"/."_s + m_key + u".server"_s;
}

bool SingleInstance::claim()
{
    if (m_primary)
        return true;
    m_failure.clear();

    QLockFile::LockError error = lockIn(m_lockFolder);
    // No lock beside the records (no data folder, or a read-only one): the runtime folder still
    // keeps this session to one instance.
    if (error != QLockFile::NoError && error != QLockFile::LockFailedError
        && m_socketFolder != m_lockFolder) {
        error = lockIn(m_socketFolder);
    }
    if (error == QLockFile::NoError) {
        becomePrimary(true);
        return true;
    }
    if (error == QLockFile::LockFailedError)
        return false;

    // The lock cannot be made anywhere. Refusing to start would leave the user without a timer,
    // so only a primary that answers keeps this launch out.
    if (primaryAnswers())
        return false;
    qWarning("SingleInstance: cannot create the lock file %ls; running without it",
        qUtf16Printable(lockFilePath()));
    becomePrimary(false);
    return true;
}

QLockFile::LockError SingleInstance::lockIn(const QString &folder)
{
    UserFiles::makePrivateFolder(folder);
    m_lockPath = lockPathIn(folder);
    auto lock = std::make_unique<QLockFile>(m_lockPath);
    // Held for the whole run, so age says nothing; a lock is stale only when its process is gone.
    lock->setStaleLockTime(0);
    bool locked = lock->tryLock(0);
    if (!locked && lock->error() == QLockFile::LockFailedError
        && takeOverLockNamingNoProcess(*lock)) {
        locked = lock->tryLock(0);
    }
    if (locked) {
        UserFiles::makePrivate(m_lockPath);
        m_lock = std::move(lock);
        return QLockFile::NoError;
    }
    if (lock->error() == QLockFile::LockFailedError)
        describeHolder(*lock);
    return lock->error();
}

bool SingleInstance::takeOverLockNamingNoProcess(QLockFile &lock)
{
    // Qt tells a stale lock by the process it names; an empty or garbled file (a full disk, a
    // crash while it was written, another program) names none and would keep every launch out.
    if (lock.getLockInfo(nullptr, nullptr, nullptr))
        return false;
    // A launch that has just created the file writes its content at once: give it that moment.
    QThread::msleep(100);
    if (lock.getLockInfo(nullptr, nullptr, nullptr))
        return false;
    // Qt's guard against two processes removing the same stale lock.
    QLockFile removing(m_lockPath + u".rmlock"_s);
    if (!removing.tryLock(0))
        return false;
    // Fails while a running process still holds the file's native lock.
    return lock.removeStaleLockFile();
}

void SingleInstance::describeHolder(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application)) {
        m_failure = u"another instance (process %1 of %2 on %3) holds the lock %4"_s.arg(
            QString::number(pid), application, host, m_lockPath);
    } else {
        m_failure = u"a running process holds the lock %1"_s.arg(m_lockPath);
    }
}

void SingleInstance::becomePrimary(bool holdsLock)
{
    m_primary = true;
    // Only the lock holder may remove a socket file: it can only be left by a dead primary.
    startListening(holdsLock);
    const bool besideRecords = m_lockPath == lockPathIn(m_lockFolder);
    if (holdsLock && besideRecords && m_lockFolder != m_socketFolder) {
        // A primary killed while publishing left its temporary file; only the lock holder writes
        // this name.
        const QString published = QFileInfo(publishedNamePath()).fileName();
        AtomicFileWriter::removeLeftovers(
            m_lockFolder, [&](const QString &target) { return target == published; });
        m_published = AtomicFileWriter::instance()
                          .writeAtomically(publishedNamePath(), QFile::encodeName(serverName()))
                          .ok;
    }
    m_listenWatch.setInterval(1000);
    connect(&m_listenWatch, &QTimer::timeout, this, &SingleInstance::keepListening);
    m_listenWatch.start();
}

void SingleInstance::startListening(bool removeLeftover)
{
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    }
    UserFiles::makePrivateFolder(m_socketFolder);
    if (removeLeftover)
        QLocalServer::removeServer(serverName());
    if (m_server->listen(serverName())) {
        m_listened = true;
    } else if (!m_listened) {
        qWarning("SingleInstance: cannot listen on %ls: %ls", qUtf16Printable(serverName()),
            qUtf16Printable(m_server->errorString()));
    }
}

void SingleInstance::keepListening()
{
    // Qt closes a server whose accept() fails (no file descriptor left, for one), and later
    // launches would find no one to hand over to. One that never listened is not tried again.
    if (m_server && m_listened && !m_server->isListening())
        startListening(m_lock != nullptr);
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        m_clients.append(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessages(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Its file descriptor is free again: a server closed for want of one can listen again.
        connect(socket, &QLocalSocket::disconnected, this, &SingleInstance::keepListening,
            Qt::QueuedConnection);
        auto *silence = new QTimer(socket);
        silence->setObjectName(u"silence"_s);
        silence->setSingleShot(true);
        connect(silence, &QTimer::timeout, socket, &QLocalSocket::abort);
        silence->start(silentConnectionMs);
        // The knock may have arrived before the connection was taken from the queue.
        readMessages(socket);
    }
    m_clients.removeIf([](const QPointer<QLocalSocket> &socket) {
        return !socket || socket->state() == QLocalSocket::UnconnectedState;
    });
    while (m_clients.size() > maxConnections) {
        if (const QPointer<QLocalSocket> oldest = m_clients.takeFirst())
            oldest->abort();
    }
}

void SingleInstance::readMessages(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(maxLineLength + 1);
        if (!line.endsWith('\n')) {
            socket->abort();
            return;
        }
        if (const std::optional<RemoteCommand> command = RemoteCommands::parse(line))
            answer(socket, *command);
    }
    if (socket->bytesAvailable() > maxLineLength)
        socket->abort();
}

void SingleInstance::answer(QLocalSocket *socket, RemoteCommand command)
{
    if (!RemoteCommands::asksForStatus(command)) {
        socket->write(answerLine);
        if (command == RemoteCommand::Activate)
            Q_EMIT activationRequested();
        else
            Q_EMIT commandReceived(command);
        return;
    }
    const bool json = RemoteCommands::wantsJson(command);
    const QByteArray line = statusLine(json);
    socket->write(line);
    if (!RemoteCommands::follows(command))
        return;
    // A follower stays until it leaves or the application quits; it is quiet while nothing
    // changes, so the silence rule no longer applies to it.
    if (auto *silence = socket->findChild<QTimer *>(u"silence"_s, Qt::FindDirectChildrenOnly))
        silence->stop();
    m_followers.removeIf([socket](const Follower &follower) {
        return !follower.socket || follower.socket == socket;
    });
    m_followers.append({socket, json, line});
}

QByteArray SingleInstance::statusLine(bool json) const
{
    QByteArray line = m_statusSource ? m_statusSource(json) : QByteArray();
    // One line per status: a line break inside would end it early.
    line.replace('\n', ' ');
    line.append('\n');
    return line;
}

void SingleInstance::publishStatus()
{
    m_followers.removeIf([](const Follower &follower) {
        return !follower.socket || follower.socket->state() != QLocalSocket::ConnectedState;
    });
    for (Follower &follower : m_followers) {
        const QByteArray line = statusLine(follower.json);
        if (line == follower.lastSent)
            continue;
        // A reader that stopped reading is not waited for: its backlog is dropped with it.
        if (follower.socket->bytesToWrite() > 64 * 1024) {
            follower.socket->abort();
            continue;
        }
        follower.socket->write(line);
        follower.lastSent = line;
    }
}

bool SingleInstance::primaryAnswers() const
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    const bool connected = socket.waitForConnected(200);
    socket.abort();
    return connected;
}

QStringList SingleInstance::knownServerNames() const
{
    QStringList names;
    const UserFiles::Read published = UserFiles::readRegular(publishedNamePath(), 4096);
    if (published.bytes && !published.bytes->isEmpty())
        names.append(QFile::decodeName(*published.bytes));
    if (!names.contains(serverName()))
        names.append(serverName());
    return names;
}

std::unique_ptr<QLocalSocket> SingleInstance::connectToPrimary() const
{
    for (const QString &name : knownServerNames()) {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(name);
        if (socket->waitForConnected(1000))
            return socket;
    }
    return nullptr;
}

bool SingleInstance::notifyPrimary(int timeoutMs, RemoteCommand command)
{
    if (m_primary)
        return false;

    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    QStringList tried;
    for (;;) {
        // Read again each round: a primary that is starting up publishes its name after locking.
        for (const QString &name : knownServerNames()) {
            if (!tried.contains(name))
                tried.append(name);
            if (knock(name, RemoteCommands::encode(command), deadline))
                return true;
        }
        if (deadline.hasExpired())
            break;
        // The primary may hold the lock but not listen yet: it is still starting up.
        QThread::msleep(ulong(qMin<qint64>(50, deadline.remainingTime())));
    }
    if (m_failure.isEmpty())
        m_failure = u"another instance holds the lock %1"_s.arg(lockFilePath());
    m_failure += u", but does not answer at %1"_s.arg(tried.join(u" or "_s));
    return false;
}

bool SingleInstance::knock(
    const QString &name, const QByteArray &line, const QDeadlineTimer &deadline)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(int(qMin<qint64>(deadline.remainingTime(), 1000))))
        return false;
    socket.write(line);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    // The primary answers once it has read the knock. A connection that ends unanswered lost it
    // (a server that closed before taking it from its queue): knock again. One that stays open
    // unanswered reached a primary still busy starting up, which reads it when it gets there.
    for (;;) {
        if (socket.canReadLine())
            return socket.readLine(maxLineLength + 1) == answerLine;
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        if (deadline.hasExpired())
            return socket.bytesToWrite() == 0;
        socket.waitForReadyRead(int(deadline.remainingTime()));
    }
}

SingleInstance::Launch SingleInstance::claimOrHandOver(int timeoutMs, RemoteCommand command)
{
    if (claim())
        return Launch::Primary;
    if (notifyPrimary(timeoutMs, command))
        return Launch::HandedOver;
    // It may have ended while it was being called.
    const QString unanswered = m_failure;
    if (claim())
        return Launch::Primary;
    m_failure = unanswered
        + u". It cannot be brought forward and no second one is started; if no instance is "
          u"running, remove the lock file."_s;
    return Launch::Failed;
}
