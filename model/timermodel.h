// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/countdown.h"
#include "model/figurelistmodel.h"
#include "model/remindersound.h"
#include "model/repairsourcelist.h"
#include "projects/projectcatalog.h"
#include "projects/projecteditoractions.h"
#include "records/focusrecord.h"
#include "records/recordstore.h"
#include "stats/focusstats.h"

#include <QColor>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>

class AlertPanels;
class DefaultsStore;
class FileBrowser;
class FileDialogs;
class FileWriter;
class SoundService;
class WakeSignal;

// The platform services that the model uses. An absent service makes its effect do nothing, so
// tests give the model exactly the doubles they watch.
struct TimerServices {
    // Holds "timer-sound" and "timer-custom-audio"; the application's standard store. Absent: the
    // model's own defaults store.
    DefaultsStore *settings = nullptr;
    // Absent: the real atomic writer.
    FileWriter *fileWriter = nullptr;
    // The folder of the record file ("~/.local/share/VelmorTimer"); absent when it cannot be
    // resolved, and records then live in the defaults copy alone.
    std::optional<QString> storageFolder;
    // The clock of the calendar day that counts as today. Absent: the system's wall clock.
    std::function<double()> todayClock;
    WakeSignal *wake = nullptr;
    AlertPanels *alertPanels = nullptr;
    SoundService *sound = nullptr;
    FileDialogs *dialogs = nullptr;
    FileBrowser *fileBrowser = nullptr;
    // Reads the repair sources on a thread of the model's own, so large backups never hold up the
    // window. Off: they are read at once, on the calling thread.
    bool readInBackground = false;
    // Reads and decodes the record file on a thread of the model's own, from
    // startLoadingRecords() on; the records, the figures and any load message arrive later from
    // the event loop. Off: loaded at once, in the constructor.
    bool loadInBackground = false;
    // Writes the list of a session that ran to its end on a thread of the model's own; the
    // model's records change when the write has succeeded. Off: written at once.
    bool saveInBackground = false;
};

// The one object that the views see: every piece of state and every operation. It is a thin
// facade; the countdown, the record store, the project catalogue, the figures and the reminder
// sound are plain classes of their own.
class TimerModel final : public QObject, public ProjectEditorActions {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application creates the one model.")

