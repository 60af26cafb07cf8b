#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QByteArray activateLine = QByteArrayLiteral("activate\n");
// A knock is one short line; anything longer without a line break is not ours.
constexpr qint64 maxLineLength = 64;

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

QString userSuffix()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME", QStringLiteral("user"));
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : SingleInstance(key, defaultFolder(), parent)
{
}

SingleInstance::SingleInstance(const QString &key, const QString &folder, QObject *parent)
    : QObject(parent), m_key(sanitizedKey(key)), m_folder(folder)
{
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock: once the lock is free a new primary may already listen
    // under the same name, and closing our server afterwards would delete its socket file.
    if (m_server)
        m_server->close();
    m_lock.reset();
}

QString SingleInstance::defaultFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    return QDir::tempPath() + u'/' + defaultKey() + u'-' + userSuffix();
}

QString SingleInstance::lockFilePath() const
{
    return m_folder + u'/' + m_key + u".lock";
}

QString SingleInstance::serverName() const
{
    return m_folder + u'/' + m_key + u".socket";
}

bool SingleInstance::claim()
{
    if (m_primary)
        return true;

    if (!QDir(m_folder).exists() && QDir().mkpath(m_folder)) {
        QFile::setPermissions(
            m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    auto lock = std::make_unique<QLockFile>(lockFilePath());
    // Held for the whole run, so age says nothing; a lock is stale only when its process is gone.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        m_primary = true;
        startListening(true);
        return true;
    }
    if (lock->error() == QLockFile::LockFailedError)
        return false;

    // The lock cannot be made here at all (unwritable folder). Refusing to start would leave the
    // user without a timer, so only a primary that answers keeps this launch out.
    if (primaryAnswers())
        return false;
    qWarning("SingleInstance: cannot create the lock file %ls; running without it",
        qUtf16Printable(lockFilePath()));
    m_primary = true;
    startListening(false);
    return true;
}

void SingleInstance::startListening(bool removeLeftover)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    // Only the lock holder may remove a socket file: it can only be left by a dead primary.
    if (removeLeftover)
        QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName())) {
        qWarning("SingleInstance: cannot listen on %ls: %ls", qUtf16Printable(serverName()),
            qUtf16Printable(m_server->errorString()));
    }
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessages(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The knock may have arrived before the connection was taken from the queue.
        readMessages(socket);
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
        if (line == activateLine)
            Q_EMIT activationRequested();
    }
    if (socket->bytesAvailable() > maxLineLength)
        socket->abort();
}

bool SingleInstance::primaryAnswers() const
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    const bool connected = socket.waitForConnected(200);
    socket.abort();
    return connected;
}

bool SingleInstance::notifyPrimary(int timeoutMs)
{
    if (m_primary)
        return false;

    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(activateLine);
            while (socket.bytesToWrite() > 0 && !deadline.hasExpired()) {
                if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
                    break;
            }
            const bool sent = socket.bytesToWrite() == 0;
            socket.disconnectFromServer();
            return sent;
        }
        socket.abort();
        if (deadline.hasExpired())
            return false;
        // The primary may hold the lock but not listen yet: it is still starting up.
        QThread::msleep(ulong(qMin<qint64>(50, deadline.remainingTime())));
    }
}
