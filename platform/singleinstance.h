// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/remotecommand.h"

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QDeadlineTimer;
class QLocalServer;
class QLocalSocket;

// Keeps the application to one running instance per user: two processes writing the same record
// file would lose each other's records. The first launch holds a lock file beside the records (in
// the per-user data folder that holds the storage folder) and listens on a local socket in the
// runtime folder; a later launch finds the lock taken and asks the first one to come forward.
// Launches from other sessions, with another runtime folder or none, meet the same lock and find
// the socket through its name published beside the lock.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The lock in the per-user data folder, beside the storage folder (the runtime folder when
    // there is none), the socket in the runtime folder (see defaultFolder()).
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    // Lock and socket in one folder.
    SingleInstance(const QString &key, const QString &folder, QObject *parent = nullptr);
    // The lock in lockFolder, the socket in socketFolder; each is created, 0700, when missing.
    SingleInstance(const QString &key, const QString &lockFolder, const QString &socketFolder,
        QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the primary instance: the lock is held (a lock left by a dead
    // process, or one that names no process, is taken over) and the socket listens. Calling it
    // again after success is harmless.
    bool claim();
    bool isPrimary() const { return m_primary; }

    // From a secondary instance: asks the primary to come forward (or to carry out another
    // command that is answered with "ok"). Retries while the primary is still starting up, for at
    // most timeoutMs. False when no primary could be reached.
    bool notifyPrimary(int timeoutMs = 3000, RemoteCommand command = RemoteCommand::Activate);

    enum class Launch { Primary, HandedOver, Failed };
    // What a launch does: run as the one instance, or hand the command over to the one that
    // runs. Failed when it can do neither; failureReason() then says why.
    Launch claimOrHandOver(int timeoutMs = 3000, RemoteCommand command = RemoteCommand::Activate);

    // Without claiming anything: a connection to the running primary, or null when none answers
    // at once. For status requests, which never start an instance.
    std::unique_ptr<QLocalSocket> connectToPrimary() const;

    // In the primary: the status line (or JSON object, without its line break) that status
    // requests are answered with. Without one they are answered with an empty line.
    using StatusSource = std::function<QByteArray(bool json)>;
    void setStatusSource(StatusSource source) { m_statusSource = std::move(source); }
    // In the primary: the status may have changed; followers get it when their text changed.
    void publishStatus();
    QString failureReason() const { return m_failure; }

    QString lockFilePath() const;
    QString serverName() const;
    // Holds the primary's serverName() for launches whose runtime folder differs.
    QString publishedNamePath() const;

    static QString defaultKey() { return QStringLiteral("velmor-focus"); }
    // $XDG_RUNTIME_DIR when it is set and private, otherwise a folder in the temp folder that
    // belongs to this user alone and is 0700: a shared name when it is safe, else a fresh one.
    static QString defaultFolder();

Q_SIGNALS:
    // In the primary: a later launch asked for the application to come forward.
    void activationRequested();
    // In the primary: a later launch asked for something other than coming forward.
    void commandReceived(RemoteCommand command);

private:
    QString lockPathIn(const QString &folder) const;
    QLockFile::LockError lockIn(const QString &folder);
    bool takeOverLockNamingNoProcess(QLockFile &lock);
    void describeHolder(const QLockFile &lock);
    void becomePrimary(bool holdsLock);
    void startListening(bool removeLeftover);
    void keepListening();
    void acceptConnections();
    void readMessages(QLocalSocket *socket);
    void answer(QLocalSocket *socket, RemoteCommand command);
    QByteArray statusLine(bool json) const;
    bool primaryAnswers() const;
    static bool knock(
        const QString &serverName, const QByteArray &line, const QDeadlineTimer &deadline);
    QStringList knownServerNames() const;

    QString m_key;
    QString m_lockFolder;
    QString m_socketFolder;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    QList<QPointer<QLocalSocket>> m_clients;
    struct Follower {
        QPointer<QLocalSocket> socket;
        bool json = false;
        QByteArray lastSent;
    };
    QList<Follower> m_followers;
    StatusSource m_statusSource;
    QTimer m_listenWatch;
    bool m_primary = false;
    bool m_published = false;
    bool m_listened = false; // the server listened at least once
    QString m_failure;
};