    // Countdown
    Q_PROPERTY(int hours READ hours WRITE setHours NOTIFY hoursChanged FINAL)
    Q_PROPERTY(int minutes READ minutes WRITE setMinutes NOTIFY minutesChanged FINAL)
    Q_PROPERTY(int seconds READ seconds WRITE setSeconds NOTIFY secondsChanged FINAL)
    Q_PROPERTY(double remaining READ remaining NOTIFY remainingChanged FINAL)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged FINAL)
    Q_PROPERTY(bool started READ started NOTIFY startedChanged FINAL)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged FINAL)
    Q_PROPERTY(TimerMode mode READ mode NOTIFY modeChanged FINAL)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged FINAL)
    Q_PROPERTY(double elapsed READ elapsed NOTIFY elapsedChanged FINAL)
    Q_PROPERTY(double currentProgress READ currentProgress NOTIFY currentProgressChanged FINAL)
    Q_PROPERTY(QString display READ display NOTIFY displayChanged FINAL)

    // Finishing
    Q_PROPERTY(
        bool pendingReset READ pendingReset WRITE setPendingReset NOTIFY pendingResetChanged FINAL)
    Q_PROPERTY(bool pendingFinish READ pendingFinish WRITE setPendingFinish NOTIFY
            pendingFinishChanged FINAL)
    Q_PROPERTY(QString wrapDraft READ wrapDraft WRITE setWrapDraft NOTIFY wrapDraftChanged FINAL)
    Q_PROPERTY(QString toast READ toast WRITE setToast NOTIFY toastChanged FINAL)

    // Pages
    Q_PROPERTY(
        bool showRecords READ showRecords WRITE setShowRecords NOTIFY showRecordsChanged FINAL)
    Q_PROPERTY(bool showReview READ showReview WRITE setShowReview NOTIFY showReviewChanged FINAL)
    Q_PROPERTY(
        bool showSettings READ showSettings WRITE setShowSettings NOTIFY showSettingsChanged FINAL)

    // Projects
    Q_PROPERTY(QStringList projects READ projects NOTIFY projectsChanged FINAL)
    Q_PROPERTY(QVariantMap subprojects READ subprojectsMap NOTIFY subprojectsChanged FINAL)
    Q_PROPERTY(QVariantMap projectColorIndices READ projectColorIndices NOTIFY
            projectColorIndicesChanged FINAL)
    Q_PROPERTY(QVariantMap customProjectColors READ customProjectColors NOTIFY
            customProjectColorsChanged FINAL)
    Q_PROPERTY(QString selectedProject READ selectedProject WRITE setSelectedProject NOTIFY
            selectedProjectChanged FINAL)
    // Empty while no subproject is selected (subproject names are never empty).
    Q_PROPERTY(QString selectedSubproject READ selectedSubproject WRITE setSelectedSubproject NOTIFY
            selectedSubprojectChanged FINAL)
    // [{name, color}] in palette order.
    Q_PROPERTY(QVariantList projectPalette READ projectPalette CONSTANT FINAL)

    // Records
    Q_PROPERTY(QList<FocusRecord> records READ records NOTIFY recordsChanged FINAL)
    Q_PROPERTY(
        QString recordError READ recordError WRITE setRecordError NOTIFY recordErrorChanged FINAL)
    // False after a failed load, until a repair.
    Q_PROPERTY(bool recordsReadable READ recordsReadable NOTIFY recordsReadableChanged FINAL)
    // Sessions that ended while writing was locked, kept for the repair to write.
    Q_PROPERTY(int waitingSessions READ waitingSessions NOTIFY waitingSessionsChanged FINAL)
    Q_PROPERTY(QString waitingText READ waitingText NOTIFY waitingSessionsChanged FINAL)
    // The repair sheet is shown.
    Q_PROPERTY(bool pendingRepair READ pendingRepair WRITE setPendingRepair NOTIFY
            pendingRepairChanged FINAL)
    Q_PROPERTY(RepairSourceList *repairSources READ repairSources CONSTANT FINAL)
    // Quitting would drop waiting sessions: the confirmation is to be shown.
    Q_PROPERTY(
        bool pendingQuit READ pendingQuit WRITE setPendingQuit NOTIFY pendingQuitChanged FINAL)

    Q_PROPERTY(
        QString recordRange READ recordRange WRITE setRecordRange NOTIFY recordRangeChanged FINAL)
    Q_PROPERTY(QString recordProject READ recordProject WRITE setRecordProject NOTIFY
            recordProjectChanged FINAL)
    Q_PROPERTY(QString recordSearch READ recordSearch WRITE setRecordSearch NOTIFY
            recordSearchChanged FINAL)
    // The last deleted record (a FocusRecord), or null.
    Q_PROPERTY(QVariant deletedRecord READ deletedRecordValue NOTIFY deletedRecordChanged FINAL)

    // Figures
    Q_PROPERTY(
        int selectedWeekOffset READ selectedWeekOffset NOTIFY selectedWeekOffsetChanged FINAL)
    Q_PROPERTY(double todayTotal READ todayTotal NOTIFY todayTotalChanged FINAL)
    Q_PROPERTY(QString todayDisplay READ todayDisplay NOTIFY todayTotalChanged FINAL)
    // Today's ring and its legend, the running session's slice included. Roles: key, color,
    // seconds, start, end, startAngle, sweepAngle, text.
    Q_PROPERTY(FigureListModel *todaySlices READ todaySlices CONSTANT FINAL)
    // Nothing counted today: no ring to draw.
    Q_PROPERTY(bool todayChartEmpty READ todayChartEmpty NOTIFY todayChartEmptyChanged FINAL)
    Q_PROPERTY(QString weekLabel READ weekLabel NOTIFY weekChanged FINAL)
    Q_PROPERTY(QString weekSummary READ weekSummary NOTIFY weekChanged FINAL)
    Q_PROPERTY(int dailyGoalReached READ dailyGoalReached NOTIFY weekChanged FINAL)
    Q_PROPERTY(int longestSession READ longestSession NOTIFY weekChanged FINAL)
    Q_PROPERTY(QString weekTotalText READ weekTotalText NOTIFY weekTextsChanged FINAL)
    Q_PROPERTY(QString weekGoalText READ weekGoalText NOTIFY weekTextsChanged FINAL)
    Q_PROPERTY(QString weekLongestText READ weekLongestText NOTIFY weekTextsChanged FINAL)
    // The seven day columns. Roles: date, weekday, minutes, minutesText, and segments, a list of
    // the day's bar from top to bottom with the roles project, color, minutes, height.
    Q_PROPERTY(FigureListModel *weekColumns READ weekColumns CONSTANT FINAL)
    // The week's projects with minutes. Roles: project, color, minutes, percent, fraction, text.
    Q_PROPERTY(FigureListModel *weekLegend READ weekLegend CONSTANT FINAL)

    // Settings and sound
    Q_PROPERTY(int dailyGoalHours READ dailyGoalHours WRITE setDailyGoalHours NOTIFY
            dailyGoalHoursChanged FINAL)
    Q_PROPERTY(QString soundName READ soundName WRITE setSoundName NOTIFY soundNameChanged FINAL)
    Q_PROPERTY(
        QString customPath READ customPath WRITE setCustomPath NOTIFY customPathChanged FINAL)
    Q_PROPERTY(bool alertOnce READ alertOnce CONSTANT FINAL)
    Q_PROPERTY(QString error READ error WRITE setError NOTIFY errorChanged FINAL)

