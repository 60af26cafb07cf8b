// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The history operations of the model: the filtered list, delete with a one-step undo, and the
// CSV export.

#include "model/timermodel.h"
#include "platform/filedialogs.h"
#include "platform/filewriter.h"
#include "records/csvexport.h"
#include "records/recordqueries.h"

void TimerModel::setRecordRange(const QString &value)
{
    m_recordRange = value;
    Q_EMIT recordRangeChanged();
}

void TimerModel::setRecordProject(const QString &value)
{
    m_recordProject = value;
    Q_EMIT recordProjectChanged();
}

void TimerModel::setRecordSearch(const QString &value)
{
    m_recordSearch = value;
    Q_EMIT recordSearchChanged();
}

QVariant TimerModel::deletedRecordValue() const
{
    return m_deletedRecord ? QVariant::fromValue(*m_deletedRecord) : QVariant();
}

FocusRecordList TimerModel::visibleRecords() const
{
    RecordQueries::Filter filter;
    filter.range = m_recordRange;
    filter.project = m_recordProject;
    filter.search = m_recordSearch;
    if (m_recordRange == RecordQueries::rangeToday()) {
        if (const auto day = m_stats.today())
            filter.today = std::make_pair(day->start, day->end);
    } else if (m_recordRange == RecordQueries::rangeWeek()) {
        filter.weekIds = m_stats.weekIds();
    }
    return RecordQueries::visibleRecords(records(), filter);
}

void TimerModel::deleteRecord(const FocusRecord &record)
{
    // A copy: the argument may be an element of the list that the save replaces.
    const FocusRecord deleted = record;
    const std::optional<FocusRecordList> remaining =
        RecordQueries::withoutRecord(loadedRecords(), deleted);
    if (!remaining || !saveRecords(*remaining))
        return;
    m_deletedRecord = deleted;
    Q_EMIT deletedRecordChanged();
}

void TimerModel::deleteRecord(const QString &id)
{
    const QUuid uuid = QUuid::fromString(id);
    for (const FocusRecord &record : loadedRecords()) {
        if (record.id == uuid) {
            deleteRecord(record);
            return;
        }
    }
}

void TimerModel::undoDelete()
{
    if (!m_deletedRecord)
        return;
    if (!saveRecords(RecordQueries::withRestored(loadedRecords(), *m_deletedRecord)))
        return;
    m_deletedRecord.reset();
    Q_EMIT deletedRecordChanged();
}

void TimerModel::exportCSV()
{
    if (!m_services.dialogs)
        return;
    const std::optional<QString> path =
        m_services.dialogs->chooseSavePath(CsvExport::suggestedFileName(), CsvExport::nameFilter());
    if (!path || path->isEmpty())
        return;
    FileWriter &writer =
        m_services.fileWriter ? *m_services.fileWriter : AtomicFileWriter::instance();
    const FileWriter::Result result = CsvExport::write(writer, *path, loadedRecords());
    if (!result.ok)
        setRecordError(CsvExport::failurePrefix() + result.error);
}
