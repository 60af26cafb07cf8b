// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reminder sound: playing the chosen sound and importing an audio file as the custom sound.

#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/remindersound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

    // Only the newest import is kept; a file that is not audio or cannot be copied changes
    // nothing.
    void shouldImportAnAudioFileAsTheCustomSound_data()
    {
        QTest::addColumn<QString>("fileName"); // imported after a good "first.ogg"
        QTest::addColumn<QByteArray>("content"); // empty: the file is missing
        QTest::addColumn<QString>("suffix"); // of the kept copy; empty: the first copy is kept
        QTest::addColumn<QString>("error");
        QTest::newRow("the same file again")
            << u"first.ogg"_s << "OggS audio"_ba << u".ogg"_s << QString();
        QTest::newRow("no extension: a trailing dot")
            << u"ring"_s << "RIFF"_ba << u"."_s << QString();
        QTest::newRow("not audio") << u"notes.mp3"_s << "not audio"_ba << QString()
                                   << u"无法读取该音频，请选择其他音频文件。"_s;
        QTest::newRow("missing") << u"missing.wav"_s << QByteArray() << QString()
                                 << u"导入失败："_s;
    }

    void shouldImportAnAudioFileAsTheCustomSound()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, suffix);
        QFETCH(QString, error);
        Fixture f;
        const QString source = f.write(u"first.ogg"_s, "OggS audio");
        QCOMPARE(f.sound.importFile(source), std::nullopt);
        const QString first = f.sound.customPath();
        QCOMPARE(f.sound.name(), u"custom"_s);
        QCOMPARE(QFileInfo(first).absolutePath(), f.storage());
        QVERIFY(QFileInfo(first).fileName().contains(
            QRegularExpression(u"^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\.ogg$"_s)));

        const QString path =
            content.isEmpty() ? f.folder.filePath(fileName) : f.write(fileName, content);
        QCOMPARE(f.sound.importFile(path).value_or(QString()).left(error.size()), error);
        const QString kept = f.sound.customPath();
        QCOMPARE(kept == first, suffix.isEmpty());
        QVERIFY(kept.endsWith(suffix.isEmpty() ? u".ogg"_s : suffix));
        QCOMPARE(
            QDir(f.storage()).entryList(QDir::Files), QStringList {QFileInfo(kept).fileName()});
        QVERIFY(QFileInfo::exists(source));
        f.sound.play(false);
        QVERIFY(f.service.log.events.contains(u"data:"_s + QFileInfo(kept).fileName()));
    }
};

QTEST_GUILESS_MAIN(ReminderSoundTest)
#include "tst_remindersound.moc"
