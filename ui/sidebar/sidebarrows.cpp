// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/sidebar/sidebarrows.h"

#include "model/timermodel.h"
#include "projects/projectdraft.h"
#include "ui/controls/modelrebind.h"

using namespace Qt::StringLiterals;

SidebarRows::SidebarRows(QObject *parent) : QAbstractListModel(parent) { }

void SidebarRows::setModel(TimerModel *model)
{
    if (!rebindModel(*this, m_model, model))
        return;
    if (m_model) {
        const auto follow = [this](auto signal) {
            connect(m_model, signal, this, &SidebarRows::refresh);
        };
        follow(&TimerModel::projectsChanged);
        follow(&TimerModel::subprojectsChanged);
        follow(&TimerModel::projectColorIndicesChanged);
        follow(&TimerModel::customProjectColorsChanged);
        follow(&TimerModel::selectedProjectChanged);
        follow(&TimerModel::selectedSubprojectChanged);
        follow(&TimerModel::startedChanged);
        // Today's minutes change with the records and at midnight; both tell the week.
        follow(&TimerModel::weekChanged);
    }
    refresh();
    Q_EMIT modelChanged();
}

void SidebarRows::setDraft(ProjectDraft *draft)
{
    if (m_draft == draft)
        return;
    if (m_draft)
        disconnect(m_draft, nullptr, this, nullptr);
    m_draft = draft;
    if (m_draft)
        connect(m_draft, &ProjectDraft::collapsedProjectsChanged, this, &SidebarRows::refresh);
    refresh();
    Q_EMIT draftChanged();
}

QList<SidebarRows::Row> SidebarRows::buildRows() const
{
    QList<Row> rows;
    if (!m_model)
        return rows;
    const QStringList projects = m_model->projects();
    const QString selectedProject = m_model->selectedProject();
    const QString selectedSubproject = m_model->selectedSubproject();
    const bool started = m_model->started();
    for (qsizetype i = 0; i < projects.size(); ++i) {
        const QString &project = projects.at(i);
        const QStringList subprojects = m_model->subprojectsFor(project);
        const QColor color = m_model->projectColor(project);
        Row row;
        row.project = project;
        row.dotColor = color;
        row.detail =
            u"今日 "_s + QString::number(m_model->todayProjectMinutes(project)) + u" 分钟"_s;
        row.selected = selectedProject == project && selectedSubproject.isEmpty();
        row.collapsed = m_draft && m_draft->isCollapsed(project);
        row.expandable = !subprojects.isEmpty();
        row.first = i == 0;
        row.last = i == projects.size() - 1;
        row.deletable = projects.size() > 1 && !started;
        rows.append(row);
        if (row.collapsed)
            continue;
        QColor subColor = color;
        subColor.setAlphaF(0.68f);
        for (qsizetype k = 0; k < subprojects.size(); ++k) {
            Row sub;
            sub.isProject = false;
            sub.project = project;
            sub.subproject = subprojects.at(k);
            sub.dotColor = subColor;
            sub.selected = selectedProject == project && selectedSubproject == sub.subproject;
            sub.first = k == 0;
            sub.last = k == subprojects.size() - 1;
            sub.deletable = true;
            rows.append(sub);
        }
    }
    return rows;
}

void SidebarRows::refresh()
{
    QList<Row> rows = buildRows();
    const bool sameEntries = rows.size() == m_rows.size()
        && std::equal(rows.cbegin(), rows.cend(), m_rows.cbegin(),
            [](const Row &a, const Row &b) { return a.sameEntry(b); });
    if (!sameEntries) {
        // Entries were added, removed, moved or folded: the rows are laid out again.
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
        return;
    }
    // Same entries: update in place, so open menus and press states survive.
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i) == m_rows.at(i))
            continue;
        m_rows[i] = rows.at(i);
        Q_EMIT dataChanged(index(int(i)), index(int(i)));
    }
}

const SidebarRows::Row *SidebarRows::rowAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? &m_rows.at(row) : nullptr;
}

int SidebarRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SidebarRows::data(const QModelIndex &index, int role) const
{
    const Row *row = rowAt(index.row());
    if (!row || index.parent().isValid())
        return {};
    switch (role) {
    case IsProjectRole:
        return row->isProject;
    case ProjectRole:
        return row->project;
    case SubprojectRole:
        return row->subproject;
    case Qt::DisplayRole:
    case NameRole:
        return row->isProject ? row->project : row->subproject;
    case DotColorRole:
        return row->dotColor;
    case DetailRole:
        return row->detail;
    case SelectedRole:
        return row->selected;
    case CollapsedRole:
        return row->collapsed;
    case ExpandableRole:
        return row->expandable;
    case FirstRole:
        return row->first;
    case LastRole:
        return row->last;
    case DeletableRole:
        return row->deletable;
    default:
        return {};
    }
}

QHash<int, QByteArray> SidebarRows::roleNames() const
{
    return {
        {IsProjectRole, "isProject"},
        {ProjectRole, "project"},
        {SubprojectRole, "subproject"},
        {NameRole, "name"},
        {DotColorRole, "dotColor"},
        {DetailRole, "detail"},
        {SelectedRole, "selected"},
        {CollapsedRole, "collapsed"},
        {ExpandableRole, "expandable"},
        {FirstRole, "first"},
        {LastRole, "last"},
        {DeletableRole, "deletable"},
    };
}

void SidebarRows::select(int row)
{
    const Row *entry = rowAt(row);
    // A started session keeps the project and subproject it was started with.
    if (!entry || !m_model || m_model->started())
        return;
    const QString project = entry->project;
    const QString subproject = entry->subproject;
    m_model->setSelectedProject(project);
    m_model->setSelectedSubproject(subproject);
}

void SidebarRows::toggle(int row)
{
    const Row *entry = rowAt(row);
    if (entry && entry->isProject && entry->expandable && m_draft)
        m_draft->toggleCollapsed(entry->project);
}

void SidebarRows::move(int row, int step)
{
    const Row *entry = rowAt(row);
    if (!entry || !m_model)
        return;
    const Row copy = *entry; // the move rebuilds the rows
    if (copy.isProject)
        m_model->moveProject(copy.project, step);
    else if (!m_model->started())
        m_model->moveSubproject(copy.subproject, copy.project, step);
}

void SidebarRows::remove(int row)
{
    const Row *entry = rowAt(row);
    if (!entry || !m_model || !entry->deletable)
        return;
    const Row copy = *entry;
    if (copy.isProject) {
        if (m_draft)
            m_draft->setConfirmingDelete(copy.project);
    } else if (!m_model->started()) {
        m_model->removeSubproject(copy.subproject, copy.project);
    }
}

void SidebarRows::edit(int row)
{
    const Row *entry = rowAt(row);
    if (!entry || !m_draft)
        return;
    const Row copy = *entry;
    if (copy.isProject)
        m_draft->prepareEditProject(copy.project);
    else if (m_model && !m_model->started())
        m_draft->prepareEditSubproject(copy.project, copy.subproject);
}

void SidebarRows::addSubproject(int row)
{
    const Row *entry = rowAt(row);
    if (entry && entry->isProject && m_draft)
        m_draft->prepareNewSubproject(entry->project);
}
