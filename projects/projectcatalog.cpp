// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "projects/projectcatalog.h"

#include "platform/defaultsstore.h"
#include "projects/projectpalette.h"

#include <QRgba64>

using namespace Qt::StringLiterals;

namespace {

// A stored dictionary whose every value passes the check; one bad value discards the whole map,
// since a partly read catalogue would be written back as if it were complete.
template<typename T, typename Check, typename Convert>
QMap<QString, T> readMap(const QVariant &stored, Check isValid, Convert convert)
{
    if (!DefaultsValue::isMap(stored))
        return {};
    QMap<QString, T> result;
    const QVariantMap map = stored.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!isValid(it.value()))
            return {};
        result.insert(it.key(), convert(it.value()));
    }
    return result;
}

} // namespace

QStringList ProjectCatalog::defaultProjects()
{
    return {u"学习"_s, u"工作"_s, u"个人"_s};
}

ProjectCatalog::ProjectCatalog(DefaultsStore &defaults) : m_defaults(defaults) { }

void ProjectCatalog::load()
{
    const QVariant storedProjects = m_defaults.value(projectsKey());
    m_projects = DefaultsValue::isStringList(storedProjects)
        ? DefaultsValue::toStringList(storedProjects)
        : defaultProjects();
    m_subprojects = readMap<QStringList>(m_defaults.value(subprojectsKey()),
        DefaultsValue::isStringList, DefaultsValue::toStringList);
    m_colorIndices = readMap<qint64>(m_defaults.value(colorIndicesKey()), DefaultsValue::isInteger,
        [](const QVariant &v) { return v.toLongLong(); });
    m_customColors = readMap<QList<double>>(m_defaults.value(customColorsKey()),
        DefaultsValue::isDoubleList, DefaultsValue::toDoubleList);
}

ProjectCatalog::Fields ProjectCatalog::setSelectedProject(const QString &project)
{
    if (project == m_selectedProject)
        return NoField;
    m_selectedProject = project;
    if (!m_selectedSubproject || m_subprojects.value(project).contains(*m_selectedSubproject))
        return SelectedProject;
    m_selectedSubproject.reset();
    return SelectedProject | SelectedSubproject;
}

QColor ProjectCatalog::projectColor(const QString &project) const
{
    if (const auto custom = customColorInForce(project))
        return *custom;
    if (const auto stored = storedColorIndex(project))
        return ProjectPalette::color(*stored);
    return ProjectPalette::color(qMax<qsizetype>(m_projects.indexOf(project), 0));
}

std::optional<qint64> ProjectCatalog::storedColorIndex(const QString &project) const
{
    const auto it = m_colorIndices.constFind(project);
    if (it == m_colorIndices.cend())
        return std::nullopt;
    return *it;
}

std::optional<QColor> ProjectCatalog::customColorInForce(const QString &project) const
{
    const auto it = m_customColors.constFind(project);
    if (it == m_customColors.cend() || it->size() != 4)
        return std::nullopt;
    const QList<double> &c = *it;
    return ProjectPalette::colorFromComponents(c.at(0), c.at(1), c.at(2), c.at(3));
}

