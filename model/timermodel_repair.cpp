// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The repair of records that failed to load: the sessions kept while writing is locked, the
// sources to restore from, the repair itself, and the question before quitting with sessions kept.

#include "model/timermodel.h"
#include "platform/defaultsstore.h"
#include "platform/filewriter.h"
#include "records/instant.h"

using namespace Qt::StringLiterals;

QString TimerModel::waitingText() const
{
    if (m_waiting.isEmpty())
        return {};
    return u"%1 段专注已暂存，修复记录后写入。"_s.arg(m_waiting.size());
}

void TimerModel::keepWaiting(const FocusRecord &record)
{
    m_waiting.prepend(record);
    m_repairSources->setWaiting(m_waiting.size());
    Q_EMIT waitingSessionsChanged();
}

void TimerModel::setPendingRepair(bool value)
{
    if (!value) {
        ++m_repairReading; // a reading still under way is of no use any more
        m_repairSources->clear();
    }
    m_pendingRepair = value;
    Q_EMIT pendingRepairChanged();
}

void TimerModel::prepareRepair()
{
    awaitRecords();
    if (recordsReadable())
        return;
    const quint64 reading = ++m_repairReading;
    m_repairSources->startReading();
    m_repairSources->setWaiting(m_waiting.size());
    setPendingRepair(true);

    const std::optional<QString> folder = m_store.storageFolder();
    const QVariant copy = m_defaults.value(RecordStore::defaultsKey());
    const auto read = [this, reading, folder, copy] {
        const QList<RepairSource> sources = RecordRepair::findSources(folder, copy);
        // Straight on when read on the model's thread, queued to it from the background.
        QMetaObject::invokeMethod(
            this, [this, reading, sources] { showRepairSources(reading, sources); },
            Qt::AutoConnection);
    };
    if (m_services.readInBackground)
        m_background.start(read);
    else
        read();
}

void TimerModel::showRepairSources(quint64 reading, const QList<RepairSource> &sources)
{
    if (reading == m_repairReading && m_pendingRepair)
        m_repairSources->setSources(sources);
}

bool TimerModel::repairRecords()
{
    const RepairSource *source = m_repairSources->selectedSource();
    if (recordsReadable() || !source)
        return false;
    const FocusRecordList restored = RecordRepair::restoredList(*source->records, m_waiting);

    FileWriter &writer =
        m_services.fileWriter ? *m_services.fileWriter : AtomicFileWriter::instance();
    const qint64 now = RecordMath::wholeSeconds(Instant::toUnixSeconds(m_now()));
    if (const std::optional<QString> problem =
            RecordRepair::keepWhatRestoreReplaces(m_store.storageFolder(), m_store.storageFile(),
                m_defaults.value(RecordStore::defaultsKey()), restored, now, writer)) {
        m_repairSources->setFailure(RecordStore::saveFailedPrefix() + *problem);
        return false;
    }
    const RecordStore::SaveResult result = m_store.restore(restored);
    if (!result.ok) {
        m_repairSources->setFailure(result.error);
        return false;
    }

    m_waiting.clear();
    Q_EMIT waitingSessionsChanged();
    Q_EMIT recordsReadableChanged();
    setPendingRepair(false);
    setRecordError(QString());
    onRecordsReplaced();
    return true;
}

void TimerModel::setPendingQuit(bool value)
{
    m_pendingQuit = value;
    Q_EMIT pendingQuitChanged();
}

void TimerModel::requestQuit()
{
    if (m_waiting.isEmpty())
        Q_EMIT quitApproved();
    else
        setPendingQuit(true);
}

void TimerModel::confirmQuit()
{
    setPendingQuit(false);
    Q_EMIT quitApproved();
}
