// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/memorydefaultsstore.h"
#include "projects/projectcatalog.h"
#include "projects/projectpalette.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString projectsKey = u"timer-projects"_s;
const QString colorsKey = u"timer-project-colors"_s;
const QString customKey = u"timer-custom-project-colors"_s;
const QString subprojectsKey = u"timer-subprojects"_s;
const QStringList allFourKeys = {projectsKey, colorsKey, customKey, subprojectsKey};

QVariantList strings(const QStringList &list)
{
    return QVariant(list).toList();
}

QVariantList doubles(const QList<double> &list)
{
    QVariantList result;
    for (double d : list)
        result.append(d);
    return result;
}

// A store seeded as an earlier run left it, with a catalogue loaded from it.
struct Loaded {
    explicit Loaded(const QVariantMap &seeds = {})
    {
        for (auto it = seeds.cbegin(); it != seeds.cend(); ++it)
            store.seed(it.key(), it.value());
        catalog.load();
    }
    // Everything the catalogue holds, for comparing two catalogues at once.
    QVariantList state() const
    {
        return {catalog.projects(), catalog.subprojectsValue(), catalog.colorIndicesValue(),
            catalog.customColorsValue(), catalog.selectedProject(),
            catalog.selectedSubproject().value_or(u"(none)"_s)};
    }
    MemoryDefaultsStore store;
    ProjectCatalog catalog {store};
};

// The default projects with subprojects under 学习 and 工作 and a custom colour on 个人.
QVariantMap standardSeeds()
{
    return {{subprojectsKey,
                QVariantMap {{u"学习"_s, strings({u"读书"_s, u"写作"_s, u"复习"_s})},
                    {u"工作"_s, strings({u"读书"_s})}}},
        {customKey, QVariantMap {{u"个人"_s, doubles({0.5, 0.25, 0.75, 1.0})}}}};
}

} // namespace

using CatalogOperation = std::function<ProjectCatalog::Change(ProjectCatalog &)>;
using SelectingOperation = std::function<ProjectCatalog::Fields(ProjectCatalog &)>;
Q_DECLARE_METATYPE(CatalogOperation)
Q_DECLARE_METATYPE(SelectingOperation)

class ProjectCatalogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldLoadTheCatalogueByItsRules_data()
    {
        QTest::addColumn<QVariantMap>("seeds");
        QTest::addColumn<QStringList>("projects");
        // How many entries the subproject, colour index and custom colour maps keep.
        QTest::addColumn<QList<int>>("entries");
        const auto row = [](const char *name, const QVariantMap &seeds,
                             const QStringList &projects = ProjectCatalog::defaultProjects(),
                             const QList<int> &entries = {0, 0, 0}) {
            QTest::newRow(name) << seeds << projects << entries;
        };
        row("nothing stored", {});
        row("empty array gives an empty catalogue", {{projectsKey, QVariantList()}}, {});
        row("a non-string element gives the defaults",
            {{projectsKey, QVariantList {u"甲"_s, qint64(3)}}});

        const QVariantMap goodSubprojects {
            {u"学习"_s, strings({u"读书"_s})}, {u"工作"_s, QVariantList()}};
        row("all four well formed",
            {{subprojectsKey, goodSubprojects},
                {colorsKey, QVariantMap {{u"学习"_s, qint64(4)}, {u"旧"_s, qint64(-3)}}},
                {customKey, QVariantMap {{u"学习"_s, QVariantList {qint64(1), 0.5}}}}},
            ProjectCatalog::defaultProjects(), {2, 2, 1});
        row("a double colour index discards the map",
            {{colorsKey, QVariantMap {{u"学习"_s, qint64(4)}, {u"工作"_s, 2.0}}}});
    }
    void shouldLoadTheCatalogueByItsRules()
    {
        QFETCH(QVariantMap, seeds);
        QFETCH(QStringList, projects);
        QFETCH(QList<int>, entries);
        Loaded loaded(seeds);
        QCOMPARE(loaded.catalog.projects(), projects);
        QCOMPARE(QList<int>({int(loaded.catalog.subprojects().size()),
                     int(loaded.catalog.colorIndices().size()),
                     int(loaded.catalog.customColors().size())}),
            entries);
        QCOMPARE(loaded.catalog.selectedProject(), u"学习"_s);
        QCOMPARE(loaded.catalog.selectedSubproject(), std::nullopt);
        QCOMPARE(loaded.store.writtenKeys, QStringList());
    }

    void shouldReadBackWhatItPersisted()
    {
        Loaded loaded(standardSeeds());
        // A new project is trimmed and stored with its position as its index.
        QCOMPARE(loaded.catalog.addProject(u" \t阅读\n"_s).name, u"阅读"_s);
        QCOMPARE(loaded.catalog.storedColorIndex(u"阅读"_s), 3);
        loaded.catalog.renameProject(u"工作"_s, u"办公"_s, 11);
        // A custom colour is stored under the name as given, even untrimmed and outside the
        // catalogue; one that is not RGB is stored as the system blue.
        const QColor translucent(200, 100, 50, 77);
        QVERIFY(loaded.catalog.setCustomColor(u" 外部 "_s, translucent).accepted);
        QVERIFY(loaded.catalog.setCustomColor(u"个人"_s, QColor()).accepted);
        // The selection is not stored: a relaunch starts on 学习.
        loaded.catalog.setSelectedProject(u"学习"_s);

        Loaded relaunched;
        for (const QString &key : allFourKeys)
            relaunched.store.seed(key, loaded.store.value(key));
        relaunched.catalog.load();
        QCOMPARE(relaunched.state(), loaded.state());
        QCOMPARE(relaunched.catalog.projectColor(u" 外部 "_s), translucent);
        QCOMPARE(relaunched.catalog.projectColor(u"个人"_s), ProjectCatalog::systemBlue());
    }

    // Each operation is accepted or refused, and writes exactly these keys; a refused one
    // changes nothing at all.
    void shouldWriteExactlyTheKeysOfEachOperation_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<CatalogOperation>("operation");
        const auto row = [](const char *name, bool accepted, const QStringList &keys,
                             CatalogOperation op) {
            QTest::newRow(name) << accepted << keys << op;
        };
        const auto refused = [&row](const char *name, CatalogOperation op) {
            row(name, false, {}, std::move(op));
        };
        const QStringList none;
        const QStringList subprojects {subprojectsKey};
        row("addProject", true, allFourKeys, [](auto &c) { return c.addProject(u"阅读"_s); });
        row("renameProject leaves writing to persist", true, none,
            [](auto &c) { return c.renameProject(u"工作"_s, u"办公"_s, 2); });
        row("deleteProject leaves writing to persist", true, none,
            [](auto &c) { return c.deleteProject(u"工作"_s, false); });
        row("setCustomColor", true, allFourKeys,
            [](auto &c) { return c.setCustomColor(u"工作"_s, Qt::red); });
        row("moveProject", true, allFourKeys, [](auto &c) { return c.moveProject(u"学习"_s, 1); });
        row("addSubproject", true, subprojects,
            [](auto &c) { return c.addSubproject(u"笔记"_s, u"学习"_s); });
        row("removeSubproject", true, subprojects,
            [](auto &c) { return c.removeSubproject(u"读书"_s, u"学习"_s); });
        row("moveSubproject", true, allFourKeys,
            [](auto &c) { return c.moveSubproject(u"写作"_s, u"学习"_s, -1); });

        refused("add existing with blanks", [](auto &c) { return c.addProject(u" 工作\u3000"_s); });
        refused("removeCustomColor without one",
            [](auto &c) { return c.removeCustomColor(u"工作"_s); });
        refused(
            "rename to existing", [](auto &c) { return c.renameProject(u"工作"_s, u"个人"_s, 3); });
        refused(
            "delete during a session", [](auto &c) { return c.deleteProject(u"学习"_s, true); });
        refused(
            "add subproject blank", [](auto &c) { return c.addSubproject(u"\t"_s, u"学习"_s); });
    }
    void shouldWriteExactlyTheKeysOfEachOperation()
    {
        QFETCH(bool, accepted);
        QFETCH(QStringList, keys);
        QFETCH(CatalogOperation, operation);
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedSubproject(u"读书"_s);
        Loaded untouched(standardSeeds());
        untouched.catalog.setSelectedSubproject(u"读书"_s);

        QCOMPARE(operation(loaded.catalog).accepted, accepted);
        QCOMPARE(loaded.store.writtenKeys, keys);
        if (!accepted)
            QCOMPARE(loaded.state(), untouched.state());
    }

    // The selection follows each operation, and never keeps a subproject the selected project
    // lacks; the views hear of every change of it.
    void shouldMoveTheSelectionAsEachOperationCallsFor_data()
    {
        QTest::addColumn<QString>("subproject");
        QTest::addColumn<QString>("expectedProject");
        QTest::addColumn<QString>("expectedSubproject");
        QTest::addColumn<SelectingOperation>("operation");
        const auto row = [](const char *name, const QString &subproject, const QString &project,
                             const QString &expected, SelectingOperation op) {
            QTest::newRow(name) << subproject << project << expected << op;
        };
        // 学习 (selected) holds 读书, 写作 and 复习; 工作 holds 读书 only.
        row("deleting it, the first project lacks the subproject", u"写作"_s, u"工作"_s, {},
            [](auto &c) { return c.deleteProject(u"学习"_s, false).fields; });
        row("selecting a project that lacks it", u"复习"_s, u"工作"_s, {},
            [](auto &c) { return c.setSelectedProject(u"工作"_s); });
        row("selecting a project that holds it", u"读书"_s, u"工作"_s, u"读书"_s,
            [](auto &c) { return c.setSelectedProject(u"工作"_s); });
        row("adding a subproject selects it, trimmed", u"写作"_s, u"个人"_s, u"笔记"_s,
            [](auto &c) { return c.addSubproject(u" 笔记\n"_s, u"个人"_s).fields; });
        row("removing the selected subproject", u"读书"_s, u"学习"_s, {},
            [](auto &c) { return c.removeSubproject(u"读书"_s, u"学习"_s).fields; });
        row("renaming the selected subproject", u"写作"_s, u"学习"_s, u"论文"_s,
            [](auto &c) { return c.renameSubproject(u"写作"_s, u" 论文 "_s, u"学习"_s).fields; });
    }
    void shouldMoveTheSelectionAsEachOperationCallsFor()
    {
        QFETCH(QString, subproject);
        QFETCH(QString, expectedProject);
        QFETCH(QString, expectedSubproject);
        QFETCH(SelectingOperation, operation);
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedSubproject(subproject);

        const ProjectCatalog::Fields fields = operation(loaded.catalog);
        QCOMPARE(loaded.catalog.selectedProject(), expectedProject);
        QCOMPARE(loaded.catalog.selectedSubproject().value_or(QString()), expectedSubproject);
        QCOMPARE(fields.testFlag(ProjectCatalog::SelectedProject), expectedProject != u"学习");
        QCOMPARE(
            fields.testFlag(ProjectCatalog::SelectedSubproject), expectedSubproject != subproject);
    }

    void shouldNeverDeleteTheLastProject_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("one left") << QStringList {u"个人"_s};
        QTest::newRow("a stored list that repeats one name") << QStringList {u"甲"_s, u"甲"_s};
    }
    void shouldNeverDeleteTheLastProject()
    {
        QFETCH(QStringList, stored);
        Loaded loaded({{projectsKey, strings(stored)}});
        QVERIFY(!loaded.catalog.deleteProject(stored.first(), false).accepted);
        QCOMPARE(loaded.catalog.projects(), stored);
    }

    void shouldEditTheListsInPlace()
    {
        Loaded loaded(standardSeeds());
        QVERIFY(loaded.catalog.moveProject(u"个人"_s, -1).accepted);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"学习"_s, u"个人"_s, u"工作"_s}));
        // Without a stored index the colour follows the position.
        QCOMPARE(loaded.catalog.projectColor(u"工作"_s), ProjectPalette::color(2));

        QVERIFY(loaded.catalog.addSubproject(u"笔记"_s, u"个人"_s).accepted);
        // The same name may live under another project.
        QVERIFY(loaded.catalog.addSubproject(u"笔记"_s, u"学习"_s).accepted);
        loaded.catalog.removeSubproject(u"读书"_s, u"工作"_s);
        QVERIFY(loaded.catalog.renameSubproject(u"写作"_s, u"论文"_s, u"学习"_s).accepted);
        // Renaming to its own name is allowed.
        QVERIFY(loaded.catalog.renameSubproject(u"论文"_s, u"论文"_s, u"学习"_s).accepted);
        QVERIFY(loaded.catalog.moveSubproject(u"读书"_s, u"学习"_s, 2).accepted);
        QCOMPARE(loaded.store.value(subprojectsKey),
            QVariant(
                QVariantMap {{u"学习"_s, strings({u"复习"_s, u"论文"_s, u"读书"_s, u"笔记"_s})},
                    {u"工作"_s, QVariantList()}, {u"个人"_s, strings({u"笔记"_s})}}));
    }
};

QTEST_GUILESS_MAIN(ProjectCatalogTest)
#include "tst_projectcatalog.moc"
