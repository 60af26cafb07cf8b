// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/focusrecord.h"

#include <QColor>
#include <QFlags>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class DefaultsStore;

// The catalogue of projects: names in display order, subprojects per project, colours, and the
// selection that the next session is attributed to. Kept in the defaults store under four keys.
//
// Operations that rewrite records (renameProject, deleteProject, renameSubproject) change the
// catalogue and the selection only and write nothing: the caller then saves the records rewritten
// by the matching with… function and calls persist(), in that order. Every other operation writes
// its keys itself. A refused operation changes nothing and writes nothing.
class ProjectCatalog {
public:
    using SubprojectMap = QMap<QString, QStringList>;
    using ColorIndexMap = QMap<QString, qint64>;
    using CustomColorMap = QMap<QString, QList<double>>;

    // The fields an accepted operation assigned, so the caller knows what to notify.
    enum Field {
        NoField = 0,
        Projects = 0x01,
        Subprojects = 0x02,
        ColorIndices = 0x04,
        CustomColors = 0x08,
        SelectedProject = 0x10,
        SelectedSubproject = 0x20,
    };
    Q_DECLARE_FLAGS(Fields, Field)

    struct Change {
        bool accepted = false;
        QString name; // the trimmed name the operation used, when it took a new name
        Fields fields;
        explicit operator bool() const { return accepted; }
    };

    static QString projectsKey() { return QStringLiteral("timer-projects"); }
    static QString colorIndicesKey() { return QStringLiteral("timer-project-colors"); }
    static QString customColorsKey() { return QStringLiteral("timer-custom-project-colors"); }
    static QString subprojectsKey() { return QStringLiteral("timer-subprojects"); }
    static QString unassignedProject() { return QStringLiteral("未分类"); }
    static QStringList defaultProjects();
    // A free colour when the chosen one cannot be read as RGB.
    static QColor systemBlue() { return QColor::fromRgbF(0.0f, 0.478f, 1.0f); }

    explicit ProjectCatalog(DefaultsStore &defaults);

    // Reads the four keys; a value of the wrong shape gives the default. Writes nothing.
    void load();

    const QStringList &projects() const { return m_projects; }
    const SubprojectMap &subprojects() const { return m_subprojects; }
    const ColorIndexMap &colorIndices() const { return m_colorIndices; }
    const CustomColorMap &customColors() const { return m_customColors; }

    const QString &selectedProject() const { return m_selectedProject; }
    // A selected subproject that the newly selected project does not hold is cleared with it, so
    // a session is never attributed to a subproject of another project.
    Fields setSelectedProject(const QString &project);
    const std::optional<QString> &selectedSubproject() const { return m_selectedSubproject; }
    void setSelectedSubproject(const std::optional<QString> &subproject)
    {
        m_selectedSubproject = subproject;
    }

    // The one mapping from a project name to its colour: a custom colour of 4 components, else the
    // palette at the stored index, else at the position, else at 0.
    QColor projectColor(const QString &project) const;
    QStringList subprojectsFor(const QString &project) const
    {
        return m_subprojects.value(project);
    }
    std::optional<qint64> storedColorIndex(const QString &project) const;
    // The custom colour that the colour rule shows, if any.
    std::optional<QColor> customColorInForce(const QString &project) const;

    // The stored forms of the maps, also what the views read.
    QVariantMap subprojectsValue() const;
    QVariantMap colorIndicesValue() const;
    QVariantMap customColorsValue() const;

    Change addProject(const QString &name);
    // Also carries the project's subprojects and custom colour to the new name. Writes nothing.
    Change renameProject(const QString &oldName, const QString &newName, qint64 colorIndex);
    Change setCustomColor(const QString &project, const QColor &color);
    Change removeCustomColor(const QString &project);
    // Writes nothing; the subprojects and custom colour of the name stay for a later namesake.
    Change deleteProject(const QString &name, bool sessionStarted);
    Change moveProject(const QString &name, int step);
    Change addSubproject(const QString &subproject, const QString &project);
    // Always writes "timer-subprojects", also when nothing was removed.
    Change removeSubproject(const QString &subproject, const QString &project);
    // Writes nothing.
    Change renameSubproject(const QString &oldName, const QString &newName, const QString &project);
    Change moveSubproject(const QString &subproject, const QString &project, int step);

    // Writes the four keys in order: projects, colour indices, custom colours, subprojects.
    void persist();

    // Record rewrites; every other field and the ids are kept.
    static FocusRecordList withProjectRenamed(
        const FocusRecordList &records, const QString &oldName, const QString &newName);
    static FocusRecordList withProjectDeleted(const FocusRecordList &records, const QString &name);
    static FocusRecordList withSubprojectRenamed(const FocusRecordList &records,
        const QString &project, const QString &oldName, const QString &newName);

private:
    void writeSubprojects();

    DefaultsStore &m_defaults;
    QStringList m_projects = defaultProjects();
    SubprojectMap m_subprojects;
    ColorIndexMap m_colorIndices;
    CustomColorMap m_customColors;
    QString m_selectedProject = QStringLiteral("学习");
    std::optional<QString> m_selectedSubproject;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ProjectCatalog::Fields)
