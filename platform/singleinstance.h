#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// Keeps the application to one running instance per user: two processes writing the same record
// file would lose each other's records. The first launch holds a lock file and listens on a local
// socket beside it; a later launch finds the lock taken and asks the first one to come forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The lock and the socket live in the per-user runtime folder (see defaultFolder()).
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    // Same, in the given folder; it is created when missing.
    SingleInstance(const QString &key, const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the primary instance: the lock is held (a lock left by a dead
    // process is taken over) and the socket listens. Calling it again after success is harmless.
    bool claim();
    bool isPrimary() const { return m_primary; }

    // From a secondary instance: asks the primary to come forward. Retries while the primary is
    // still starting up, for at most timeoutMs. False when no primary could be reached.
    bool notifyPrimary(int timeoutMs = 3000);

    QString lockFilePath() const;
    QString serverName() const;

    static QString defaultKey() { return QStringLiteral("velmor-focus"); }
    // $XDG_RUNTIME_DIR when Qt resolves one, otherwise a per-user folder in the temp folder.
    static QString defaultFolder();

Q_SIGNALS:
    // In the primary: a later launch asked for the application to come forward.
    void activationRequested();

private:
    void startListening(bool removeLeftover);
    void acceptConnections();
    void readMessages(QLocalSocket *socket);
    bool primaryAnswers() const;

    QString m_key;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_primary = false;
};
