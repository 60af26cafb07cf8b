// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/memorydefaultsstore.h"
#include "projects/projectcatalog.h"
#include "projects/projectdraft.h"
#include "projects/projectpalette.h"
#include "recordingeditoractions.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The editor wired straight to a catalogue, as the model does minus records and notification.
class CatalogActions final : public ProjectEditorActions {
public:
    explicit CatalogActions(ProjectCatalog &catalog) : m_catalog(catalog) { }
    QStringList projects() const override { return m_catalog.projects(); }
    QColor projectColor(const QString &project) const override
    {
        return m_catalog.projectColor(project);
    }
    std::optional<qint64> storedColorIndex(const QString &project) const override
    {
        return m_catalog.storedColorIndex(project);
    }
    std::optional<QColor> customColorInForce(const QString &project) const override
    {
        return m_catalog.customColorInForce(project);
    }
    bool addProject(const QString &name) override { return m_catalog.addProject(name).accepted; }
    bool renameProject(const QString &oldName, const QString &newName, int colorIndex) override
    {
        const bool accepted = m_catalog.renameProject(oldName, newName, colorIndex).accepted;
        if (accepted)
            m_catalog.persist();
        return accepted;
    }
    void setCustomColor(const QString &project, const QColor &color) override
    {
        m_catalog.setCustomColor(project, color);
    }
    void removeCustomColor(const QString &project) override
    {
        m_catalog.removeCustomColor(project);
    }
    void addSubproject(const QString &subproject, const QString &project) override
    {
        m_catalog.addSubproject(subproject, project);
    }
    void renameSubproject(
        const QString &oldName, const QString &newName, const QString &project) override
    {
        if (m_catalog.renameSubproject(oldName, newName, project).accepted)
            m_catalog.persist();
    }

private:
    ProjectCatalog &m_catalog;
};

RecordingEditorActions standardActions()
{
    RecordingEditorActions actions;
    actions.projectList = {u"学习"_s, u"工作"_s, u"个人"_s, u"子项目|x"_s};
    actions.indices = {{u"工作"_s, 6}, {u"旧"_s, -1}, {u"远"_s, 17}};
    actions.colors = {{u"学习"_s, ProjectPalette::color(0)}, {u"工作"_s, ProjectPalette::color(6)},
        {u"个人"_s, QColor(10, 20, 30)}, {u"子项目|x"_s, ProjectPalette::color(3)}};
    actions.customColors = {{u"个人"_s, QColor(10, 20, 30)}};
    return actions;
}

} // namespace

using DraftStep = std::function<void(ProjectDraft &)>;
Q_DECLARE_METATYPE(DraftStep)

class ProjectDraftTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldStartWithTheDefaults()
    {
        RecordingEditorActions actions;
        ProjectDraft draft(actions);
        QCOMPARE(draft.name(), QString());
        QVERIFY(!draft.showing());
        QCOMPARE(draft.editingProject(), std::nullopt);
        QCOMPARE(draft.editingProjectValue(), QVariant());
        QCOMPARE(draft.colorIndex(), 0);
        QCOMPARE(draft.customColor(), ProjectDraft::indigo());
        QCOMPARE(draft.confirmingDelete(), std::nullopt);
        QCOMPARE(draft.editingSubprojectParent(), std::nullopt);
        QCOMPARE(draft.editingSubprojectOriginal(), std::nullopt);
        QCOMPARE(draft.collapsedProjects(), QStringList());
        QCOMPARE(draft.title(), u"新建项目"_s);
        QCOMPARE(draft.confirmLabel(), u"创建"_s);
        QVERIFY(!draft.canConfirm());
        QVERIFY(draft.showsPalette());
        QCOMPARE(draft.previewColor(), ProjectPalette::color(0));
    }

    void shouldOpenEachModeWithItsFields_data()
    {
        QTest::addColumn<DraftStep>("open");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVariant>("editingProject");
        QTest::addColumn<QVariant>("parent");
        QTest::addColumn<QVariant>("original");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("colorIndex");
        QTest::addColumn<QColor>("customColor");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("confirmLabel");
        QTest::addColumn<bool>("showsPalette");

        // Each row opens after the picker chose a free colour, so kept values can be told apart.
        const QColor picked(1, 2, 3);
        const QVariant none;
        QTest::newRow("new project")
            << DraftStep([](ProjectDraft &d) { d.prepareNewProject(); })
            << int(ProjectDraft::NewProject) << none << none << none << QString() << 0
            << ProjectDraft::indigo() << u"新建项目"_s << u"创建"_s << true;
        QTest::newRow("edit project with a stored index")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"工作"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"工作"_s) << none << none << u"工作"_s
            << 6 << ProjectPalette::color(6) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("edit project by its position")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"学习"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"学习"_s) << none << none << u"学习"_s
            << 0 << ProjectPalette::color(0) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("edit project outside the catalogue")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"外"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"外"_s) << none << none << u"外"_s << 0
            << QColor(Qt::black) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("edit project with a custom colour opens the free colour")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"个人"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"个人"_s) << none << none << u"个人"_s
            << -1 << QColor(10, 20, 30) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("edit project with a stored -1 marks 石墨, not the free colour")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"旧"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"旧"_s) << none << none << u"旧"_s << 15
            << QColor(Qt::black) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("edit project with a stored 17 keeps 17")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"远"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"远"_s) << none << none << u"远"_s << 17
            << QColor(Qt::black) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("edit a project named like the subproject marker")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"子项目|x"_s); })
            << int(ProjectDraft::EditProject) << QVariant(u"子项目|x"_s) << none << none
            << u"子项目|x"_s << 3 << ProjectPalette::color(3) << u"编辑项目"_s << u"保存"_s << true;
        QTest::newRow("new subproject keeps the colour")
            << DraftStep([](ProjectDraft &d) { d.prepareNewSubproject(u"学习"_s); })
            << int(ProjectDraft::NewSubproject) << QVariant(u"子项目|学习"_s) << none << none
            << QString() << -1 << picked << u"新建项目"_s << u"创建"_s << false;
        QTest::newRow("edit subproject keeps the colour")
            << DraftStep([](ProjectDraft &d) { d.prepareEditSubproject(u"学习"_s, u"读书"_s); })
            << int(ProjectDraft::EditSubproject) << none << QVariant(u"学习"_s)
            << QVariant(u"读书"_s) << u"读书"_s << -1 << picked << u"编辑项目"_s << u"保存"_s
            << false;
    }
    void shouldOpenEachModeWithItsFields()
    {
        QFETCH(DraftStep, open);
        QFETCH(int, mode);
        QFETCH(QVariant, editingProject);
        QFETCH(QVariant, parent);
        QFETCH(QVariant, original);
        QFETCH(QString, name);
        QFETCH(int, colorIndex);
        QFETCH(QColor, customColor);
        QFETCH(QString, title);
        QFETCH(QString, confirmLabel);
        QFETCH(bool, showsPalette);

        RecordingEditorActions actions = standardActions();
        ProjectDraft draft(actions);
        // A previous use of the editor leaves its traces behind.
        draft.prepareEditSubproject(u"工作"_s, u"周报"_s);
        draft.setName(u"残留"_s);
        draft.pickCustomColor(QColor(1, 2, 3));
        draft.closeProjectEditor();

        open(draft);
        QVERIFY(draft.showing());
        QCOMPARE(int(draft.mode()), mode);
        QCOMPARE(draft.editingProjectValue(), editingProject);
        QCOMPARE(draft.editingSubprojectParentValue(), parent);
        QCOMPARE(draft.editingSubprojectOriginalValue(), original);
        QCOMPARE(draft.name(), name);
        QCOMPARE(draft.colorIndex(), colorIndex);
        QCOMPARE(draft.customColor(), customColor);
        QCOMPARE(draft.title(), title);
        QCOMPARE(draft.confirmLabel(), confirmLabel);
        QCOMPARE(draft.editing(),
            mode == ProjectDraft::EditProject || mode == ProjectDraft::EditSubproject);
        QCOMPARE(draft.showsPalette(), showsPalette);
        QCOMPARE(draft.palette().size(), showsPalette ? 16 : 0);
        QCOMPARE(actions.calls, QStringList());
    }

    void shouldShowTheFirstSwatchWhenANewProjectFollowsAnEdit()
    {
        RecordingEditorActions actions = standardActions();
        ProjectDraft draft(actions);
        draft.prepareEditProject(u"个人"_s);
        QCOMPARE(draft.previewColor(), QColor(10, 20, 30));
        QSignalSpy preview(&draft, &ProjectDraft::previewColorChanged);
        draft.prepareNewProject();
        QCOMPARE(draft.name(), QString());
        QCOMPARE(draft.colorIndex(), 0);
        QCOMPARE(draft.previewColor(), ProjectPalette::color(0));
        QCOMPARE(preview.count(), 1);
    }

    void shouldConfirmOnlyANameWithText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("canConfirm");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("spaces") << u"   "_s << false;
        QTest::newRow("line breaks and tabs") << u"\n\t\r\n"_s << false;
        QTest::newRow("ideographic space") << u"\u3000"_s << false;
        QTest::newRow("no-break space") << u"\u00a0"_s << false;
        QTest::newRow("text among blanks") << u" 阅读 "_s << true;
        QTest::newRow("a single character") << u"x"_s << true;
    }
    void shouldConfirmOnlyANameWithText()
    {
        QFETCH(QString, name);
        QFETCH(bool, canConfirm);
        RecordingEditorActions actions;
        ProjectDraft draft(actions);
        draft.prepareNewProject();
        QSignalSpy spy(&draft, &ProjectDraft::nameChanged);
        draft.setName(name);
        QCOMPARE(draft.canConfirm(), canConfirm);
        QCOMPARE(spy.count(), name.isEmpty() ? 0 : 1);
    }

    void shouldSaveWhatTheModeCallsFor_data()
    {
        QTest::addColumn<DraftStep>("prepare");
        QTest::addColumn<bool>("acceptAdd");
        QTest::addColumn<bool>("acceptRename");
        QTest::addColumn<QStringList>("calls");

        auto newProject = [](const QString &name, int index) {
            return DraftStep([=](ProjectDraft &d) {
                d.prepareNewProject();
                d.setName(name);
                if (index == -1)
                    d.pickCustomColor(QColor(0x11, 0x22, 0x33));
                else
                    d.pickPaletteColor(index);
            });
        };
        auto editProject = [](const QString &project, const QString &name, int index) {
            return DraftStep([=](ProjectDraft &d) {
                d.prepareEditProject(project);
                d.setName(name);
                if (index == -1)
                    d.pickCustomColor(QColor(0x11, 0x22, 0x33));
                else
                    d.pickPaletteColor(index);
            });
        };

        QTest::newRow("new project with a swatch")
            << newProject(u" 阅读 "_s, 4) << true << true
            << QStringList {u"addProject(阅读)"_s, u"renameProject(阅读,阅读,4)"_s,
                   u"removeCustomColor(阅读)"_s};
        QTest::newRow("new project with a free colour")
            << newProject(u"阅读"_s, -1) << true << true
            << QStringList {u"addProject(阅读)"_s, u"renameProject(阅读,阅读,-1)"_s,
                   u"setCustomColor(阅读,#ff112233)"_s};
        QTest::newRow("new project refused leaves the namesake's colour alone")
            << newProject(u"工作"_s, -1) << false << true << QStringList {u"addProject(工作)"_s};
        QTest::newRow("new project of blanks calls nothing")
            << newProject(u"  "_s, 2) << true << true << QStringList();
        QTest::newRow("edit project with a swatch")
            << editProject(u"工作"_s, u"办公\n"_s, 2) << true << true
            << QStringList {u"renameProject(工作,办公,2)"_s, u"removeCustomColor(办公)"_s};
        QTest::newRow("edit project with a free colour")
            << editProject(u"工作"_s, u"办公"_s, -1) << true << true
            << QStringList {u"renameProject(工作,办公,-1)"_s, u"setCustomColor(办公,#ff112233)"_s};
        QTest::newRow("edit project unchanged keeps its free colour")
            << DraftStep([](ProjectDraft &d) { d.prepareEditProject(u"个人"_s); }) << true << true
            << QStringList {u"renameProject(个人,个人,-1)"_s, u"setCustomColor(个人,#ff0a141e)"_s};
        QTest::newRow("edit project refused leaves the namesake's colour alone")
            << editProject(u"工作"_s, u"个人"_s, 2) << true << false
            << QStringList {u"renameProject(工作,个人,2)"_s};
        QTest::newRow("a project named like the marker is renamed, not given a subproject")
            << editProject(u"子项目|x"_s, u"子项目|y"_s, 5) << true << true
            << QStringList {
                   u"renameProject(子项目|x,子项目|y,5)"_s, u"removeCustomColor(子项目|y)"_s};
        QTest::newRow("new subproject") << DraftStep([](ProjectDraft &d) {
            d.prepareNewSubproject(u"子项目|x"_s);
            d.setName(u" 章节 "_s);
        }) << true << true << QStringList {u"addSubproject(章节,子项目|x)"_s};
        QTest::newRow("edit subproject") << DraftStep([](ProjectDraft &d) {
            d.prepareEditSubproject(u"学习"_s, u"读书"_s);
            d.setName(u"阅读"_s);
        }) << true << true << QStringList {u"renameSubproject(读书,阅读,学习)"_s};
        QTest::newRow("after a system dismissal the mode still holds") << DraftStep(
            [](ProjectDraft &d) {
                d.prepareEditSubproject(u"学习"_s, u"读书"_s);
                d.setShowing(false);
                d.setName(u"阅读"_s);
            }) << true << true << QStringList {u"renameSubproject(读书,阅读,学习)"_s};
    }
    void shouldSaveWhatTheModeCallsFor()
    {
        QFETCH(DraftStep, prepare);
        QFETCH(bool, acceptAdd);
        QFETCH(bool, acceptRename);
        QFETCH(QStringList, calls);

        RecordingEditorActions actions = standardActions();
        actions.acceptAdd = acceptAdd;
        actions.acceptRename = acceptRename;
        ProjectDraft draft(actions);
        draft.toggleCollapsed(u"学习"_s);
        draft.setConfirmingDelete(u"个人"_s);
        prepare(draft);
        const QString name = draft.name();
        const int colorIndex = draft.colorIndex();
        const QColor customColor = draft.customColor();

        draft.save();
        QCOMPARE(actions.calls, calls);
        // The sheet closes whatever the catalogue answered; the rest is kept.
        QVERIFY(!draft.showing());
        QCOMPARE(draft.mode(), ProjectDraft::NewProject);
        QCOMPARE(draft.editingProject(), std::nullopt);
        QCOMPARE(draft.editingSubprojectParent(), std::nullopt);
        QCOMPARE(draft.editingSubprojectOriginal(), std::nullopt);
        QCOMPARE(draft.name(), name);
        QCOMPARE(draft.colorIndex(), colorIndex);
        QCOMPARE(draft.customColor(), customColor);
        QCOMPARE(draft.confirmingDelete(), u"个人"_s);
        QCOMPARE(draft.collapsedProjects(), QStringList {u"学习"_s});
    }

    void shouldSwitchBetweenSwatchAndFreeColour()
    {
        RecordingEditorActions actions;
        ProjectDraft draft(actions);
        draft.prepareNewProject();
        QSignalSpy index(&draft, &ProjectDraft::colorIndexChanged);
        QSignalSpy preview(&draft, &ProjectDraft::previewColorChanged);

        draft.pickCustomColor(QColor(200, 10, 10));
        QCOMPARE(draft.colorIndex(), -1);
        QCOMPARE(draft.previewColor(), QColor(200, 10, 10));
        draft.pickPaletteColor(9);
        QCOMPARE(draft.colorIndex(), 9);
        QCOMPARE(draft.previewColor(), ProjectPalette::color(9));
        QCOMPARE(draft.customColor(), QColor(200, 10, 10));
        draft.pickPaletteColor(16);
        draft.pickPaletteColor(-1);
        QCOMPARE(draft.colorIndex(), 9);
        QCOMPARE(index.count(), 2);
        QCOMPARE(preview.count(), 2);

        // An index outside the palette previews the free colour.
        draft.setColorIndex(40);
        QCOMPARE(draft.previewColor(), QColor(200, 10, 10));
    }

    void shouldToggleCollapsedProjects()
    {
        RecordingEditorActions actions;
        ProjectDraft draft(actions);
        QSignalSpy spy(&draft, &ProjectDraft::collapsedProjectsChanged);
        draft.toggleCollapsed(u"学习"_s);
        draft.toggleCollapsed(u"工作"_s);
        QVERIFY(draft.isCollapsed(u"学习"_s));
        draft.toggleCollapsed(u"学习"_s);
        QCOMPARE(draft.collapsedProjects(), QStringList {u"工作"_s});
        QCOMPARE(spy.count(), 3);
        // Opening and closing the editor leaves the set alone.
        draft.prepareEditProject(u"工作"_s);
        draft.closeProjectEditor();
        QCOMPARE(draft.collapsedProjects(), QStringList {u"工作"_s});
    }

    void shouldClearAPendingDeleteFromTheView()
    {
        RecordingEditorActions actions;
        ProjectDraft draft(actions);
        QSignalSpy spy(&draft, &ProjectDraft::confirmingDeleteChanged);
        draft.setConfirmingDeleteValue(u"工作"_s);
        QCOMPARE(draft.confirmingDelete(), u"工作"_s);
        QCOMPARE(draft.confirmingDeleteValue(), QVariant(u"工作"_s));
        draft.setConfirmingDeleteValue(QVariant::fromValue(nullptr));
        QCOMPARE(draft.confirmingDelete(), std::nullopt);
        draft.setConfirmingDeleteValue(u"工作"_s);
        draft.setConfirmingDeleteValue(QVariant());
        QCOMPARE(draft.confirmingDelete(), std::nullopt);
        QCOMPARE(spy.count(), 4);
    }

    void shouldNotifyDerivedValuesWithTheMode()
    {
        RecordingEditorActions actions;
        ProjectDraft draft(actions);
        QSignalSpy mode(&draft, &ProjectDraft::modeChanged);
        draft.prepareEditSubproject(u"学习"_s, u"读书"_s);
        QCOMPARE(mode.count(), 1);
        QVERIFY(draft.editing());
        draft.prepareEditSubproject(u"工作"_s, u"周报"_s);
        QCOMPARE(mode.count(), 1);
        draft.closeProjectEditor();
        QCOMPARE(mode.count(), 2);
        QVERIFY(!draft.editing());
    }

    // The rest run the editor against a real catalogue.

    void shouldStoreColourAndSelectANewProjectUnderItsTrimmedName()
    {
        MemoryDefaultsStore store;
        ProjectCatalog catalog(store);
        catalog.load();
        CatalogActions actions(catalog);
        ProjectDraft draft(actions);
        draft.prepareNewProject();
        draft.setName(u"  阅读\n"_s);
        draft.pickPaletteColor(10);
        draft.save();
        QCOMPARE(catalog.projects().last(), u"阅读"_s);
        QCOMPARE(catalog.storedColorIndex(u"阅读"_s), 10);
        QCOMPARE(catalog.projectColor(u"阅读"_s), ProjectPalette::color(10));
        QCOMPARE(catalog.selectedProject(), u"阅读"_s);
    }

    void shouldKeepThePositionalIndexBehindAFreeColourOfANewProject()
    {
        MemoryDefaultsStore store;
        ProjectCatalog catalog(store);
        catalog.load();
        CatalogActions actions(catalog);
        ProjectDraft draft(actions);
        draft.prepareNewProject();
        draft.setName(u"阅读"_s);
        const QColor picked = QColor::fromRgbF(0.123f, 0.456f, 0.789f);
        draft.pickCustomColor(picked);
        draft.save();
        QCOMPARE(catalog.storedColorIndex(u"阅读"_s), 3);
        QCOMPARE(catalog.projectColor(u"阅读"_s), picked.toRgb());

        // Reopened, it shows that free colour; a swatch then replaces it for good.
        draft.prepareEditProject(u"阅读"_s);
        QCOMPARE(draft.colorIndex(), -1);
        QCOMPARE(draft.previewColor(), picked.toRgb());
        draft.pickPaletteColor(12);
        draft.save();
        QCOMPARE(catalog.projectColor(u"阅读"_s), ProjectPalette::color(12));
        QVERIFY(!catalog.customColors().contains(u"阅读"_s));
    }

    void shouldStoreTheSameIndexWhenSavingAnUnchangedProject()
    {
        MemoryDefaultsStore store;
        ProjectCatalog catalog(store);
        catalog.load();
        CatalogActions actions(catalog);
        ProjectDraft draft(actions);
        draft.prepareEditProject(u"工作"_s);
        draft.save();
        QCOMPARE(catalog.projects(), ProjectCatalog::defaultProjects());
        QCOMPARE(catalog.colorIndices(), (ProjectCatalog::ColorIndexMap {{u"工作"_s, 1}}));
        QCOMPARE(catalog.projectColor(u"工作"_s), ProjectPalette::color(1));
    }

    void shouldNotRecolourAnExistingProjectWhenANewOneDuplicatesIt()
    {
        MemoryDefaultsStore store;
        ProjectCatalog catalog(store);
        catalog.load();
        CatalogActions actions(catalog);
        ProjectDraft draft(actions);
        draft.prepareNewProject();
        draft.setName(u" 工作 "_s);
        draft.pickCustomColor(Qt::red);
        draft.save();
        QCOMPARE(catalog.projects(), ProjectCatalog::defaultProjects());
        QVERIFY(catalog.customColors().isEmpty());
        QVERIFY(catalog.colorIndices().isEmpty());
        QCOMPARE(store.writtenKeys, QStringList());
        QVERIFY(!draft.showing());
    }

    void shouldChangeNothingWhenASubprojectTakesASiblingsName()
    {
        MemoryDefaultsStore store;
        store.seed(ProjectCatalog::subprojectsKey(),
            QVariantMap {{u"学习"_s, QVariantList {u"读书"_s, u"写作"_s}}});
        ProjectCatalog catalog(store);
        catalog.load();
        CatalogActions actions(catalog);
        ProjectDraft draft(actions);
        draft.prepareEditSubproject(u"学习"_s, u"读书"_s);
        draft.setName(u"写作"_s);
        draft.save();
        QCOMPARE(catalog.subprojectsFor(u"学习"_s), QStringList({u"读书"_s, u"写作"_s}));
        QCOMPARE(store.writtenKeys, QStringList());
        QVERIFY(!draft.showing());
    }
};

QTEST_GUILESS_MAIN(ProjectDraftTest)
#include "tst_projectdraft.moc"
