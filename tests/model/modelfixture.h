// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "doubles/failingfilewriter.h"
#include "doubles/fakeclock.h"
#include "doubles/memorydefaultsstore.h"
#include "doubles/recordingservices.h"
#include "model/timermodel.h"
#include "records/json/recordcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// A model on test doubles: a clock moved by hand (also the clock of "today"), a defaults store
// in memory, a temporary storage folder, a writer that fails on demand, and recorders for the
// alert, sound, dialogs and wake. Change `services` and restart() to build the model differently.
class ModelFixture {
public:
    // 2026-03-04 10:00 in Asia/Shanghai, a Wednesday.
    static constexpr double start = 794282400.0;
    static inline const QString goalKey = u"timer-daily-goal-hours"_s;
    // What the "damage" step leaves in the record file.
    static inline const QByteArray damaged = "[{\"startedAt\": 1, broken";
    // The name of an imported sound before its extension.
    static inline const QRegularExpression uuid {
        u"^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}(?=\\.)"_s};

    ModelFixture()
    {
        services.storageFolder = folder.filePath(QStringLiteral("VelmorTimer"));
        // The settings apart: the alert reads them while the list is written in the background.
        services.settings = &settings;
        services.alertPanels = &alert;
        services.wake = &wake;
        services.sound = &sound;
        services.dialogs = &dialogs;
        services.fileBrowser = &browser;
        services.fileWriter = &writer;
        services.todayClock = clock.clock();
        restart();
    }

    // A new start of the application over the same stores and folder.
    void restart()
    {
        ++restarts;
        model.reset();
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
    }

    QString storage() const { return *services.storageFolder; }
    QString recordFile() const { return storage() + QStringLiteral("/focus-records.json"); }

    // A tick as the window's timer gives it.
    void tick() { QMetaObject::invokeMethod(const_cast<QTimer *>(&model->ticker()), "timeout"); }

    // Runs a fresh session of the chosen length to its natural end.
    void runToEnd(const QString &title = QString())
    {
        model->reset();
        model->setTitle(title);
        model->start();
        clock.advance(model->duration());
        tick();
        model->reset();
    }

