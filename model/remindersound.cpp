// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/remindersound.h"

#include "platform/defaultsstore.h"
#include "platform/soundservice.h"
#include "platform/userfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

namespace {

const QString soundKey = QStringLiteral("timer-sound");
const QString customAudioKey = QStringLiteral("timer-custom-audio");
// Minutes of compressed audio; a reminder is seconds long.
constexpr qint64 maxSoundBytes = 50LL * 1000 * 1000;

QString unreadableSoundReason(const UserFiles::Read &read)
{
    if (read.tooLarge)
        return QStringLiteral("文件超过 50 MB。");
    switch (read.opened) {
    case UserFiles::Opened::NotRegular:
        return QStringLiteral("不是普通文件。");
    case UserFiles::Opened::Missing:
    case UserFiles::Opened::DanglingLink:
        return QStringLiteral("文件不存在。");
    case UserFiles::Opened::Regular:
    case UserFiles::Opened::Failed:
        break;
    }
    return read.error;
}

} // namespace

ReminderSound::ReminderSound(DefaultsStore &settings, SoundService *service,
    std::optional<QString> storageFolder, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_service(service),
      m_storageFolder(std::move(storageFolder))
{
}

ReminderSound::~ReminderSound() = default;

QString ReminderSound::name() const
{
    const QVariant stored = m_settings.value(soundKey);
    return DefaultsValue::isString(stored) ? stored.toString() : QStringLiteral("Glass");
}

void ReminderSound::setName(const QString &value)
{
    m_settings.setValue(soundKey, value);
    Q_EMIT nameChanged();
}

QString ReminderSound::customPath() const
{
    const QVariant stored = m_settings.value(customAudioKey);
    return DefaultsValue::isString(stored) ? stored.toString() : QString();
}

void ReminderSound::setCustomPath(const QString &value)
{
    m_settings.setValue(customAudioKey, value);
    Q_EMIT customPathChanged();
}

std::optional<QString> ReminderSound::play(bool loop)
{
    stop();
    const QString chosen = name();
    if (chosen == u"none" || !m_service)
        return std::nullopt;
    if (chosen == u"custom")
        m_playing = createCustom(customPath());
    else
        m_playing = m_service->createNamed(chosen);
    if (m_playing)
        m_playing->setLooping(loop);
    if (!m_playing || !m_playing->start())
        return QStringLiteral("铃声无法播放，请重新选择音频。");
    return std::nullopt;
}

void ReminderSound::stop()
{
    if (m_playing) {
        m_playing->stop();
        m_playing.reset();
    }
}

std::unique_ptr<Sound> ReminderSound::createCustom(const QString &path) const
{
    if (path.isEmpty() || !m_service)
        return nullptr;
    // Never a FIFO or a device, and never more than an imported sound may hold: the file is read
    // into memory on the window's thread at every alert.
    const UserFiles::Read read = UserFiles::readRegular(path, maxSoundBytes);
    if (!read.bytes)
        return nullptr;
    return m_service->createFromData(*read.bytes, QFileInfo(path).fileName());
}

bool ReminderSound::isImported(const QString &path) const
{
    // Only a name this class gives ("<UUID>.<extension>") directly in the storage folder: the
    // key may have been set to any file, the record file included.
    static const QRegularExpression importedName(
        QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.[^/]*$"));
    const QFileInfo file(QDir::cleanPath(path));
    return m_storageFolder && file.isAbsolute()
        && file.absolutePath() == QDir::cleanPath(QDir(*m_storageFolder).absolutePath())
        && importedName.match(file.fileName()).hasMatch();
}

std::optional<QString> ReminderSound::importFile(const QString &chosen)
{
    const QString importFailed = QStringLiteral("导入失败：");
    // Read before anything is copied: a FIFO or a device would stall the window, a huge file
    // would be held in memory at every alert.
    const UserFiles::Read source = UserFiles::readRegular(chosen, maxSoundBytes);
    if (!source.bytes)
        return importFailed + unreadableSoundReason(source);
    if (!m_storageFolder)
        return importFailed + QStringLiteral("无法确定应用数据文件夹。");
    if (!UserFiles::makePrivateFolder(*m_storageFolder))
        return importFailed + QStringLiteral("无法创建文件夹“%1”。").arg(*m_storageFolder);
    // A fresh name each time, so the file the user chose is never touched and an earlier import
    // stays until the new one is known to play.
    const QString target =
        QDir(*m_storageFolder)
            .filePath(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + u'.'
                + QFileInfo(chosen).suffix());
    if (!UserFiles::writeNewPrivateFile(target, *source.bytes))
        return importFailed + QStringLiteral("无法写入“%1”。").arg(target);
    if (!createCustom(target)) {
        QFile::remove(target);
        return QStringLiteral("无法读取该音频，请选择其他音频文件。");
    }
    const QString previous = customPath();
    if (previous != target && isImported(previous))
        QFile::remove(previous);
    setCustomPath(target);
    setName(QStringLiteral("custom"));
    return std::nullopt;
}
