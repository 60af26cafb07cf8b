// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/timermodel.h"

#include "platform/alertpanels.h"
#include "platform/defaultsstore.h"
#include "platform/filebrowser.h"
#include "platform/filedialogs.h"
#include "platform/filewriter.h"
#include "platform/userfiles.h"
#include "platform/wakesignal.h"
#include "records/instant.h"

#include <QElapsedTimer>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace {

const QString dailyGoalKey = QStringLiteral("timer-daily-goal-hours");

// Lowers the calling thread's scheduling priority below the window's thread. For good, since an
// unprivileged process cannot raise it again: only a thread of its own may call it.
void yieldToOtherThreads()
{
#ifdef Q_OS_LINUX
    // On Linux the nice value belongs to the thread, not to the process.
    setpriority(PRIO_PROCESS, 0, 10);
#endif
}

FileWriter &writerOf(const TimerServices &services)
{
    return services.fileWriter ? *services.fileWriter : AtomicFileWriter::instance();
}

} // namespace

TimerModel::TimerModel(DefaultsStore &defaults, Clock now, std::function<void()> completion,
    TimerServices services, QObject *parent)
    : QObject(parent),
      m_defaults(defaults),
      m_now(std::move(now)),
      m_completion(std::move(completion)),
      m_services(std::move(services)),
      m_countdown(m_now),
      m_store(defaults, writerOf(m_services), m_services.storageFolder, m_now),
      m_catalog(defaults),
      m_stats(m_now, m_services.todayClock),
      m_reminder(m_services.settings ? *m_services.settings : defaults, m_services.sound,
          m_services.storageFolder),
      m_todaySlices(new FigureListModel(
          {"key", "color", "seconds", "start", "end", "startAngle", "sweepAngle", "text"}, this)),
      m_weekColumns(
          new FigureListModel({"date", "weekday", "minutes", "minutesText", "segments"}, this)),
      m_weekLegend(new FigureListModel(
          {"project", "color", "minutes", "percent", "fraction", "text"}, this)),
      m_repairSources(std::make_unique<RepairSourceList>(this))
{
    loadDailyGoal();
    m_catalog.load();

    // In the background the load waits for startLoadingRecords().
    if (!m_services.loadInBackground) {
        if (const std::optional<QString> message = m_store.load())
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

    connect(&m_reminder, &ReminderSound::nameChanged, this, &TimerModel::soundNameChanged);
    connect(&m_reminder, &ReminderSound::customPathChanged, this, &TimerModel::customPathChanged);
    connect(this, &TimerModel::todayTotalChanged, this, &TimerModel::refreshToday);
    connect(this, &TimerModel::weekChanged, this, &TimerModel::refreshWeek);
    refreshToday();
    refreshWeek();
}

TimerModel::~TimerModel() = default;

void TimerModel::loadDailyGoal()
{
    // Only a positive stored goal counts; it is clamped and the clamped value written back.
    const qint64 stored = DefaultsValue::toInteger(m_defaults.value(dailyGoalKey));
    if (stored > 0)
        setDailyGoalHours(int(std::clamp<qint64>(stored, 1, 16)));
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

// Records --------------------------------------------------------------------------------------

void TimerModel::startLoadingRecords()
{
    if (!m_services.loadInBackground || m_loader.joinable())
        return;
    auto load = std::make_shared<std::packaged_task<RecordStore::FileLoad()>>(
        [folder = m_store.storageFolder(), second = m_store.backupSecond()] {
            return RecordStore::loadFile(folder, second);
        });
    m_loading = load->get_future();
    m_loader = std::jthread([this, load] {
        // The window may still be drawing, and its thread must not wait for this one.
        yieldToOtherThreads();
        (*load)();
        QMetaObject::invokeMethod(this, &TimerModel::awaitRecords, Qt::QueuedConnection);
    });
}

void TimerModel::awaitRecords()
{
    startLoadingRecords();
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
    m_reminder.stop();
    if (m_services.alertPanels)
        m_services.alertPanels->hideAll();
}

void TimerModel::play(bool loop)
{
    if (const std::optional<QString> failure = m_reminder.play(loop && !alertOnce()))
        setError(*failure);
}

void TimerModel::chooseAudio()
{
    if (!m_services.dialogs)
        return;
    const std::optional<QString> chosen = m_services.dialogs->chooseAudioFile();
    if (!chosen || chosen->isEmpty())
        return;
    if (const std::optional<QString> failure = m_reminder.importFile(*chosen))
        setError(*failure);
}

void TimerModel::openStorageFolder()
{
    if (m_services.fileBrowser && m_services.storageFolder) {
        UserFiles::makePrivateFolder(*m_services.storageFolder);
        m_services.fileBrowser->openFolder(*m_services.storageFolder);
    }
}