public:
    using Clock = std::function<double()>;

    // The timer's mode; its raw value "专注" is the text that names it.
    enum class TimerMode { Focus };
    Q_ENUM(TimerMode)
    static QString rawValue(TimerMode mode);
    // Focus for "专注", nothing for any other text.
    static std::optional<TimerMode> timerMode(const QString &rawValue);

    TimerModel(DefaultsStore &defaults, Clock now, std::function<void()> completion = {},
        TimerServices services = {}, QObject *parent = nullptr);
    ~TimerModel() override;

    // Starts the load of a model that reads its records in the background; nothing else happens.
    // The application calls it once its window is on screen, so that the load does not slow the
    // window down; whatever needs the records before then starts it and waits for it.
    void startLoadingRecords();

    // Countdown
    int hours() const { return m_countdown.hours; }
    void setHours(int value);
    int minutes() const { return m_countdown.minutes; }
    void setMinutes(int value);
    int seconds() const { return m_countdown.seconds; }
    void setSeconds(int value);
    double remaining() const { return m_countdown.remaining(); }
    bool running() const { return m_countdown.running(); }
    bool started() const { return m_countdown.started(); }
    QString title() const { return m_title; }
    void setTitle(const QString &value);
    TimerMode mode() const { return m_mode; }
    double duration() const { return m_countdown.duration(); }
    double elapsed() const { return m_countdown.elapsed(); }
    double currentProgress() const { return m_countdown.currentProgress(); }
    QString display() const { return m_countdown.display(); }
    const Countdown &countdown() const { return m_countdown; }

    Q_INVOKABLE void start();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void requestReset();
    Q_INVOKABLE void reset();
    Q_INVOKABLE void tick();
    Q_INVOKABLE void preset(int minutes);
    Q_INVOKABLE void selectMode(TimerModel::TimerMode mode);

    // Finishing
    bool pendingReset() const { return m_pendingReset; }
    void setPendingReset(bool value);
    bool pendingFinish() const { return m_pendingFinish; }
    void setPendingFinish(bool value);
    QString wrapDraft() const { return m_wrapDraft; }
    void setWrapDraft(const QString &value);
    QString toast() const { return m_toast; }
    void setToast(const QString &value);

    Q_INVOKABLE void finishEarly();
    Q_INVOKABLE void commitEarly();
    Q_INVOKABLE void commitEarly(const QString &wrapUp);
    void commitEarly(const std::optional<QString> &wrapUp);
    void completeWrap(const std::optional<QString> &wrapUp);

    // Completion alert and sound
    Q_INVOKABLE void showCompletion();
    Q_INVOKABLE void dismiss();
    Q_INVOKABLE void play(bool loop = false);
    Q_INVOKABLE void chooseAudio();
    bool isSoundPlaying() const { return m_reminder.isPlaying(); }

    // Pages
    bool showRecords() const { return m_showRecords; }
    void setShowRecords(bool value);
    bool showReview() const { return m_showReview; }
    void setShowReview(bool value);
    bool showSettings() const { return m_showSettings; }
    void setShowSettings(bool value);

    // Projects
    QStringList projects() const override { return m_catalog.projects(); }
    QVariantMap subprojectsMap() const { return m_catalog.subprojectsValue(); }
    QVariantMap projectColorIndices() const { return m_catalog.colorIndicesValue(); }
    QVariantMap customProjectColors() const { return m_catalog.customColorsValue(); }
    QString selectedProject() const { return m_catalog.selectedProject(); }
    void setSelectedProject(const QString &project);
    QString selectedSubproject() const
    {
        return m_catalog.selectedSubproject().value_or(QString());
    }
    void setSelectedSubproject(const QString &subproject);
    QVariantList projectPalette() const;
    const ProjectCatalog &catalog() const { return m_catalog; }

    // Where the time now counted goes: the session's own project and subproject while a session
    // is counted down or paused, otherwise the selection that the next start takes.
    QString attributedProject() const;
    std::optional<QString> attributedSubproject() const;

    Q_INVOKABLE QColor projectColor(const QString &project) const override;
    Q_INVOKABLE QStringList subprojectsFor(const QString &project) const;
    std::optional<qint64> storedColorIndex(const QString &project) const override;
    std::optional<QColor> customColorInForce(const QString &project) const override;
    Q_INVOKABLE void persistProjects();
    Q_INVOKABLE bool addProject(const QString &name) override;
    Q_INVOKABLE bool renameProject(
        const QString &oldName, const QString &newName, int colorIndex) override;
    Q_INVOKABLE void setCustomColor(const QString &project, const QColor &color) override;
    Q_INVOKABLE void removeCustomColor(const QString &project) override;
    Q_INVOKABLE void deleteProject(const QString &name);
    Q_INVOKABLE void moveProject(const QString &name, int step);
    Q_INVOKABLE void addSubproject(const QString &subproject, const QString &project) override;
    Q_INVOKABLE void removeSubproject(const QString &subproject, const QString &project);
    Q_INVOKABLE void renameSubproject(
        const QString &oldName, const QString &newName, const QString &project) override;
    Q_INVOKABLE void moveSubproject(const QString &subproject, const QString &project, int step);

    // Records
    const FocusRecordList &records() const { return m_store.records(); }
    bool recordsReadable() const { return m_store.readable(); }
    std::optional<QString> storageFile() const { return m_store.storageFile(); }
    QString recordError() const { return m_recordError; }
    void setRecordError(const QString &value);
    // Writes the whole list to the record file and the defaults copy; the only writer of records.
    bool saveRecords(const FocusRecordList &newRecords);
    static RecordStore::Decoded decodeRecords(const QByteArray &data);

    QString recordRange() const { return m_recordRange; }
    void setRecordRange(const QString &value);
    QString recordProject() const { return m_recordProject; }
    void setRecordProject(const QString &value);
    QString recordSearch() const { return m_recordSearch; }
    void setRecordSearch(const QString &value);
    std::optional<FocusRecord> deletedRecord() const { return m_deletedRecord; }
    QVariant deletedRecordValue() const;

    FocusRecordList visibleRecords() const;
    void deleteRecord(const FocusRecord &record);
    Q_INVOKABLE void deleteRecord(const QString &id);
    Q_INVOKABLE void undoDelete();
    Q_INVOKABLE void exportCSV();
    // Opens the folder of the record file and its backups in the file manager.
    Q_INVOKABLE void openStorageFolder();

    // Repair of records that failed to load
    int waitingSessions() const { return int(m_waiting.size()); }
    const FocusRecordList &waitingRecords() const { return m_waiting; }
    QString waitingText() const;
    bool pendingRepair() const { return m_pendingRepair; }
    void setPendingRepair(bool value);
    RepairSourceList *repairSources() const { return m_repairSources.get(); }
    // Reads the sources into repairSources and opens the sheet; only while writing is locked.
    Q_INVOKABLE void prepareRepair();
    // Writes the chosen source with the waiting sessions as the record list and unlocks writing.
    // On failure repairSources.failure tells why and nothing is overwritten.
    Q_INVOKABLE bool repairRecords();
    bool pendingQuit() const { return m_pendingQuit; }
    void setPendingQuit(bool value);
    // Quits at once (quitApproved), or first asks while sessions wait to be written.
    Q_INVOKABLE void requestQuit();
    Q_INVOKABLE void confirmQuit();

    // Figures
    int selectedWeekOffset() const { return m_stats.selectedWeekOffset(); }
    Q_INVOKABLE void selectWeek(int offset);
    FocusRecordList todayRecords() const { return m_stats.todayRecords(); }
    double todayTotal() const { return m_stats.todayTotal(liveSession()); }
    QString todayDisplay() const { return m_stats.todayDisplay(liveSession()); }
    FigureListModel *todaySlices() const { return m_todaySlices; }
    bool todayChartEmpty() const { return m_todayChartEmpty; }
    Q_INVOKABLE int todayProjectMinutes(const QString &project) const;
    FocusRecordList weekRecords() const { return m_stats.weekRecords(); }
    Q_INVOKABLE int dailyMinutes(double dayInstant) const;
    static qint64 projectMinutes(const QString &project, const FocusRecordList &records)
    {
        return FocusStats::projectMinutes(project, records);
    }
    int dailyGoalReached() const { return m_stats.dailyGoalReached(m_dailyGoalHours); }
    int longestSession() const;
    QString weekLabel() const { return m_stats.weekLabel(); }
    QString weekSummary() const { return m_stats.weekSummary(); }
    QString weekTotalText() const { return m_weekTotalText; }
    QString weekGoalText() const { return m_weekGoalText; }
    QString weekLongestText() const { return m_weekLongestText; }
    FigureListModel *weekColumns() const { return m_weekColumns; }
    FigureListModel *weekLegend() const { return m_weekLegend; }
    const FocusStats &stats() const { return m_stats; }

    // Settings and sound
    int dailyGoalHours() const { return m_dailyGoalHours; }
    void setDailyGoalHours(int value);
    QString soundName() const { return m_reminder.name(); }
    void setSoundName(const QString &value) { m_reminder.setName(value); }
    QString customPath() const { return m_reminder.customPath(); }
    void setCustomPath(const QString &value) { m_reminder.setCustomPath(value); }
    bool alertOnce() const { return true; }
    QString error() const { return m_error; }
    void setError(const QString &value);

    const QTimer &ticker() const { return m_ticker; }