QVariantMap ProjectCatalog::subprojectsValue() const
{
    QVariantMap map;
    for (auto it = m_subprojects.cbegin(); it != m_subprojects.cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

QVariantMap ProjectCatalog::colorIndicesValue() const
{
    QVariantMap map;
    for (auto it = m_colorIndices.cbegin(); it != m_colorIndices.cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

QVariantMap ProjectCatalog::customColorsValue() const
{
    QVariantMap map;
    for (auto it = m_customColors.cbegin(); it != m_customColors.cend(); ++it) {
        QVariantList components;
        for (double c : it.value())
            components.append(c);
        map.insert(it.key(), components);
    }
    return map;
}

ProjectCatalog::Change ProjectCatalog::addProject(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || m_projects.contains(trimmed))
        return {};
    m_projects.append(trimmed);
    m_colorIndices.insert(trimmed, m_projects.size() - 1);
    persist();
    return {true, trimmed, Projects | ColorIndices | setSelectedProject(trimmed)};
}

ProjectCatalog::Change ProjectCatalog::renameProject(
    const QString &oldName, const QString &newName, qint64 colorIndex)
{
    const QString trimmed = newName.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (oldName != trimmed && m_projects.contains(trimmed))
        return {};

    Fields fields = Projects | ColorIndices;
    for (QString &project : m_projects) {
        if (project == oldName)
            project = trimmed;
    }
    // With -1 (a free colour chosen) the project keeps its palette index behind the free colour.
    const qint64 former = m_colorIndices.take(oldName);
    m_colorIndices.insert(trimmed, colorIndex >= 0 ? colorIndex : former);

    // The project's own subprojects and free colour follow it; when it had none, entries that a
    // deleted namesake left under the new name are found again, as after addProject.
    if (oldName != trimmed) {
        if (m_subprojects.contains(oldName)) {
            m_subprojects.insert(trimmed, m_subprojects.take(oldName));
            fields |= Subprojects;
        }
        if (m_customColors.contains(oldName)) {
            m_customColors.insert(trimmed, m_customColors.take(oldName));
            fields |= CustomColors;
        }
    }
    if (m_selectedProject == oldName)
        fields |= setSelectedProject(trimmed);
    return {true, trimmed, fields};
}

ProjectCatalog::Change ProjectCatalog::setCustomColor(const QString &project, const QColor &color)
{
    QColor rgb = color.toRgb();
    if (!rgb.isValid())
        rgb = systemBlue().toRgb();
    const QRgba64 c = rgb.rgba64();
    m_customColors.insert(
        project, {c.red() / 65535.0, c.green() / 65535.0, c.blue() / 65535.0, c.alpha() / 65535.0});
    persist();
    return {true, project, CustomColors};
}

ProjectCatalog::Change ProjectCatalog::removeCustomColor(const QString &project)
{
    if (!m_customColors.contains(project))
        return {};
    m_customColors.remove(project);
    persist();
    return {true, project, CustomColors};
}

ProjectCatalog::Change ProjectCatalog::deleteProject(const QString &name, bool sessionStarted)
{
    if (m_projects.size() < 2 || sessionStarted)
        return {};
    QStringList remaining = m_projects;
    remaining.removeAll(name);
    // A stored list may repeat a name; deleting it must still leave a project to fall back on.
    if (remaining.isEmpty())
        return {};

    m_projects = remaining;
    m_colorIndices.remove(name);
    Fields fields = Projects | ColorIndices;
    if (m_selectedProject == name)
        fields |= setSelectedProject(m_projects.first());
    return {true, name, fields};
}

ProjectCatalog::Change ProjectCatalog::moveProject(const QString &name, int step)
{
    const qsizetype from = m_projects.indexOf(name);
    if (from < 0)
        return {};
    const qint64 to = qint64(from) + step;
    if (to < 0 || to >= m_projects.size())
        return {};
    m_projects.swapItemsAt(from, to);
    persist();
    return {true, name, Projects};
}

ProjectCatalog::Change ProjectCatalog::addSubproject(
    const QString &subproject, const QString &project)
{
    const QString trimmed = subproject.trimmed();
    if (trimmed.isEmpty() || m_subprojects.value(project).contains(trimmed))
        return {};
    m_subprojects[project].append(trimmed);
    writeSubprojects();
    m_selectedProject = project;
    m_selectedSubproject = trimmed;
    return {true, trimmed, Subprojects | SelectedProject | SelectedSubproject};
}

ProjectCatalog::Change ProjectCatalog::removeSubproject(
    const QString &subproject, const QString &project)
{
    Fields fields;
    const auto it = m_subprojects.find(project);
    if (it != m_subprojects.end()) {
        it->removeAll(subproject);
        fields |= Subprojects;
    }
    writeSubprojects();
    if (m_selectedProject == project && m_selectedSubproject == subproject) {
        m_selectedSubproject.reset();
        fields |= SelectedSubproject;
    }
    return {true, subproject, fields};
}

ProjectCatalog::Change ProjectCatalog::renameSubproject(
    const QString &oldName, const QString &newName, const QString &project)
{
    const QString trimmed = newName.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (oldName != trimmed && m_subprojects.value(project).contains(trimmed))
        return {};
    const auto it = m_subprojects.find(project);
    if (it == m_subprojects.end())
        return {};
    const qsizetype position = it->indexOf(oldName);
    if (position < 0)
        return {};

    (*it)[position] = trimmed;
    Fields fields = Subprojects;
    if (m_selectedProject == project && m_selectedSubproject == oldName) {
        m_selectedSubproject = trimmed;
        fields |= SelectedSubproject;
    }
    return {true, trimmed, fields};
}

ProjectCatalog::Change ProjectCatalog::moveSubproject(
    const QString &subproject, const QString &project, int step)
{
    const auto it = m_subprojects.find(project);
    if (it == m_subprojects.end())
        return {};
    const qsizetype from = it->indexOf(subproject);
    if (from < 0)
        return {};
    const qint64 to = qint64(from) + step;
    if (to < 0 || to >= it->size())
        return {};
    it->swapItemsAt(from, to);
    persist();
    return {true, subproject, Subprojects};
}

void ProjectCatalog::persist()
{
    m_defaults.setValue(projectsKey(), m_projects);
    m_defaults.setValue(colorIndicesKey(), colorIndicesValue());
    m_defaults.setValue(customColorsKey(), customColorsValue());
    writeSubprojects();
}

void ProjectCatalog::writeSubprojects()
{
    m_defaults.setValue(subprojectsKey(), subprojectsValue());
}

FocusRecordList ProjectCatalog::withProjectRenamed(
    const FocusRecordList &records, const QString &oldName, const QString &newName)
{
    FocusRecordList result = records;
    for (FocusRecord &record : result) {
        if (record.project == oldName)
            record.project = newName;
    }
    return result;
}

FocusRecordList ProjectCatalog::withProjectDeleted(
    const FocusRecordList &records, const QString &name)
{
    return withProjectRenamed(records, name, unassignedProject());
}

FocusRecordList ProjectCatalog::withSubprojectRenamed(const FocusRecordList &records,
    const QString &project, const QString &oldName, const QString &newName)
{
    FocusRecordList result = records;
    for (FocusRecord &record : result) {
        if (record.project == project && record.subproject == oldName)
            record.subproject = newName;
    }
    return result;
}
