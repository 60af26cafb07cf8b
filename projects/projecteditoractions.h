// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

// What the project editor reads to open and calls to save: the catalogue operations as the model
// offers them, so that each change also rewrites records, persists and notifies.
class ProjectEditorActions {
public:
    virtual ~ProjectEditorActions() = default;

    virtual QStringList projects() const = 0;
    virtual QColor projectColor(const QString &project) const = 0;
    virtual std::optional<qint64> storedColorIndex(const QString &project) const = 0;
    // The custom colour the colour rule shows for the project, if any.
    virtual std::optional<QColor> customColorInForce(const QString &project) const = 0;

    // Both answer whether the catalogue accepted the change, so that a refused name never
    // recolours the project that already holds it.
    virtual bool addProject(const QString &name) = 0;
    virtual bool renameProject(const QString &oldName, const QString &newName, int colorIndex) = 0;
    virtual void setCustomColor(const QString &project, const QColor &color) = 0;
    virtual void removeCustomColor(const QString &project) = 0;
    virtual void addSubproject(const QString &subproject, const QString &project) = 0;
    virtual void renameSubproject(
        const QString &oldName, const QString &newName, const QString &project) = 0;
};