Q_SIGNALS:
    void hoursChanged();
    void minutesChanged();
    void secondsChanged();
    void remainingChanged();
    void runningChanged();
    void startedChanged();
    void titleChanged();
    void modeChanged();
    void durationChanged();
    void elapsedChanged();
    void currentProgressChanged();
    void displayChanged();
    void pendingResetChanged();
    void pendingFinishChanged();
    void wrapDraftChanged();
    void toastChanged();
    void showRecordsChanged();
    void showReviewChanged();
    void showSettingsChanged();
    void projectsChanged();
    void subprojectsChanged();
    void projectColorIndicesChanged();
    void customProjectColorsChanged();
    void selectedProjectChanged();
    void selectedSubprojectChanged();
    void recordsChanged();
    void recordErrorChanged();
    void recordsReadableChanged();
    void waitingSessionsChanged();
    void pendingRepairChanged();
    void pendingQuitChanged();
    // The application may end now.
    void quitApproved();
    void recordRangeChanged();
    void recordProjectChanged();
    void recordSearchChanged();
    void deletedRecordChanged();
    void selectedWeekOffsetChanged();
    void todayTotalChanged();
    void todayChartEmptyChanged();
    void weekChanged();
    void weekTextsChanged();
    void dailyGoalHoursChanged();
    void soundNameChanged();
    void customPathChanged();
    void errorChanged();

