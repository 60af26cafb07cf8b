// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The catalogue operations of the model: each forwards to the catalogue, saves rewritten records
// where names changed, and tells the views what changed.

#include "model/timermodel.h"
#include "projects/projectpalette.h"

void TimerModel::notifyCatalog(ProjectCatalog::Fields fields)
{
    if (fields & ProjectCatalog::Projects)
        Q_EMIT projectsChanged();
    if (fields & ProjectCatalog::Subprojects)
        Q_EMIT subprojectsChanged();
    if (fields & ProjectCatalog::ColorIndices)
        Q_EMIT projectColorIndicesChanged();
    if (fields & ProjectCatalog::CustomColors)
        Q_EMIT customProjectColorsChanged();
    if (fields & ProjectCatalog::SelectedProject)
        Q_EMIT selectedProjectChanged();
    if (fields & ProjectCatalog::SelectedSubproject)
        Q_EMIT selectedSubprojectChanged();
    // Names, colours and the live slice's key all show in the figures.
    if (fields) {
        Q_EMIT todayTotalChanged();
        Q_EMIT weekChanged();
    }
}

void TimerModel::setSelectedProject(const QString &project)
{
    notifyCatalog(m_catalog.setSelectedProject(project));
}

void TimerModel::setSelectedSubproject(const QString &subproject)
{
    m_catalog.setSelectedSubproject(
        subproject.isEmpty() ? std::nullopt : std::optional<QString>(subproject));
    notifyCatalog(ProjectCatalog::SelectedSubproject);
}

QString TimerModel::attributedProject() const
{
    return m_countdown.holdsSession() ? m_countdown.sessionProject() : m_catalog.selectedProject();
}

std::optional<QString> TimerModel::attributedSubproject() const
{
    return m_countdown.holdsSession() ? m_countdown.sessionSubproject()
                                      : m_catalog.selectedSubproject();
}

QVariantList TimerModel::projectPalette() const
{
    return ProjectPalette::toVariantList();
}

QColor TimerModel::projectColor(const QString &project) const
{
    return m_catalog.projectColor(project);
}

QStringList TimerModel::subprojectsFor(const QString &project) const
{
    return m_catalog.subprojectsFor(project);
}

std::optional<qint64> TimerModel::storedColorIndex(const QString &project) const
{
    return m_catalog.storedColorIndex(project);
}

std::optional<QColor> TimerModel::customColorInForce(const QString &project) const
{
    return m_catalog.customColorInForce(project);
}

void TimerModel::persistProjects()
{
    m_catalog.persist();
}

bool TimerModel::addProject(const QString &name)
{
    const ProjectCatalog::Change change = m_catalog.addProject(name);
    notifyCatalog(change.fields);
    return change.accepted;
}

bool TimerModel::renameProject(const QString &oldName, const QString &newName, int colorIndex)
{
    const ProjectCatalog::Change change = m_catalog.renameProject(oldName, newName, colorIndex);
    if (!change)
        return false;
    m_countdown.renameSessionProject(oldName, change.name);
    notifyCatalog(change.fields);
    saveRecords(ProjectCatalog::withProjectRenamed(loadedRecords(), oldName, change.name));
    m_catalog.persist();
    return true;
}

void TimerModel::setCustomColor(const QString &project, const QColor &color)
{
    notifyCatalog(m_catalog.setCustomColor(project, color).fields);
}

void TimerModel::removeCustomColor(const QString &project)
{
    notifyCatalog(m_catalog.removeCustomColor(project).fields);
}

void TimerModel::deleteProject(const QString &name)
{
    const ProjectCatalog::Change change = m_catalog.deleteProject(name, started());
    if (!change)
        return;
    notifyCatalog(change.fields);
    saveRecords(ProjectCatalog::withProjectDeleted(loadedRecords(), name));
    m_catalog.persist();
}

void TimerModel::moveProject(const QString &name, int step)
{
    notifyCatalog(m_catalog.moveProject(name, step).fields);
}

void TimerModel::addSubproject(const QString &subproject, const QString &project)
{
    notifyCatalog(m_catalog.addSubproject(subproject, project).fields);
}

void TimerModel::removeSubproject(const QString &subproject, const QString &project)
{
    notifyCatalog(m_catalog.removeSubproject(subproject, project).fields);
}

void TimerModel::renameSubproject(
    const QString &oldName, const QString &newName, const QString &project)
{
    const ProjectCatalog::Change change = m_catalog.renameSubproject(oldName, newName, project);
    if (!change)
        return;
    m_countdown.renameSessionSubproject(project, oldName, change.name);
    notifyCatalog(change.fields);
    saveRecords(
        ProjectCatalog::withSubprojectRenamed(loadedRecords(), project, oldName, change.name));
    m_catalog.persist();
}

void TimerModel::moveSubproject(const QString &subproject, const QString &project, int step)
{
    notifyCatalog(m_catalog.moveSubproject(subproject, project, step).fields);
}
