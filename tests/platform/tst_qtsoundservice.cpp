// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtsoundservice.h"
#include "platform/soundsynth.h"

#include <QStandardPaths>
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
};

QTEST_MAIN(TestQtSoundService)
#include "tst_qtsoundservice.moc"
