// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "projects/projecteditoractions.h"

#include <QHash>
#include <QStringList>

// Answers the editor's reads from what the test prepared and writes down every call, one line
// each, such as "renameProject(工作,办公,3)".
class RecordingEditorActions final : public ProjectEditorActions {
public:
    QStringList projects() const override { return projectList; }
    QColor projectColor(const QString &project) const override
    {
        return colors.value(project, Qt::black);
    }
    std::optional<qint64> storedColorIndex(const QString &project) const override
    {
        if (!indices.contains(project))
            return std::nullopt;
        return indices.value(project);
    }
    std::optional<QColor> customColorInForce(const QString &project) const override
    {
        if (!customColors.contains(project))
            return std::nullopt;
        return customColors.value(project);
    }

    bool addProject(const QString &name) override
    {
        calls.append(QStringLiteral("addProject(%1)").arg(name));
        return acceptAdd;
    }
    bool renameProject(const QString &oldName, const QString &newName, int colorIndex) override
    {
        calls.append(
            QStringLiteral("renameProject(%1,%2,%3)").arg(oldName, newName).arg(colorIndex));
        return acceptRename;
    }
    void setCustomColor(const QString &project, const QColor &color) override
    {
        calls.append(
            QStringLiteral("setCustomColor(%1,%2)").arg(project, color.name(QColor::HexArgb)));
    }
    void removeCustomColor(const QString &project) override
    {
        calls.append(QStringLiteral("removeCustomColor(%1)").arg(project));
    }
    void addSubproject(const QString &subproject, const QString &project) override
    {
        calls.append(QStringLiteral("addSubproject(%1,%2)").arg(subproject, project));
    }
    void renameSubproject(
        const QString &oldName, const QString &newName, const QString &project) override
    {
        calls.append(QStringLiteral("renameSubproject(%1,%2,%3)").arg(oldName, newName, project));
    }

    QStringList projectList;
    QHash<QString, QColor> colors;
    QHash<QString, qint64> indices;
    QHash<QString, QColor> customColors;
    bool acceptAdd = true;
    bool acceptRename = true;
    QStringList calls;
};
