#include "platform/singleinstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <memory>
#include <vector>

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
    void shouldPlaceLockAndSocketInTheRuntimeFolder();
    void shouldIgnoreMessagesOtherThanActivate();
    void shouldDropAConnectionThatSendsAnOverlongLine();
    void shouldReportFailureWhenTheLockHolderDoesNotListen();
    void shouldStillStartWhenNoLockCanBeCreated();
    void shouldHandASecondProcessOverToTheRunningOne();
    void shouldTakeOverAfterThePrimaryWasKilled();
    void shouldEndWithExactlyOnePrimaryWhenManyStartAtOnce();

private:
    QProcess *startProbe();
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

QProcess *TestSingleInstance::startProbe()
{
    auto probe = std::make_unique<QProcess>();
    probe->setProgram(QStringLiteral(SINGLEINSTANCE_PROBE));
    probe->setArguments({m_dir->path(), m_key});
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
    QVERIFY(secondary.notifyPrimary());
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

void TestSingleInstance::shouldPlaceLockAndSocketInTheRuntimeFolder()
{
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", m_dir->path().toLocal8Bit());
    const QString folder = SingleInstance::defaultFolder();
    qputenv("XDG_RUNTIME_DIR", previous);
    QCOMPARE(folder, m_dir->path());

    SingleInstance instance(m_key, folder);
    QCOMPARE(instance.lockFilePath(), m_dir->filePath(m_key + u".lock"_s));
    QVERIFY(instance.claim());
}

void TestSingleInstance::shouldIgnoreMessagesOtherThanActivate()
{
    SingleInstance primary(m_key, m_dir->path());
    QVERIFY(primary.claim());
    QSignalSpy activations(&primary, &SingleInstance::activationRequested);

    QLocalSocket socket;
    socket.connectToServer(primary.serverName());
    QVERIFY(socket.waitForConnected(10000));
    socket.write("hello\nactivatex\nactiv");
    socket.write("ate\n");
    QVERIFY(socket.waitForBytesWritten(10000) || socket.bytesToWrite() == 0);
    QVERIFY(activations.wait(10000));
    QCOMPARE(activations.count(), 1);
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
    QVERIFY(secondary.notifyPrimary());
    QVERIFY(activations.wait(10000));
}

void TestSingleInstance::shouldReportFailureWhenTheLockHolderDoesNotListen()
{
    SingleInstance instance(m_key, m_dir->path());
    QLockFile holder(instance.lockFilePath());
    QVERIFY(holder.tryLock(0));

    QVERIFY(!instance.claim());
    QVERIFY(!instance.notifyPrimary(100));
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

void TestSingleInstance::shouldTakeOverAfterThePrimaryWasKilled()
{
    QProcess *first = startProbe();
    QCOMPARE(nextLine(first), "primary"_ba);
    first->kill();
    QVERIFY(first->waitForFinished(10000));

    // SIGKILL leaves both files behind, as a crash or a power cut would.
    SingleInstance names(m_key, m_dir->path());
    QVERIFY(QFile::exists(names.lockFilePath()));
    QVERIFY(QFile::exists(names.serverName()));

    QProcess *next = startProbe();
    QCOMPARE(nextLine(next), "primary"_ba);

    // The new primary listens on the name the dead one left behind.
    QProcess *knock = startProbe();
    QVERIFY(knock->waitForFinished(10000));
    QCOMPARE(knock->exitCode(), 2);
    QCOMPARE(nextLine(next), "activated"_ba);
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
