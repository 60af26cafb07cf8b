// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reminder sound: playing the chosen sound and importing an audio file as the custom sound.

#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/remindersound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A reminder sound on a defaults store in memory, a recording sound service and a temporary
// storage folder.
struct Fixture {
    QString storage() const { return folder.filePath(u"VelmorTimer"_s); }
    QString write(const QString &name, const QByteArray &content) const
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return path;
    }

    QTemporaryDir folder;
    MemoryDefaultsStore settings;
    RecordingSoundService service;
    ReminderSound sound {settings, &service, storage()};
};

} // namespace

class ReminderSoundTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldReportASoundThatCannotPlay_data()
    {
        QTest::addColumn<QString>("soundName");
        QTest::addColumn<bool>("failStart");
        QTest::addColumn<bool>("expectError");
        QTest::newRow("none plays nothing") << u"none"_s << false << false;
        QTest::newRow("unknown name") << u"Basso"_s << false << true;
        QTest::newRow("custom without a file") << u"custom"_s << false << true;
        QTest::newRow("start fails") << u"Glass"_s << true << true;
        QTest::newRow("Glass plays") << u"Glass"_s << false << false;
    }

    void shouldReportASoundThatCannotPlay()
    {
        QFETCH(QString, soundName);
        QFETCH(bool, failStart);
        QFETCH(bool, expectError);
        Fixture f;
        f.service.unknownNames = {u"Basso"_s};
        f.service.failStart = failStart;
        f.sound.setName(soundName);
        QCOMPARE(f.sound.play(false),
            expectError ? std::optional(u"铃声无法播放，请重新选择音频。"_s) : std::nullopt);
    }

    void shouldRestartThePreviewFromTheBeginning()
    {
        Fixture f;
        f.sound.play(false);
        f.sound.play(false);
        QCOMPARE(f.service.log.events,
            (QStringList {u"create:Glass"_s, u"loop:false"_s, u"start"_s, u"stop"_s,
                u"create:Glass"_s, u"loop:false"_s, u"start"_s}));
        QVERIFY(f.sound.isPlaying());
        f.sound.stop();
        QVERIFY(!f.sound.isPlaying());
    }

    void shouldImportAnAudioFileAsTheCustomSound()
    {
        Fixture f;
        const QString source = f.write(u"bell.ogg"_s, "OggS audio");
        QCOMPARE(f.sound.importFile(source), std::nullopt);
        const QString first = f.sound.customPath();
        QCOMPARE(f.sound.name(), u"custom"_s);
        QVERIFY(QFileInfo(first).fileName().endsWith(u".ogg"_s));
        QCOMPARE(QFileInfo(first).fileName().size(), 36 + 4);
        QCOMPARE(QFileInfo(first).fileName(),
            QFileInfo(first).fileName().toUpper().replace(u".OGG"_s, u".ogg"_s));
        QCOMPARE(QFileInfo(first).absolutePath(), f.storage());

        f.sound.importFile(source); // the same file again: only the newer copy stays
        const QString second = f.sound.customPath();
        QVERIFY(second != first);
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(QFileInfo::exists(second));
        QVERIFY(QFileInfo::exists(source));
        f.sound.play(false);
        QVERIFY(f.service.log.events.contains(u"data:"_s + QFileInfo(second).fileName()));
    }

    void shouldRefuseAFileThatIsNotAudio()
    {
        Fixture f;
        f.sound.importFile(f.write(u"good.wav"_s, "RIFF"));
        const QString kept = f.sound.customPath();
        QCOMPARE(f.sound.importFile(f.write(u"notes.mp3"_s, "not audio")),
            u"无法读取该音频，请选择其他音频文件。"_s);
        QCOMPARE(f.sound.customPath(), kept);
        QCOMPARE(
            QDir(f.storage()).entryList(QDir::Files), QStringList {QFileInfo(kept).fileName()});
    }

    void shouldNameACopyWithoutExtensionWithATrailingDot()
    {
        Fixture f;
        f.sound.importFile(f.write(u"ring"_s, "RIFF"));
        QVERIFY(f.sound.customPath().endsWith(u'.'));
    }

    void shouldReportAFailedCopy()
    {
        Fixture f;
        QVERIFY(
            f.sound.importFile(f.folder.filePath(u"missing.wav"_s))->startsWith(u"导入失败："_s));
        QVERIFY(f.sound.customPath().isEmpty());
        QCOMPARE(f.sound.name(), u"Glass"_s);
    }
};

QTEST_GUILESS_MAIN(ReminderSoundTest)
#include "tst_remindersound.moc"
