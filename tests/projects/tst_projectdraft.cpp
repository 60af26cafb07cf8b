// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "projects/projectdraft.h"
#include "projects/projecteditoractions.h"
#include "projects/projectpalette.h"

#include <QHash>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

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
        return indices.contains(project) ? std::optional<qint64>(indices.value(project))
                                         : std::nullopt;
    }
    std::optional<QColor> customColorInForce(const QString &project) const override
    {
        return customColors.contains(project) ? std::optional<QColor>(customColors.value(project))
                                              : std::nullopt;
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
        return true;
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
    QStringList calls;
};

RecordingEditorActions standardActions()
{
    RecordingEditorActions actions;
    actions.projectList = {u"学习"_s, u"工作"_s, u"个人"_s, u"子项目|x"_s};
    actions.indices = {{u"工作"_s, 6}};
    actions.colors = {{u"学习"_s, ProjectPalette::color(0)}, {u"工作"_s, ProjectPalette::color(6)},
        {u"个人"_s, QColor(10, 20, 30)}, {u"子项目|x"_s, ProjectPalette::color(3)}};
    actions.customColors = {{u"个人"_s, QColor(10, 20, 30)}};
    return actions;
}

// What the sheet shows: mode, the project or subproject edited, name, colour, and its words.
QVariantList sheetOf(const ProjectDraft &d)
{
    return {int(d.mode()), d.editingProjectValue(), d.editingSubprojectParentValue(),
        d.editingSubprojectOriginalValue(), d.name(), d.colorIndex(), d.customColor(),
        d.showsPalette(), d.palette().size(), d.title(), d.confirmLabel()};
}

} // namespace

using DraftStep = std::function<void(ProjectDraft &)>;
Q_DECLARE_METATYPE(DraftStep)

class ProjectDraftTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldOpenEachModeWithItsFields_data()
    {
        QTest::addColumn<QVariantList>("sheet");
        QTest::addColumn<DraftStep>("open");
        const auto row = [](const char *name, const QVariantList &sheet, DraftStep open) {
            QTest::newRow(name) << sheet << open;
        };
        const auto editProject = [](const QString &project, int index, const QColor &custom) {
            return QVariantList {int(ProjectDraft::EditProject), project, {}, {}, project, index,
                custom, true, 16, u"编辑项目"_s, u"保存"_s};
        };
        const auto edit = [](const QString &project) {
            return [project](ProjectDraft &d) {
                d.prepareEditProject(project);
            };
        };
        // Each row opens after the picker chose a free colour, so kept values can be told apart.
        const QColor picked(1, 2, 3);
        row("new project",
            {int(ProjectDraft::NewProject), {}, {}, {}, QString(), 0, ProjectDraft::indigo(), true,
                16, u"新建项目"_s, u"创建"_s},
            [](ProjectDraft &d) { d.prepareNewProject(); });
        row("edit project by its position, named like the subproject marker",
            editProject(u"子项目|x"_s, 3, ProjectPalette::color(3)), edit(u"子项目|x"_s));
        row("edit project outside the catalogue", editProject(u"外"_s, 0, Qt::black),
            edit(u"外"_s));
        row("edit project with a custom colour opens the free colour",
            editProject(u"个人"_s, -1, QColor(10, 20, 30)), edit(u"个人"_s));
        row("edit subproject keeps the colour",
            {int(ProjectDraft::EditSubproject), {}, u"学习"_s, u"读书"_s, u"读书"_s, -1, picked,
                false, 0, u"编辑项目"_s, u"保存"_s},
            [](ProjectDraft &d) { d.prepareEditSubproject(u"学习"_s, u"读书"_s); });
    }
    void shouldOpenEachModeWithItsFields()
    {
        QFETCH(QVariantList, sheet);
        QFETCH(DraftStep, open);
        RecordingEditorActions actions = standardActions();
        ProjectDraft draft(actions);
        // A previous use of the editor leaves its traces behind.
        draft.prepareEditSubproject(u"工作"_s, u"周报"_s);
        draft.setName(u"残留"_s);
        draft.pickCustomColor(QColor(1, 2, 3));
        draft.closeProjectEditor();

        open(draft);
        QVERIFY(draft.showing());
        QCOMPARE(sheetOf(draft), sheet);
        QCOMPARE(actions.calls, QStringList());
    }

    void shouldSaveWhatTheModeCallsFor_data()
    {
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("acceptAdd");
        QTest::addColumn<DraftStep>("prepare");
        const auto row = [](const char *name, const QStringList &calls, DraftStep prepare,
                             bool acceptAdd = true) {
            QTest::newRow(name) << calls << acceptAdd << prepare;
        };
        // Opens the project (or a new one when empty), names it and picks the swatch, or the
        // free colour #112233 for -1.
        const auto project = [](const QString &project, const QString &name, int index) {
            return DraftStep([=](ProjectDraft &d) {
                if (project.isEmpty())
                    d.prepareNewProject();
                else
                    d.prepareEditProject(project);
                d.setName(name);
                if (index == -1)
                    d.pickCustomColor(QColor(0x11, 0x22, 0x33));
                else
                    d.pickPaletteColor(index);
            });
        };
        row("new project with a swatch",
            {u"addProject(阅读)"_s, u"renameProject(阅读,阅读,4)"_s, u"removeCustomColor(阅读)"_s},
            project({}, u" 阅读 "_s, 4));
        row("new project with a free colour",
            {u"addProject(阅读)"_s, u"renameProject(阅读,阅读,-1)"_s,
                u"setCustomColor(阅读,#ff112233)"_s},
            project({}, u"阅读"_s, -1));
        row("new project refused leaves the namesake's colour alone", {u"addProject(工作)"_s},
            project({}, u"工作"_s, -1), false);
        row("edit project with a swatch",
            {u"renameProject(工作,办公,2)"_s, u"removeCustomColor(办公)"_s},
            project(u"工作"_s, u"办公\n"_s, 2));
        row("edit project unchanged keeps its free colour",
            {u"renameProject(个人,个人,-1)"_s, u"setCustomColor(个人,#ff0a141e)"_s},
            [](ProjectDraft &d) { d.prepareEditProject(u"个人"_s); });
        row("new subproject", {u"addSubproject(章节,子项目|x)"_s}, [](ProjectDraft &d) {
            d.prepareNewSubproject(u"子项目|x"_s);
            d.setName(u" 章节 "_s);
        });
        row("edit subproject after a system dismissal", {u"renameSubproject(读书,阅读,学习)"_s},
            [](ProjectDraft &d) {
                d.prepareEditSubproject(u"学习"_s, u"读书"_s);
                d.setShowing(false);
                d.setName(u"阅读"_s);
            });
    }
    void shouldSaveWhatTheModeCallsFor()
    {
        QFETCH(QStringList, calls);
        QFETCH(bool, acceptAdd);
        QFETCH(DraftStep, prepare);
        RecordingEditorActions actions = standardActions();
        actions.acceptAdd = acceptAdd;
        ProjectDraft draft(actions);
        // The list's own state, which the sheet leaves alone: collapsed projects, a pending delete.
        for (const QString &project : {u"学习"_s, u"工作"_s, u"学习"_s})
            draft.toggleCollapsed(project);
        draft.setConfirmingDeleteValue(u"个人"_s);
        prepare(draft);
        const QVariantList before = sheetOf(draft);

        draft.save();
        QCOMPARE(actions.calls, calls);
        // The sheet closes whatever the catalogue answered, back to a new project; name and
        // colours stay, and so do the pending delete and the collapsed projects.
        QVERIFY(!draft.showing());
        QVariantList expected = sheetOf(ProjectDraft(actions));
        for (const int kept : {4, 5, 6})
            expected[kept] = before[kept];
        QCOMPARE(sheetOf(draft), expected);
        QCOMPARE(draft.confirmingDelete(), u"个人"_s);
        QCOMPARE(draft.collapsedProjects(), QStringList {u"工作"_s});
        draft.setConfirmingDeleteValue(QVariant::fromValue(nullptr));
        QCOMPARE(draft.confirmingDelete(), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(ProjectDraftTest)
#include "tst_projectdraft.moc"