    // Acts as the user would, one step at a time ('_' in a value stands for a space):
    //   +N, >N      N seconds pass, with a tick of the window's timer (+) or without (>)
    //   name=value  sets that property of the model or calls that operation with the value
    //   name        calls that operation of the model ("start", "finishEarly", "reset")
    // and the fixture's own steps:
    //   end=T        a fresh session titled T runs to its end
    //   alert, wake  the alert is up; the computer wakes from sleep
    //   delete       deletes the newest record; wrap=T wraps up the newest record late
    //   sub=S        adds subproject S to the selected project
    //   rename=A>B   renames project A; renamesub=A>B renames a subproject of the selected one
    //   import=F:C   imports file F holding C (without ":C" the file is missing)
    //   failstart    sounds fail to start; goal=N starts again with goal N stored ('N' as text)
    //   fail, mend   the writer refuses, or takes again, every write; saved waits for a write
    //   damage       starts again over a spoiled record file
    //   background=load, background=load+save, restart   starts again with that work on the
    //                model's own thread, or without; load starts a background load, as the
    //                window's first frame does, and waits for it
    //   copy=a,b     a defaults copy of records titled a, b ("copy=damaged": one of no use)
    //   backup=a,b   an older backup ("fifo": a FIFO, "[...]": those bytes)
    //   repair       repairs from the source the model proposes (see repair())
    void act(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            const QByteArray name = step.section(u'=', 0, 0).toLatin1();
            const QString v = step.section(u'=', 1).replace(u'_', u' ');
            bool known = true;
            if (step.startsWith(u'>'))
                clock.advance(step.mid(1).toDouble());
            else
                notified([&] { known = ownStep(name, v) || modelStep(step, name, v); });
            QVERIFY2(known, qPrintable(step));
        }
    }

    // Runs one of the fixture's own steps (listed above); false if `name` is none of them.
    bool ownStep(const QByteArray &name, const QString &v)
    {
        TimerModel &m = *model;
        bool done = false;
        const auto on = [&](const char *word, const std::function<void()> &step) {
            if (!done && name == word) {
                step();
                done = true;
            }
        };
        on("end", [&] { runToEnd(v); });
        on("alert", [&] { alert.visible = true; });
        on("wake", [&] { wake.fire(); });
        on("delete", [&] { m.deleteRecord(m.records().first()); });
        on("wrap", [&] { m.completeWrap(v); });
        on("sub", [&] { m.addSubproject(v, m.selectedProject()); });
        on("rename", [&] { m.renameProject(v.section(u'>', 0, 0), v.section(u'>', 1), -1); });
        on("renamesub", [&] {
            m.renameSubproject(v.section(u'>', 0, 0), v.section(u'>', 1), m.selectedProject());
        });
        on("import", [&] {
            dialogs.audioPath = folder.filePath(v.section(u':', 0, 0));
            if (v.contains(u':'))
                write(*dialogs.audioPath, v.section(u':', 1).toUtf8());
            m.chooseAudio();
        });
        on("failstart", [&] { sound.failStart = true; });
        // Start-up writes nothing but a goal it had to bring into range.
        on("goal", [&] {
            defaults.seed(
                goalKey, v.startsWith(u'\'') ? QVariant(v.mid(1, 1)) : QVariant(v.toDouble()));
            restart();
            QCOMPARE(defaults.writtenKeys.count(goalKey), defaults.writtenKeys.size());
            QVERIFY(!QFileInfo::exists(storage()));
        });
        on("fail", [&] { writer.failing = true; });
        on("mend", [&] { writer.failing = false; });
        on("saved", [&] { QVERIFY(QSignalSpy(&m, &TimerModel::recordsChanged).wait()); });
        on("load", [&] {
            QSignalSpy arrived(&m, &TimerModel::recordsChanged);
            m.startLoadingRecords();
            QVERIFY(arrived.wait());
        });
        on("damage", [&] { write(recordFile(), damaged); });
        on("background", [&] {
            services.loadInBackground = true;
            services.saveInBackground = v.contains(u"save"_s);
        });
        on("restart", [&] { services.loadInBackground = services.saveInBackground = false; });
        on("copy", [&] {
            defaults.seed(
                u"focus-records"_s, v == u"damaged"_s ? QByteArray("[{\"startedAt\"") : encoded(v));
        });
        on("backup", [&] {
            const QString path =
                storage() + u"/focus-records-corrupt-%1.json"_s.arg(1772589600 - 1000 * ++backups);
            QDir().mkpath(storage());
            if (v == u"fifo"_s)
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            else
                write(path, v.startsWith(u'[') ? v.toUtf8() : encoded(v));
        });
        on("repair", [&] { repair(); });
        if (QByteArrayList {"damage", "background", "restart"}.contains(name))
            restart();
        return done;
    }

    // Runs a step that names a property or an operation of the model; false if it has none.
    bool modelStep(const QString &step, const QByteArray &name, const QString &v)
    {
        const QMetaObject &meta = *model->metaObject();
        if (step.startsWith(u'+')) {
            clock.advance(step.mid(1).toDouble());
            tick();
            return true;
        }
        if (step.contains(u'=') && meta.indexOfProperty(name.constData()) >= 0)
            return model->setProperty(name.constData(), v);
        if (meta.indexOfMethod(QByteArray(name + "(int)").constData()) >= 0)
            return QMetaObject::invokeMethod(model.get(), name.constData(), Q_ARG(int, v.toInt()));
        if (step.contains(u'='))
            return QMetaObject::invokeMethod(model.get(), name.constData(), Q_ARG(QString, v));
        return QMetaObject::invokeMethod(model.get(), name.constData());
    }

    // Runs one step and checks that every property it changed told the views so.
    void notified(const std::function<void()> &step)
    {
        const QMetaObject &meta = *model->metaObject();
        QList<std::pair<QMetaProperty, QVariant>> before;
        std::vector<std::unique_ptr<QSignalSpy>> told;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty property = meta.property(i);
            if (property.hasNotifySignal()) {
                before.append({property, property.read(model.get())});
                told.push_back(std::make_unique<QSignalSpy>(model.get(), property.notifySignal()));
            }
        }
        const int acted = restarts;
        step();
        for (qsizetype i = 0; acted == restarts && i < before.size(); ++i) {
            const auto &[property, value] = before.at(i);
            if (told.at(i)->isEmpty())
                QVERIFY2(property.read(model.get()) == value,
                    qPrintable(QString::fromLatin1(property.name()) + u" changed unannounced"_s));
        }
    }

    // Records that ended a day apart before the fixture's start, the first title the newest.
    static QByteArray encoded(const QString &titles)
    {
        FocusRecordList list;
        for (const QString &title : titles.split(u',')) {
            FocusRecord &record = list.emplace_back();
            record.title = title;
            record.endedAt = start - 86400.0 * double(list.size());
            record.startedAt = record.endedAt - 1500;
            record.duration = 1500;
        }
        return RecordCodec::encode(list);
    }

    QMap<QString, QByteArray> backupFiles() const
    {
        QMap<QString, QByteArray> files;
        const QDir dir(storage());
        for (const QString &name : dir.entryList({u"focus-records-corrupt-*"_s}, QDir::Files))
            files.insert(name, read(dir.filePath(name)));
        return files;
    }

    // Repairs from the chosen source, noting the sources as listed ("copy:2" for a copy of two
    // records, "backup:<reason>" for a backup that is no use) and the summary. Backups are never
    // removed or changed, and what a repair replaced is held by one.
    void repair()
    {
        if (!model->pendingRepair())
            model->prepareRepair();
        QStringList sources;
        for (const RepairSource &source : model->repairSources()->sources()) {
            sources.append((source.isDefaultsCopy() ? u"copy:"_s : u"backup:"_s)
                + (source.usable() ? QString::number(source.records->size()) : source.reason));
        }
        repaired = sources.join(u'/') + u' ' + model->repairSources()->summary();
        const QMap<QString, QByteArray> before = backupFiles();
        const QByteArray file = read(recordFile());
        const QByteArray copy = defaults.value(u"focus-records"_s).toByteArray();
        if (!model->repairRecords())
            return;
        const QMap<QString, QByteArray> after = backupFiles();
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.value(it.key()), it.value());
        QVERIFY(after.values().contains(file));
        copyKept = !copy.isEmpty() && after.values().contains(copy);
    }

    // What is stored is what is shown; a file that could not be read is kept as it was.
    void checkStored() const
    {
        const QByteArray file = read(recordFile());
        if (!model->recordsReadable()) {
            QCOMPARE(file, damaged);
        } else if (!services.saveInBackground) {
            QCOMPARE(RecordCodec::decode(file).records, model->records());
            QCOMPARE(defaults.value(u"focus-records"_s).toByteArray(), file);
        }
        // Only the newest imported sound is kept, named by a new id.
        const QStringList sounds = QDir(storage()).entryList({u"*-*-*-*-*"_s}, QDir::Files);
        QCOMPARE(sounds,
            QFileInfo(model->customPath()).fileName().contains(uuid)
                ? QStringList {QFileInfo(model->customPath()).fileName()}
                : QStringList());
    }

    // What the views show, e.g. "24:50 paused 1% wrap-up {A@学习 0..1500 1500s}". Each record
    // shows its start and end as seconds after the fixture's start.
    QString state() const
    {
        const TimerModel &m = *model;
        QStringList parts {m.display()};
        parts.append(m.countdown().finished() ? u"finished"_s
                : m.running()                 ? u"running"_s
                : m.started()                 ? u"paused"_s
                                              : u"idle"_s);
        if (m.started())
            parts.append(QString::number(qRound(m.currentProgress() * 100)) + u'%');
        const std::optional<QString> sub = m.catalog().selectedSubproject();
        const QString selected = m.selectedProject() + (sub ? u'/' + *sub : QString());
        const std::pair<bool, QString> flags[] = {{m.pendingReset(), u"asking"_s},
            {m.pendingFinish(), u"wrap-up"_s}, {alert.visible, u"alert"_s},
            {!m.wrapDraft().isEmpty(), u"draft"_s}, {bool(m.deletedRecord()), u"undo"_s},
            {selected != u"学习"_s, u"selected:"_s + selected},
            {m.projects() != QStringList {u"学习"_s, u"工作"_s, u"个人"_s},
                u"projects:"_s + m.projects().join(u'/')},
            {m.waitingSessions() > 0, u"waiting:"_s + QString::number(m.waitingSessions())},
            {!m.recordError().isEmpty(), u"error:"_s + m.recordError().section(u'：', 0, 0)},
            {m.soundName() != u"Glass"_s,
                u"sound:"_s + m.soundName() + QFileInfo(m.customPath()).fileName().remove(uuid)},
            {!m.error().isEmpty(), u"message:"_s + m.error().section(u'：', 0, 0)},
            {defaults.contains(goalKey),
                u"goal:%1/%2"_s.arg(m.dailyGoalHours()).arg(defaults.value(goalKey).toString())},
            {m.pendingQuit(), u"quit?"_s}, {m.pendingRepair(), u"repairing"_s},
            {!repaired.isEmpty(), u"repair:"_s + repaired}, {copyKept, u"copy-kept"_s},
            {!m.toast().isEmpty(), m.toast()}};
        for (const FocusRecord &r : m.records()) {
            parts.append(u"{%1@%2%3 %4..%5 %6s%7%8}"_s.arg(r.title, r.project,
                r.subproject ? u'/' + *r.subproject : QString(),
                QString::number(r.startedAt - start), QString::number(r.endedAt - start),
                QString::number(r.duration), r.early ? u" early"_s : QString(),
                r.wrapUp ? u" note:"_s + *r.wrapUp : QString()));
        }
        for (const auto &[on, text] : flags) {
            if (on)
                parts.append(text);
        }
        return parts.join(u' ');
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QTemporaryDir folder;
    FakeClock clock {start};
    MemoryDefaultsStore defaults;
    MemoryDefaultsStore settings;
    SwitchableFileWriter writer;
    RecordingAlertPanels alert;
    FakeWakeSignal wake;
    RecordingSoundService sound;
    ScriptedFileDialogs dialogs;
    RecordingFileBrowser browser;
    TimerServices services;
    int restarts = 0;
    int backups = 0;
    QString repaired;
    bool copyKept = false;
    std::unique_ptr<TimerModel> model;
};
