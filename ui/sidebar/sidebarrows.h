// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractListModel>
#include <QColor>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class ProjectDraft;
class TimerModel;

// The sidebar's project list as flat rows: each project followed by its subprojects unless it is
// collapsed. Holds the list's rules (what is selected, what may move or be deleted, that a
// selection is refused while a session is started) so the QML only lays rows out.
// Not final: QML creates it through a derived wrapper.
class SidebarRows : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(TimerModel *model READ model WRITE setModel NOTIFY modelChanged FINAL)
    Q_PROPERTY(ProjectDraft *draft READ draft WRITE setDraft NOTIFY draftChanged FINAL)

public:
    enum Role {
        IsProjectRole = Qt::UserRole + 1,
        ProjectRole,
        SubprojectRole,
        NameRole,
        DotColorRole,
        DetailRole,
        SelectedRole,
        CollapsedRole,
        ExpandableRole,
        FirstRole,
        LastRole,
        DeletableRole,
    };
    Q_ENUM(Role)

    explicit SidebarRows(QObject *parent = nullptr);

    TimerModel *model() const { return m_model; }
    void setModel(TimerModel *model);
    ProjectDraft *draft() const { return m_draft; }
    void setDraft(ProjectDraft *draft);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Selects the row's project (and subproject); ignored while a session is started.
    Q_INVOKABLE void select(int row);
    // Collapses or expands a project that has subprojects.
    Q_INVOKABLE void toggle(int row);
    // Moves the row's project, or the subproject within its project, by step places.
    Q_INVOKABLE void move(int row, int step);
    // A project asks for the delete confirmation; a subproject goes at once.
    Q_INVOKABLE void remove(int row);
    Q_INVOKABLE void edit(int row);
    Q_INVOKABLE void addSubproject(int row);

Q_SIGNALS:
    void modelChanged();
    void draftChanged();

private:
    struct Row {
        bool isProject = true;
        QString project;
        QString subproject;
        QColor dotColor;
        QString detail;
        bool selected = false;
        bool collapsed = false;
        bool expandable = false;
        bool first = false;
        bool last = false;
        bool deletable = false;
        bool sameEntry(const Row &other) const
        {
            return isProject == other.isProject && project == other.project
                && subproject == other.subproject;
        }
        bool operator==(const Row &) const = default;
    };

    QList<Row> buildRows() const;
    void refresh();
    const Row *rowAt(int row) const;

    QPointer<TimerModel> m_model;
    QPointer<ProjectDraft> m_draft;
    QList<Row> m_rows;
};