private:
    // The countdown fields the views read, taken before an operation to tell what it changed.
    struct CountdownSnapshot {
        double remaining;
        bool running;
        bool started;
        double duration;
        double elapsed;
        double progress;
        QString display;
    };
    CountdownSnapshot snapshot() const;
    // Tells the views which countdown fields an operation assigned.
    void notifyCountdown(const CountdownSnapshot &before, bool remainingAssigned = false);
    void finishNaturally(double reachedDeadline);
    FocusStats::LiveSession liveSession() const;
    // The list changed: the figures follow it.
    void onRecordsReplaced();
    // Takes the outcome of a load or a save under way in the background, waiting for it if it
    // has not arrived yet.
    void awaitRecords();
    // saveRecords() without holding the window's thread where the services allow it. False when
    // refused at once; a write that fails later sets recordError.
    bool saveInBackground(const FocusRecordList &newRecords);
    // The list that an operation changes and saves: never the empty one of a load under way.
    const FocusRecordList &loadedRecords();
    // A session that ended while writing was locked, for the repair to write.
    void keepWaiting(const FocusRecord &record);
    void showRepairSources(quint64 reading, const QList<RepairSource> &sources);
    void watchForANewDay();
    // Tells the views which catalogue fields an accepted operation assigned.
    void notifyCatalog(ProjectCatalog::Fields fields);
    void loadDailyGoal();
    // The figure lists and their texts follow today's total and the week: rows change in place.
    // QML hears of a signal before the model's own slots do, so these notify on their own.
    void refreshToday();
    void refreshWeek();

    DefaultsStore &m_defaults;
    Clock m_now;
    std::function<void()> m_completion;
    TimerServices m_services;
    Countdown m_countdown;
    RecordStore m_store;
    ProjectCatalog m_catalog;
    FocusStats m_stats;

    QString m_title;
    TimerMode m_mode = TimerMode::Focus;
    bool m_pendingReset = false;
    bool m_pendingFinish = false;
    QString m_wrapDraft;
    QString m_toast;
    bool m_showRecords = false;
    bool m_showReview = false;
    bool m_showSettings = false;
    QString m_recordError;
    int m_dailyGoalHours = 5;
    QString m_error;

    QString m_recordRange = QStringLiteral("全部");
    QString m_recordProject = QStringLiteral("全部项目");
    QString m_recordSearch;
    std::optional<FocusRecord> m_deletedRecord;

    ReminderSound m_reminder;
    FigureListModel *m_todaySlices;
    bool m_todayChartEmpty = true;
    FigureListModel *m_weekColumns;
    // One per column, the values of its segments role.
    QList<FigureListModel *> m_weekSegments;
    FigureListModel *m_weekLegend;
    QString m_weekTotalText;
    QString m_weekGoalText;
    QString m_weekLongestText;
    QTimer m_ticker;
    // Midnight changes what "today" and the current week are, also while nothing runs.
    QTimer m_dayWatch;
    std::optional<FocusCalendar::Interval> m_watchedDay;

    FocusRecordList m_waiting; // newest first
    bool m_pendingRepair = false;
    bool m_pendingQuit = false;
    std::unique_ptr<RepairSourceList> m_repairSources;
    quint64 m_repairReading = 0; // the latest reading of the sources; older results are dropped
    // The record file being read in the background; valid until its outcome is taken.
    std::future<RecordStore::FileLoad> m_loading;
    // The list being written in the background; at most one at a time, since every change first
    // takes the outcome of the one before.
    struct PendingSave {
        std::future<RecordStore::Written> written;
        FocusRecordList records;
        double heldMs = 0;
    };
    std::optional<PendingSave> m_saving;
    // Last, so that they are destroyed first: their destructors wait for work still under way.
    QThreadPool m_background;
    // Reads and decodes the record file at start.
    std::jthread m_loader;
};
