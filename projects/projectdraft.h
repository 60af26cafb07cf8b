// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

class ProjectEditorActions;

// The state of the project editor sheet and of the sidebar's collapsed projects and pending
// delete. The editor's mode is held explicitly, never read back from editingProject, so a project
// whose name looks like the new-subproject marker is edited like any other.
//
// Optional texts (editingProject, confirmingDelete, editingSubprojectParent,
// editingSubprojectOriginal) read as undefined in the views when absent.
class ProjectDraft final : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application creates the draft with the model.")

    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged FINAL)
    Q_PROPERTY(bool showing READ showing WRITE setShowing NOTIFY showingChanged FINAL)
    Q_PROPERTY(Mode mode READ mode NOTIFY modeChanged FINAL)
    Q_PROPERTY(QVariant editingProject READ editingProjectValue NOTIFY editingProjectChanged FINAL)
    Q_PROPERTY(int colorIndex READ colorIndex WRITE setColorIndex NOTIFY colorIndexChanged FINAL)
    Q_PROPERTY(
        QColor customColor READ customColor WRITE setCustomColor NOTIFY customColorChanged FINAL)
    Q_PROPERTY(QVariant confirmingDelete READ confirmingDeleteValue WRITE setConfirmingDeleteValue
            NOTIFY confirmingDeleteChanged FINAL)
    Q_PROPERTY(QVariant editingSubprojectParent READ editingSubprojectParentValue NOTIFY
            editingSubprojectParentChanged FINAL)
    Q_PROPERTY(QVariant editingSubprojectOriginal READ editingSubprojectOriginalValue NOTIFY
            editingSubprojectOriginalChanged FINAL)
    Q_PROPERTY(
        QStringList collapsedProjects READ collapsedProjects NOTIFY collapsedProjectsChanged FINAL)

    Q_PROPERTY(bool editing READ editing NOTIFY modeChanged FINAL)
    Q_PROPERTY(QString title READ title NOTIFY modeChanged FINAL)
    Q_PROPERTY(QString confirmLabel READ confirmLabel NOTIFY modeChanged FINAL)
    Q_PROPERTY(bool canConfirm READ canConfirm NOTIFY nameChanged FINAL)
    Q_PROPERTY(bool showsPalette READ showsPalette NOTIFY modeChanged FINAL)
    Q_PROPERTY(QVariantList palette READ palette NOTIFY modeChanged FINAL)
    Q_PROPERTY(QColor previewColor READ previewColor NOTIFY previewColorChanged FINAL)

public:
    enum Mode { NewProject, EditProject, NewSubproject, EditSubproject };
    Q_ENUM(Mode)

    static QString subprojectMarker() { return QStringLiteral("子项目|"); }
    static QColor indigo() { return QColor::fromRgbF(0.345f, 0.337f, 0.839f); }

    explicit ProjectDraft(ProjectEditorActions &actions, QObject *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &value);
    bool showing() const { return m_showing; }
    // Also how the sheet reports being dismissed by the system: the mode stays until the next
    // prepare… call.
    void setShowing(bool value);
    Mode mode() const { return m_mode; }
    std::optional<QString> editingProject() const { return m_editingProject; }
    int colorIndex() const { return m_colorIndex; }
    void setColorIndex(int value);
    QColor customColor() const { return m_customColor; }
    void setCustomColor(const QColor &value);
    std::optional<QString> confirmingDelete() const { return m_confirmingDelete; }
    void setConfirmingDelete(const std::optional<QString> &value);
    std::optional<QString> editingSubprojectParent() const { return m_editingSubprojectParent; }
    std::optional<QString> editingSubprojectOriginal() const { return m_editingSubprojectOriginal; }
    QStringList collapsedProjects() const { return m_collapsedProjects; }
    Q_INVOKABLE bool isCollapsed(const QString &project) const
    {
        return m_collapsedProjects.contains(project);
    }

    QVariant editingProjectValue() const;
    QVariant confirmingDeleteValue() const;
    // undefined or null clear the pending delete.
    void setConfirmingDeleteValue(const QVariant &value);
    QVariant editingSubprojectParentValue() const;
    QVariant editingSubprojectOriginalValue() const;

    bool editing() const { return m_mode == EditProject || m_mode == EditSubproject; }
    QString title() const;
    QString confirmLabel() const;
    bool canConfirm() const { return !m_name.trimmed().isEmpty(); }
    bool showsPalette() const { return m_mode == NewProject || m_mode == EditProject; }
    QVariantList palette() const;
    // The chosen swatch, or the free colour when no swatch is chosen.
    QColor previewColor() const;

    Q_INVOKABLE void prepareNewProject();
    Q_INVOKABLE void prepareNewSubproject(const QString &project);
    Q_INVOKABLE void prepareEditProject(const QString &project);
    Q_INVOKABLE void prepareEditSubproject(const QString &project, const QString &subproject);
    Q_INVOKABLE void closeProjectEditor();
    Q_INVOKABLE void toggleCollapsed(const QString &project);
    // A swatch press; an index outside the palette is ignored.
    Q_INVOKABLE void pickPaletteColor(int index);
    // A change made with the colour picker: the free colour is chosen.
    Q_INVOKABLE void pickCustomColor(const QColor &color);
    // Runs the catalogue operation of the mode, then closes the sheet whatever the outcome.
    Q_INVOKABLE void save();

Q_SIGNALS:
    void nameChanged();
    void showingChanged();
    void modeChanged();
    void editingProjectChanged();
    void colorIndexChanged();
    void customColorChanged();
    void confirmingDeleteChanged();
    void editingSubprojectParentChanged();
    void editingSubprojectOriginalChanged();
    void collapsedProjectsChanged();
    void previewColorChanged();

private:
    void setMode(Mode mode, const std::optional<QString> &editingProject,
        const std::optional<QString> &subprojectParent,
        const std::optional<QString> &subprojectOriginal);
    void setColor(int index, const QColor &custom);
    void applyColorChoice(const QString &project);

    ProjectEditorActions &m_actions;
    QString m_name;
    bool m_showing = false;
    Mode m_mode = NewProject;
    std::optional<QString> m_editingProject;
    int m_colorIndex = 0;
    QColor m_customColor = indigo();
    std::optional<QString> m_confirmingDelete;
    std::optional<QString> m_editingSubprojectParent;
    std::optional<QString> m_editingSubprojectOriginal;
    QStringList m_collapsedProjects;
    // The parent of a new subproject; kept apart from the marked text shown in editingProject.
    QString m_newSubprojectParent;
};
