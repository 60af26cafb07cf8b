// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "projects/projectdraft.h"

#include "projects/projecteditoractions.h"
#include "projects/projectpalette.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QVariant optionalValue(const std::optional<QString> &value)
{
    return value ? QVariant(*value) : QVariant();
}

// The swatch to mark for a stored index. A negative one (written by something else) is wrapped
// like the colour rule does, since -1 would otherwise mean the free colour.
int editorIndex(qint64 stored)
{
    if (stored >= 0 && stored <= std::numeric_limits<int>::max())
        return int(stored);
    return ProjectPalette::wrapped(stored);
}

} // namespace

ProjectDraft::ProjectDraft(ProjectEditorActions &actions, QObject *parent)
    : QObject(parent), m_actions(actions)
{
}

void ProjectDraft::setName(const QString &value)
{
    if (m_name == value)
        return;
    m_name = value;
    Q_EMIT nameChanged();
}

void ProjectDraft::setShowing(bool value)
{
    if (m_showing == value)
        return;
    m_showing = value;
    Q_EMIT showingChanged();
}

void ProjectDraft::setColorIndex(int value)
{
    setColor(value, m_customColor);
}

void ProjectDraft::setCustomColor(const QColor &value)
{
    setColor(m_colorIndex, value);
}

void ProjectDraft::setConfirmingDelete(const std::optional<QString> &value)
{
    if (m_confirmingDelete == value)
        return;
    m_confirmingDelete = value;
    Q_EMIT confirmingDeleteChanged();
}

QVariant ProjectDraft::editingProjectValue() const
{
    return optionalValue(m_editingProject);
}

QVariant ProjectDraft::confirmingDeleteValue() const
{
    return optionalValue(m_confirmingDelete);
}

void ProjectDraft::setConfirmingDeleteValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        setConfirmingDelete(std::nullopt);
    else
        setConfirmingDelete(value.toString());
}

QVariant ProjectDraft::editingSubprojectParentValue() const
{
    return optionalValue(m_editingSubprojectParent);
}

QVariant ProjectDraft::editingSubprojectOriginalValue() const
{
    return optionalValue(m_editingSubprojectOriginal);
}

QString ProjectDraft::title() const
{
    return editing() ? u"编辑项目"_s : u"新建项目"_s;
}

QString ProjectDraft::confirmLabel() const
{
    return editing() ? u"保存"_s : u"创建"_s;
}

QVariantList ProjectDraft::palette() const
{
    return showsPalette() ? ProjectPalette::toVariantList() : QVariantList();
}

QColor ProjectDraft::previewColor() const
{
    if (m_colorIndex >= 0 && m_colorIndex < ProjectPalette::size)
        return ProjectPalette::color(m_colorIndex);
    return m_customColor;
}

void ProjectDraft::prepareNewProject()
{
    setMode(NewProject, std::nullopt, std::nullopt, std::nullopt);
    setName(QString());
    setColor(0, indigo());
    setShowing(true);
}

void ProjectDraft::prepareNewSubproject(const QString &project)
{
    m_newSubprojectParent = project;
    setMode(NewSubproject, subprojectMarker() + project, std::nullopt, std::nullopt);
    setName(QString());
    setShowing(true);
}

void ProjectDraft::prepareEditProject(const QString &project)
{
    setMode(EditProject, project, std::nullopt, std::nullopt);
    setName(project);
    // A free colour in force opens as the free colour, so saving unchanged keeps it.
    if (const auto custom = m_actions.customColorInForce(project)) {
        setColor(-1, *custom);
    } else {
        int index = 0;
        if (const auto stored = m_actions.storedColorIndex(project))
            index = editorIndex(*stored);
        else if (const qsizetype position = m_actions.projects().indexOf(project); position >= 0)
            index = editorIndex(position);
        setColor(index, m_actions.projectColor(project));
    }
    setShowing(true);
}

void ProjectDraft::prepareEditSubproject(const QString &project, const QString &subproject)
{
    setMode(EditSubproject, std::nullopt, project, subproject);
    setName(subproject);
    setShowing(true);
}

void ProjectDraft::closeProjectEditor()
{
    setShowing(false);
    setMode(NewProject, std::nullopt, std::nullopt, std::nullopt);
}

void ProjectDraft::toggleCollapsed(const QString &project)
{
    if (!m_collapsedProjects.removeOne(project))
        m_collapsedProjects.append(project);
    Q_EMIT collapsedProjectsChanged();
}

void ProjectDraft::pickPaletteColor(int index)
{
    if (index < 0 || index >= ProjectPalette::size)
        return;
    setColorIndex(index);
}

void ProjectDraft::pickCustomColor(const QColor &color)
{
    setColor(-1, color);
}

void ProjectDraft::save()
{
    const QString name = m_name.trimmed();
    if (!name.isEmpty()) {
        switch (m_mode) {
        case EditSubproject:
            m_actions.renameSubproject(m_editingSubprojectOriginal.value_or(QString()), name,
                m_editingSubprojectParent.value_or(QString()));
            break;
        case NewSubproject:
            m_actions.addSubproject(name, m_newSubprojectParent);
            break;
        case EditProject:
            if (m_actions.renameProject(m_editingProject.value_or(QString()), name, m_colorIndex))
                applyColorChoice(name);
            break;
        case NewProject:
            // The rename stores the chosen index (with -1, the positional one stays).
            if (m_actions.addProject(name) && m_actions.renameProject(name, name, m_colorIndex))
                applyColorChoice(name);
            break;
        }
    }
    closeProjectEditor();
}

void ProjectDraft::setMode(Mode mode, const std::optional<QString> &editingProject,
    const std::optional<QString> &subprojectParent,
    const std::optional<QString> &subprojectOriginal)
{
    if (m_mode != mode) {
        m_mode = mode;
        Q_EMIT modeChanged();
    }
    if (m_editingProject != editingProject) {
        m_editingProject = editingProject;
        Q_EMIT editingProjectChanged();
    }
    if (m_editingSubprojectParent != subprojectParent) {
        m_editingSubprojectParent = subprojectParent;
        Q_EMIT editingSubprojectParentChanged();
    }
    if (m_editingSubprojectOriginal != subprojectOriginal) {
        m_editingSubprojectOriginal = subprojectOriginal;
        Q_EMIT editingSubprojectOriginalChanged();
    }
}

void ProjectDraft::setColor(int index, const QColor &custom)
{
    const QColor previewBefore = previewColor();
    if (m_colorIndex != index) {
        m_colorIndex = index;
        Q_EMIT colorIndexChanged();
    }
    if (m_customColor != custom) {
        m_customColor = custom;
        Q_EMIT customColorChanged();
    }
    if (previewColor() != previewBefore)
        Q_EMIT previewColorChanged();
}

void ProjectDraft::applyColorChoice(const QString &project)
{
    // A palette choice drops a free colour, which would otherwise hide it.
    if (m_colorIndex == -1)
        m_actions.setCustomColor(project, m_customColor);
    else
        m_actions.removeCustomColor(project);
}
