// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/lazysoundservice.h"
#include "platform/qtsoundservice.h"
#include "platform/soundsynth.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Decoding goes through the real QtMultimedia backend; what reaches a sound server is heard in
// the journeys.
class TestQtSoundService : public QObject {
    Q_OBJECT

    QtSoundService m_service;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Judged by content: an imported copy keeps the user's extension, whatever it is, or none.
    void shouldLoadEachNamedSoundWhateverTheFileName()
    {
        for (const QString &name : SoundSynth::names()) {
            QVERIFY2(m_service.createNamed(name), qPrintable(name));
            QVERIFY(m_service.createFromData(*SoundSynth::wav(name), u"/home/用户/铃声 #1.mp3"_s));
            QVERIFY(m_service.createFromData(*SoundSynth::wav(name), QString()));
        }
        QVERIFY(!m_service.createNamed(u"Basso"_s));
    }

    void shouldRefuseWhatIsNotAudio()
    {
        for (const QByteArray &bytes :
            {QByteArray(), QByteArray("这不是音频。\nJust some notes, not a sound.\n").repeated(20),
                SoundSynth::wav(u"Ping"_s)->left(30)})
            QVERIFY(!m_service.createFromData(bytes, u"notes.mp3"_s));
    }

    // Loading always takes more than one pass of the event loop; the half-loaded player is then
    // thrown away.
    void shouldRefuseSoundsThatDoNotLoadInTime()
    {
        QtSoundService impatient(std::chrono::milliseconds(0));
        QVERIFY(!impatient.createNamed(u"Glass"_s));
    }

    // The application reaches the service through the module, loaded with the first sound; a
    // module that is missing or broken makes sounds null instead of stopping anything.
    void shouldLoadTheModuleWithTheFirstSound_data()
    {
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<bool>("plays");
        const QString module = QStringLiteral(SOUND_MODULE);
        const QString missing = m_folder.filePath(u"missing.so"_s);
        const QString notALibrary = m_folder.filePath(u"notes.so"_s);
        QFile notes(notALibrary);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a library\n") > 0);
        QTest::newRow("found") << QStringList {module} << true;
        QTest::newRow("the second place") << QStringList {missing, module} << true;
        QTest::newRow("after one that is not a library")
            << QStringList {notALibrary, module} << true;
        QTest::newRow("missing") << QStringList {missing} << false;
        QTest::newRow("not a library") << QStringList {notALibrary} << false;
        QTest::newRow("a folder") << QStringList {m_folder.path()} << false;
        QTest::newRow("nowhere") << QStringList {} << false;
    }

    void shouldLoadTheModuleWithTheFirstSound()
    {
        QFETCH(QStringList, places);
        QFETCH(bool, plays);
        LazySoundService service(places);
        QCOMPARE(bool(service.createNamed(u"Glass"_s)), plays);
        QCOMPARE(bool(service.createFromData(*SoundSynth::wav(u"Ping"_s), u"ping.wav"_s)), plays);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestQtSoundService)
#include "tst_qtsoundservice.moc"
