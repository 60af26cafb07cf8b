#include "model/timermodel.h"

#include "platform/alertpanels.h"
#include "platform/defaultsstore.h"
#include "platform/filebrowser.h"
#include "platform/filedialogs.h"
#include "platform/filewriter.h"
#include "platform/soundservice.h"
#include "platform/userfiles.h"
#include "platform/wakesignal.h"
#include "records/instant.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

#include <algorithm>

namespace {

const QString dailyGoalKey = QStringLiteral("timer-daily-goal-hours");
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

FileWriter &writerOf(const TimerServices &services)
{
    return services.fileWriter ? *services.fileWriter : AtomicFileWriter::instance();
}

} // namespace

TimerModel::TimerModel(DefaultsStore &defaults, Clock now, std::function<void()> completion,
                       TimerServices services, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_now(std::move(now))
    , m_completion(std::move(completion))
    , m_services(std::move(services))
    , m_countdown(m_now)
    , m_store(defaults, writerOf(m_services), m_services.storageFolder, m_now)
    , m_catalog(defaults)
    , m_stats(m_now, m_services.todayClock)
    , m_repairSources(std::make_unique<RepairSourceList>(this))
{
    loadDailyGoal();
    m_catalog.load();

    if (m_services.loadInBackground) {
        auto load = std::make_shared<std::packaged_task<RecordStore::FileLoad()>>(
            [folder = m_store.storageFolder(), second = m_store.backupSecond()] {
                return RecordStore::loadFile(folder, second);
            });
        m_loading = load->get_future();
        m_background.start([this, load] {
            (*load)();
            QMetaObject::invokeMethod(this, &TimerModel::awaitRecords, Qt::QueuedConnection);
        });
    } else if (const std::optional<QString> message = m_store.load()) {
        m_recordError = *message;
    }
    m_stats.setRecords(m_store.records());

    // The ticker never stops; tick() returns at once while nothing runs. It belongs to the model,
    // so it cannot outlive it.
    m_ticker.setTimerType(Qt::PreciseTimer);
    m_ticker.setInterval(200);
    connect(&m_ticker, &QTimer::timeout, this, &TimerModel::tick);
    m_ticker.start();

    if (m_services.wake)
        connect(m_services.wake, &WakeSignal::woke, this, &TimerModel::tick);

    watchForANewDay();
}

TimerModel::~TimerModel() = default;

void TimerModel::loadDailyGoal()
{
    // Only a positive stored goal counts; it is clamped and the clamped value written back.
    const qint64 stored = DefaultsValue::toInteger(m_defaults.value(dailyGoalKey));
    if (stored > 0)
        setDailyGoalHours(int(std::clamp<qint64>(stored, 1, 16)));
}

DefaultsStore &TimerModel::settingsStore() const
{
    return m_services.settings ? *m_services.settings : m_defaults;
}

// Countdown length and title -------------------------------------------------------------------

void TimerModel::setHours(int value)
{
    const CountdownSnapshot before = snapshot();
    m_countdown.hours = value;
    Q_EMIT hoursChanged();
    notifyCountdown(before);
}

void TimerModel::setMinutes(int value)
{
    const CountdownSnapshot before = snapshot();
    m_countdown.minutes = value;
    Q_EMIT minutesChanged();
    notifyCountdown(before);
}

void TimerModel::setSeconds(int value)
{
    const CountdownSnapshot before = snapshot();
    m_countdown.seconds = value;
    Q_EMIT secondsChanged();
    notifyCountdown(before);
}

void TimerModel::setTitle(const QString &value)
{
    m_title = value;
    Q_EMIT titleChanged();
}

// Flags and messages ---------------------------------------------------------------------------

void TimerModel::setPendingReset(bool value)
{
    m_pendingReset = value;
    Q_EMIT pendingResetChanged();
}

void TimerModel::setPendingFinish(bool value)
{
    m_pendingFinish = value;
    Q_EMIT pendingFinishChanged();
}

void TimerModel::setWrapDraft(const QString &value)
{
    m_wrapDraft = value;
    Q_EMIT wrapDraftChanged();
}

void TimerModel::setToast(const QString &value)
{
    // The same message again is a new message: the views see it go and come back, so it shows
    // for its full time instead of leaving with the first.
    if (!value.isEmpty() && value == m_toast) {
        m_toast.clear();
        Q_EMIT toastChanged();
    }
    m_toast = value;
    Q_EMIT toastChanged();
}

void TimerModel::setShowRecords(bool value)
{
    m_showRecords = value;
    Q_EMIT showRecordsChanged();
}

void TimerModel::setShowReview(bool value)
{
    m_showReview = value;
    Q_EMIT showReviewChanged();
}

void TimerModel::setShowSettings(bool value)
{
    m_showSettings = value;
    Q_EMIT showSettingsChanged();
}

void TimerModel::setRecordError(const QString &value)
{
    m_recordError = value;
    Q_EMIT recordErrorChanged();
}

void TimerModel::setError(const QString &value)
{
    m_error = value;
    Q_EMIT errorChanged();
}

// Settings -------------------------------------------------------------------------------------

void TimerModel::setDailyGoalHours(int value)
{
    m_dailyGoalHours = value;
    m_defaults.setValue(dailyGoalKey, qint64(value));
    Q_EMIT dailyGoalHoursChanged();
    Q_EMIT weekChanged();
}

QString TimerModel::soundName() const
{
    const QVariant stored = settingsStore().value(soundKey);
    return DefaultsValue::isString(stored) ? stored.toString() : QStringLiteral("Glass");
}

void TimerModel::setSoundName(const QString &value)
{
    settingsStore().setValue(soundKey, value);
    Q_EMIT soundNameChanged();
}

QString TimerModel::customPath() const
{
    const QVariant stored = settingsStore().value(customAudioKey);
    return DefaultsValue::isString(stored) ? stored.toString() : QString();
}

void TimerModel::setCustomPath(const QString &value)
{
    settingsStore().setValue(customAudioKey, value);
    Q_EMIT customPathChanged();
}

// Records --------------------------------------------------------------------------------------

void TimerModel::awaitRecords()
{
    if (m_loading.valid()) {
        const std::optional<QString> message = m_store.finishLoad(m_loading.get());
        if (message)
            setRecordError(*message);
        if (!m_store.readable())
            Q_EMIT recordsReadableChanged();
        onRecordsReplaced();
    }
    if (m_saving) {
        PendingSave saving = std::move(*m_saving);
        m_saving.reset();
        QElapsedTimer waited;
        waited.start();
        const RecordStore::Written written = saving.written.get();
        const double heldMs = saving.heldMs + double(waited.nsecsElapsed()) / 1e6;
        const RecordStore::SaveResult result = m_store.commit(saving.records, written, heldMs);
        if (!result.ok) {
            setRecordError(result.error);
            return;
        }
        onRecordsReplaced();
    }
}

bool TimerModel::saveInBackground(const FocusRecordList &newRecords)
{
    awaitRecords();
    if (!m_services.saveInBackground || !recordsReadable())
        return saveRecords(newRecords);
    QElapsedTimer held;
    held.start();
    auto write = std::make_shared<std::packaged_task<RecordStore::Written()>>(
        [this, newRecords] { return m_store.write(newRecords); });
    m_saving = PendingSave {write->get_future(), newRecords, 0};
    m_background.start([this, write] {
        (*write)();
        QMetaObject::invokeMethod(this, &TimerModel::awaitRecords, Qt::QueuedConnection);
    });
    m_saving->heldMs = double(held.nsecsElapsed()) / 1e6;
    return true;
}

const FocusRecordList &TimerModel::loadedRecords()
{
    awaitRecords();
    return records();
}

bool TimerModel::saveRecords(const FocusRecordList &newRecords)
{
    // Nothing is written before the stored list is known to be readable.
    awaitRecords();
    const RecordStore::SaveResult result = m_store.save(newRecords);
    if (!result.ok) {
        setRecordError(result.error);
        return false;
    }
    onRecordsReplaced();
    return true;
}

RecordStore::Decoded TimerModel::decodeRecords(const QByteArray &data)
{
    return RecordCodec::decode(data);
}

// Completion alert and sound -------------------------------------------------------------------

void TimerModel::showCompletion()
{
    dismiss();
    if (m_services.alertPanels)
        m_services.alertPanels->showOnEveryScreen();
    play(true);
}

void TimerModel::dismiss()
{
    if (m_sound) {
        m_sound->stop();
        m_sound.reset();
    }
    if (m_services.alertPanels)
        m_services.alertPanels->hideAll();
}

void TimerModel::play(bool loop)
{
    if (m_sound) {
        m_sound->stop();
        m_sound.reset();
    }
    const QString name = soundName();
    if (name == u"none" || !m_services.sound)
        return;
    if (name == u"custom")
        m_sound = createCustomSound(customPath());
    else
        m_sound = m_services.sound->createNamed(name);
    if (m_sound)
        m_sound->setLooping(loop && !alertOnce());
    if (!m_sound || !m_sound->start())
        setError(QStringLiteral("铃声无法播放，请重新选择音频。"));
}

std::unique_ptr<Sound> TimerModel::createCustomSound(const QString &path) const
{
    if (path.isEmpty() || !m_services.sound)
        return nullptr;
    // Never a FIFO or a device, and never more than an imported sound may hold: the file is read
    // into memory on the window's thread at every alert.
    const UserFiles::Read read = UserFiles::readRegular(path, maxSoundBytes);
    if (!read.bytes)
        return nullptr;
    return m_services.sound->createFromData(*read.bytes, QFileInfo(path).fileName());
}

bool TimerModel::isImportedSound(const QString &path) const
{
    // Only a name this model gives ("<UUID>.<extension>") directly in the storage folder: the key
    // may have been set to any file, the record file included.
    static const QRegularExpression importedName(
        QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.[^/]*$"));
    const QFileInfo file(QDir::cleanPath(path));
    return m_services.storageFolder && file.isAbsolute()
        && file.absolutePath() == QDir::cleanPath(QDir(*m_services.storageFolder).absolutePath())
        && importedName.match(file.fileName()).hasMatch();
}

void TimerModel::chooseAudio()
{
    if (!m_services.dialogs)
        return;
    const std::optional<QString> chosen = m_services.dialogs->chooseAudioFile();
    if (!chosen || chosen->isEmpty())
        return;

    const QString importFailed = QStringLiteral("导入失败：");
    // Read before anything is copied: a FIFO or a device would stall the window, a huge file
    // would be held in memory at every alert.
    const UserFiles::Read source = UserFiles::readRegular(*chosen, maxSoundBytes);
    if (!source.bytes) {
        setError(importFailed + unreadableSoundReason(source));
        return;
    }
    const std::optional<QString> folder = m_services.storageFolder;
    if (!folder) {
        setError(importFailed + QStringLiteral("无法确定应用数据文件夹。"));
        return;
    }
    if (!UserFiles::makePrivateFolder(*folder)) {
        setError(importFailed + QStringLiteral("无法创建文件夹“%1”。").arg(*folder));
        return;
    }
    // A fresh name each time, so the file the user chose is never touched and an earlier import
    // stays until the new one is known to play.
    const QString target = QDir(*folder).filePath(
        QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + u'.'
        + QFileInfo(*chosen).suffix());
    if (!UserFiles::writeNewPrivateFile(target, *source.bytes)) {
        setError(importFailed + QStringLiteral("无法写入“%1”。").arg(target));
        return;
    }
    if (!createCustomSound(target)) {
        QFile::remove(target);
        setError(QStringLiteral("无法读取该音频，请选择其他音频文件。"));
        return;
    }
    const QString previous = customPath();
    if (previous != target && isImportedSound(previous))
        QFile::remove(previous);
    setCustomPath(target);
    setSoundName(QStringLiteral("custom"));
}

void TimerModel::openStorageFolder()
{
    if (m_services.fileBrowser && m_services.storageFolder) {
        UserFiles::makePrivateFolder(*m_services.storageFolder);
        m_services.fileBrowser->openFolder(*m_services.storageFolder);
    }
}
