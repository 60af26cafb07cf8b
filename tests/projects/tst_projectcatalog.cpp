// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/memorydefaultsstore.h"
#include "projects/projectcatalog.h"
#include "projects/projectpalette.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString projectsKey = u"timer-projects"_s;
const QString colorsKey = u"timer-project-colors"_s;
const QString customKey = u"timer-custom-project-colors"_s;
const QString subprojectsKey = u"timer-subprojects"_s;
const QStringList allFourKeys = {projectsKey, colorsKey, customKey, subprojectsKey};

QVariantList strings(const QStringList &list)
{
    QVariantList result;
    for (const QString &s : list)
        result.append(s);
    return result;
}

QVariantList doubles(const QList<double> &list)
{
    QVariantList result;
    for (double d : list)
        result.append(d);
    return result;
}

FocusRecord record(const QString &project, std::optional<QString> subproject = std::nullopt)
{
    FocusRecord r;
    r.title = u"读第三章"_s;
    r.startedAt = 700000000.5;
    r.endedAt = 700001500.25;
    r.duration = 1499.75;
    r.project = project;
    r.subproject = std::move(subproject);
    r.wrapUp = u"下一步：习题"_s;
    r.early = true;
    return r;
}

// A store seeded as an earlier run left it, with a catalogue loaded from it.
struct Loaded {
    explicit Loaded(const QVariantMap &seeds = {})
    {
        for (auto it = seeds.cbegin(); it != seeds.cend(); ++it)
            store.seed(it.key(), it.value());
        catalog.load();
    }
    MemoryDefaultsStore store;
    ProjectCatalog catalog {store};
};

// The default projects with subprojects under 学习 and a custom colour on 个人.
QVariantMap standardSeeds()
{
    return {{subprojectsKey,
                QVariantMap {{u"学习"_s, strings({u"读书"_s, u"写作"_s, u"复习"_s})},
                    {u"工作"_s, strings({u"读书"_s})}}},
        {customKey, QVariantMap {{u"个人"_s, doubles({0.5, 0.25, 0.75, 1.0})}}}};
}

} // namespace

using CatalogOperation = std::function<void(ProjectCatalog &)>;
using CheckedOperation = std::function<ProjectCatalog::Change(ProjectCatalog &)>;
using SelectingOperation = std::function<ProjectCatalog::Fields(ProjectCatalog &)>;
Q_DECLARE_METATYPE(CatalogOperation)
Q_DECLARE_METATYPE(CheckedOperation)
Q_DECLARE_METATYPE(SelectingOperation)

class ProjectCatalogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldHoldTheSixteenNamedColoursInOrder()
    {
        const auto &palette = ProjectPalette::entries();
        QCOMPARE(palette.size(), 16);
        QStringList names;
        for (const auto &entry : palette)
            names.append(entry.name);
        QCOMPARE(names,
            QStringList({u"蓝色"_s, u"天蓝"_s, u"青色"_s, u"薄荷"_s, u"绿色"_s, u"橄榄"_s,
                u"黄色"_s, u"橙色"_s, u"珊瑚"_s, u"红色"_s, u"粉色"_s, u"玫瑰"_s, u"紫色"_s,
                u"薰衣草"_s, u"棕色"_s, u"石墨"_s}));
        QCOMPARE(palette.at(0).red, 0.16);
        QCOMPARE(palette.at(0).green, 0.46);
        QCOMPARE(palette.at(0).blue, 0.86);
        QCOMPARE(palette.at(13).green, 0.52);
        QCOMPARE(palette.at(15).blue, 0.51);
        const QColor graphite = ProjectPalette::color(15);
        QCOMPARE(graphite.toRgb(), graphite); // already plain sRGB
        QVERIFY(std::abs(graphite.redF() - 0.40) < 1e-4);
        QVERIFY(std::abs(graphite.greenF() - 0.45) < 1e-4);
        QCOMPARE(graphite.alphaF(), 1.0f);
        QCOMPARE(ProjectPalette::toVariantList().size(), 16);
    }

    void shouldWrapAnyPaletteIndexIntoTheSixteenColours_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<int>("wrapped");
        QTest::newRow("0") << qint64(0) << 0;
        QTest::newRow("15") << qint64(15) << 15;
        QTest::newRow("16") << qint64(16) << 0;
        QTest::newRow("17") << qint64(17) << 1;
        QTest::newRow("-1") << qint64(-1) << 15;
        QTest::newRow("-16") << qint64(-16) << 0;
        QTest::newRow("-17") << qint64(-17) << 15;
        QTest::newRow("64-bit min") << std::numeric_limits<qint64>::min() << 0;
        QTest::newRow("64-bit max") << std::numeric_limits<qint64>::max() << 15;
    }
    void shouldWrapAnyPaletteIndexIntoTheSixteenColours()
    {
        QFETCH(qint64, index);
        QFETCH(int, wrapped);
        QCOMPARE(ProjectPalette::wrapped(index), wrapped);
    }

    void shouldColourAProjectByTheRule_data()
    {
        QTest::addColumn<QVariantMap>("seeds");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QColor>("expected");

        const QVariantMap indices {{colorsKey,
            QVariantMap {
                {u"工作"_s, qint64(6)}, {u"个人"_s, qint64(17)}, {u"学习"_s, qint64(-1)}}}};
        QTest::newRow("stored index") << indices << u"工作"_s << ProjectPalette::color(6);
        QTest::newRow("stored 17 shows 天蓝") << indices << u"个人"_s << ProjectPalette::color(1);
        QTest::newRow("stored -1 shows 石墨") << indices << u"学习"_s << ProjectPalette::color(15);
        QTest::newRow("position without index")
            << QVariantMap() << u"工作"_s << ProjectPalette::color(1);
        QTest::newRow("not in the catalogue") << indices << u"未分类"_s << ProjectPalette::color(0);

        QStringList seventeen;
        for (int i = 0; i < 17; ++i)
            seventeen.append(u"项目"_s + QString::number(i));
        QTest::newRow("17th project cycles to 蓝色")
            << QVariantMap {{projectsKey, strings(seventeen)}} << u"项目16"_s
            << ProjectPalette::color(0);

        QTest::newRow("custom of 3 components is ignored")
            << QVariantMap {{customKey, QVariantMap {{u"个人"_s, doubles({1.0, 0.0, 0.0})}}}}
            << u"个人"_s << ProjectPalette::color(2);
        QTest::newRow("custom of 5 components is ignored")
            << QVariantMap {{customKey, QVariantMap {{u"个人"_s, doubles({1, 0, 0, 1, 1})}}},
                   {colorsKey, QVariantMap {{u"个人"_s, qint64(9)}}}}
            << u"个人"_s << ProjectPalette::color(9);
        QTest::newRow("custom of 4 components wins over the index")
            << QVariantMap {{customKey, QVariantMap {{u"个人"_s, doubles({1.0, 0.0, 0.0, 0.5})}}},
                   {colorsKey, QVariantMap {{u"个人"_s, qint64(9)}}}}
            << u"个人"_s << QColor::fromRgba64(0xffff, 0, 0, 0x8000);
        QTest::newRow("custom colour of a name outside the catalogue")
            << QVariantMap {{customKey, QVariantMap {{u"旧项目"_s, doubles({0, 0, 1, 1})}}}}
            << u"旧项目"_s << QColor::fromRgba64(0, 0, 0xffff, 0xffff);
        QTest::newRow("components outside 0…1 are clamped, NaN reads 0")
            << QVariantMap {{customKey,
                   QVariantMap {{u"个人"_s, doubles({2.0, -1.0, std::nan(""), 7.0})}}}}
            << u"个人"_s << QColor::fromRgba64(0xffff, 0, 0, 0xffff);
    }
    void shouldColourAProjectByTheRule()
    {
        QFETCH(QVariantMap, seeds);
        QFETCH(QString, project);
        QFETCH(QColor, expected);
        Loaded loaded(seeds);
        QCOMPARE(loaded.catalog.projectColor(project), expected);
    }

    void shouldShowAStoredCustomColourUnchanged_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::newRow("8-bit") << QColor(12, 34, 56);
        QTest::newRow("translucent") << QColor(200, 100, 50, 77);
        QTest::newRow("odd fractions") << QColor::fromRgbF(0.1234f, 0.98765f, 0.333333f);
        QTest::newRow("16-bit extremes") << QColor::fromRgba64(1, 65534, 32767, 65535);
        QTest::newRow("from HSV") << QColor::fromHsvF(0.61f, 0.4f, 0.9f);
        QTest::newRow("from CMYK") << QColor::fromCmykF(0.1f, 0.7f, 0.2f, 0.05f);
    }
    void shouldShowAStoredCustomColourUnchanged()
    {
        QFETCH(QColor, color);
        Loaded loaded;
        loaded.catalog.setCustomColor(u"工作"_s, color);
        QCOMPARE(loaded.catalog.projectColor(u"工作"_s), color.toRgb());

        // And after the next launch reads the stored components back.
        ProjectCatalog relaunched(loaded.store);
        relaunched.load();
        QCOMPARE(relaunched.projectColor(u"工作"_s), color.toRgb());
    }

    void shouldStoreSystemBlueForAColourThatIsNotRgb()
    {
        Loaded loaded;
        const auto change = loaded.catalog.setCustomColor(u"工作"_s, QColor());
        QVERIFY(change.accepted);
        QCOMPARE(loaded.catalog.projectColor(u"工作"_s), ProjectCatalog::systemBlue().toRgb());
        QCOMPARE(loaded.catalog.customColors().value(u"工作"_s).size(), 4);
    }

    void shouldStoreOnlyComponentsWithinZeroAndOne()
    {
        Loaded loaded;
        loaded.catalog.setCustomColor(u"工作"_s, QColor::fromRgbF(1.5f, -0.25f, 0.5f));
        const QList<double> stored = loaded.catalog.customColors().value(u"工作"_s);
        QCOMPARE(stored.size(), 4);
        for (double component : stored)
            QVERIFY2(component >= 0.0 && component <= 1.0, qPrintable(QString::number(component)));
    }

    void shouldStoreACustomColourUnderTheNameUntrimmedEvenOutsideTheCatalogue()
    {
        Loaded loaded;
        loaded.catalog.setCustomColor(u" 外部 "_s, QColor(1, 2, 3));
        QVERIFY(loaded.catalog.customColors().contains(u" 外部 "_s));
        QCOMPARE(loaded.catalog.projects(), ProjectCatalog::defaultProjects());
        QCOMPARE(loaded.store.writtenKeys, allFourKeys);
    }

    void shouldLoadTheCatalogueByItsRules_data()
    {
        QTest::addColumn<QVariantMap>("seeds");
        QTest::addColumn<QStringList>("projects");
        QTest::addColumn<int>("subprojectEntries");
        QTest::addColumn<int>("colorEntries");
        QTest::addColumn<int>("customEntries");

        const QStringList defaults = ProjectCatalog::defaultProjects();
        QTest::newRow("nothing stored") << QVariantMap() << defaults << 0 << 0 << 0;
        QTest::newRow("empty array gives an empty catalogue")
            << QVariantMap {{projectsKey, QVariantList()}} << QStringList() << 0 << 0 << 0;
        QTest::newRow("stored order and names kept as they are")
            << QVariantMap {{projectsKey, strings({u" 空白 "_s, u"乙"_s, u"乙"_s})}}
            << QStringList({u" 空白 "_s, u"乙"_s, u"乙"_s}) << 0 << 0 << 0;
        QTest::newRow("a string list type") << QVariantMap {{projectsKey, QStringList {u"甲"_s}}}
                                            << QStringList({u"甲"_s}) << 0 << 0 << 0;
        QTest::newRow("a non-string element gives the defaults")
            << QVariantMap {{projectsKey, QVariantList {u"甲"_s, qint64(3)}}} << defaults << 0 << 0
            << 0;
        QTest::newRow("a string instead of an array gives the defaults")
            << QVariantMap {{projectsKey, u"甲"_s}} << defaults << 0 << 0 << 0;

        const QVariantMap goodSubprojects {
            {u"学习"_s, strings({u"读书"_s})}, {u"工作"_s, QVariantList()}};
        QTest::newRow("all four well formed") << QVariantMap {{subprojectsKey, goodSubprojects},
            {colorsKey, QVariantMap {{u"学习"_s, qint64(4)}, {u"旧"_s, qint64(-3)}}},
            {customKey, QVariantMap {{u"学习"_s, QVariantList {qint64(1), 0.5}}}}}
                                              << defaults << 2 << 2 << 1;

        QVariantMap oneBadSubproject = goodSubprojects;
        oneBadSubproject.insert(u"个人"_s, u"读书"_s);
        QTest::newRow("one non-array subproject value discards the map")
            << QVariantMap {{subprojectsKey, oneBadSubproject}} << defaults << 0 << 0 << 0;
        QVariantMap oneBadElement = goodSubprojects;
        oneBadElement.insert(u"个人"_s, QVariantList {u"a"_s, qint64(1)});
        QTest::newRow("one non-string subproject discards the map")
            << QVariantMap {{subprojectsKey, oneBadElement}} << defaults << 0 << 0 << 0;
        QTest::newRow("subprojects as an array")
            << QVariantMap {{subprojectsKey, strings({u"读书"_s})}} << defaults << 0 << 0 << 0;
        QTest::newRow("a double colour index discards the map")
            << QVariantMap {{colorsKey, QVariantMap {{u"学习"_s, qint64(4)}, {u"工作"_s, 2.0}}}}
            << defaults << 0 << 0 << 0;
        QTest::newRow("a string colour index discards the map")
            << QVariantMap {{colorsKey, QVariantMap {{u"学习"_s, u"4"_s}}}} << defaults << 0 << 0
            << 0;
        QTest::newRow("a bool colour index discards the map")
            << QVariantMap {{colorsKey, QVariantMap {{u"学习"_s, true}}}} << defaults << 0 << 0
            << 0;
        QTest::newRow("a string component discards the custom colours") << QVariantMap {{customKey,
            QVariantMap {{u"学习"_s, doubles({1, 1, 1, 1})}, {u"工作"_s, QVariantList {u"0.5"_s}}}}}
                                                                        << defaults << 0 << 0 << 0;
        QTest::newRow("custom colours of any length load") << QVariantMap {{customKey,
            QVariantMap {{u"学习"_s, doubles({1, 1, 1})}, {u"工作"_s, QVariantList()}}}}
                                                           << defaults << 0 << 0 << 2;
    }
    void shouldLoadTheCatalogueByItsRules()
    {
        QFETCH(QVariantMap, seeds);
        QFETCH(QStringList, projects);
        QFETCH(int, subprojectEntries);
        QFETCH(int, colorEntries);
        QFETCH(int, customEntries);

        Loaded loaded(seeds);
        QCOMPARE(loaded.catalog.projects(), projects);
        QCOMPARE(loaded.catalog.subprojects().size(), subprojectEntries);
        QCOMPARE(loaded.catalog.colorIndices().size(), colorEntries);
        QCOMPARE(loaded.catalog.customColors().size(), customEntries);
        QCOMPARE(loaded.catalog.selectedProject(), u"学习"_s);
        QCOMPARE(loaded.catalog.selectedSubproject(), std::nullopt);
        QCOMPARE(loaded.store.writtenKeys, QStringList());
    }

    void shouldReadBackWhatItPersisted()
    {
        Loaded loaded(standardSeeds());
        loaded.catalog.addProject(u"阅读"_s);
        loaded.catalog.renameProject(u"工作"_s, u"办公"_s, 11);
        loaded.catalog.persist();

        ProjectCatalog relaunched(loaded.store);
        relaunched.load();
        QCOMPARE(relaunched.projects(), loaded.catalog.projects());
        QCOMPARE(relaunched.subprojects(), loaded.catalog.subprojects());
        QCOMPARE(relaunched.colorIndices(), loaded.catalog.colorIndices());
        QCOMPARE(relaunched.customColors(), loaded.catalog.customColors());
        QCOMPARE(relaunched.selectedProject(), u"学习"_s);
    }

    void shouldWriteExactlyTheKeysOfEachOperation_data()
    {
        using Op = CatalogOperation;
        QTest::addColumn<Op>("operation");
        QTest::addColumn<QStringList>("keys");

        const QStringList none;
        const QStringList onlySubprojects {subprojectsKey};
        auto row = [](const char *name, Op op, const QStringList &keys) {
            QTest::newRow(name) << op << keys;
        };
        row(
            "persist", [](ProjectCatalog &c) { c.persist(); }, allFourKeys);
        row(
            "addProject", [](ProjectCatalog &c) { c.addProject(u"阅读"_s); }, allFourKeys);
        row(
            "addProject duplicate", [](ProjectCatalog &c) { c.addProject(u" 工作 "_s); }, none);
        row(
            "addProject blank", [](ProjectCatalog &c) { c.addProject(u" \n"_s); }, none);
        row(
            "renameProject leaves writing to persist",
            [](ProjectCatalog &c) { c.renameProject(u"工作"_s, u"办公"_s, 2); }, none);
        row(
            "deleteProject leaves writing to persist",
            [](ProjectCatalog &c) { c.deleteProject(u"工作"_s, false); }, none);
        row(
            "renameSubproject leaves writing to persist",
            [](ProjectCatalog &c) { c.renameSubproject(u"读书"_s, u"阅读"_s, u"学习"_s); }, none);
        row(
            "setCustomColor", [](ProjectCatalog &c) { c.setCustomColor(u"工作"_s, Qt::red); },
            allFourKeys);
        row(
            "removeCustomColor", [](ProjectCatalog &c) { c.removeCustomColor(u"个人"_s); },
            allFourKeys);
        row(
            "removeCustomColor without one",
            [](ProjectCatalog &c) { c.removeCustomColor(u"工作"_s); }, none);
        row(
            "moveProject", [](ProjectCatalog &c) { c.moveProject(u"学习"_s, 1); }, allFourKeys);
        row(
            "moveProject first up", [](ProjectCatalog &c) { c.moveProject(u"学习"_s, -1); }, none);
        row(
            "moveProject last down", [](ProjectCatalog &c) { c.moveProject(u"个人"_s, 1); }, none);
        row(
            "moveProject absent", [](ProjectCatalog &c) { c.moveProject(u"无"_s, 1); }, none);
        row(
            "addSubproject", [](ProjectCatalog &c) { c.addSubproject(u"笔记"_s, u"学习"_s); },
            onlySubprojects);
        row(
            "addSubproject duplicate",
            [](ProjectCatalog &c) { c.addSubproject(u" 写作 "_s, u"学习"_s); }, none);
        row(
            "addSubproject blank", [](ProjectCatalog &c) { c.addSubproject(u"\t"_s, u"学习"_s); },
            none);
        row(
            "removeSubproject", [](ProjectCatalog &c) { c.removeSubproject(u"读书"_s, u"学习"_s); },
            onlySubprojects);
        row(
            "removeSubproject not in the list",
            [](ProjectCatalog &c) { c.removeSubproject(u"无"_s, u"学习"_s); }, onlySubprojects);
        row(
            "removeSubproject of a project without list",
            [](ProjectCatalog &c) { c.removeSubproject(u"无"_s, u"个人"_s); }, onlySubprojects);
        row(
            "moveSubproject", [](ProjectCatalog &c) { c.moveSubproject(u"写作"_s, u"学习"_s, -1); },
            allFourKeys);
        row(
            "moveSubproject first up",
            [](ProjectCatalog &c) { c.moveSubproject(u"读书"_s, u"学习"_s, -1); }, none);
        row(
            "moveSubproject last down",
            [](ProjectCatalog &c) { c.moveSubproject(u"复习"_s, u"学习"_s, 1); }, none);
        row(
            "moveSubproject without list",
            [](ProjectCatalog &c) { c.moveSubproject(u"读书"_s, u"个人"_s, 1); }, none);
    }
    void shouldWriteExactlyTheKeysOfEachOperation()
    {
        using Op = CatalogOperation;
        QFETCH(Op, operation);
        QFETCH(QStringList, keys);
        Loaded loaded(standardSeeds());
        operation(loaded.catalog);
        QCOMPARE(loaded.store.writtenKeys, keys);
    }

    void shouldChangeNothingOnRefusal_data()
    {
        using Op = CheckedOperation;
        QTest::addColumn<Op>("operation");
        auto row = [](const char *name, Op op) {
            QTest::newRow(name) << op;
        };
        row("add existing with blanks", [](auto &c) { return c.addProject(u" 工作\u3000"_s); });
        row("add only blanks", [](auto &c) { return c.addProject(u"\u3000 \r\n"_s); });
        row("rename to existing", [](auto &c) { return c.renameProject(u"工作"_s, u"个人"_s, 3); });
        row("rename to blanks", [](auto &c) { return c.renameProject(u"工作"_s, u"  "_s, 3); });
        row("delete during a session", [](auto &c) { return c.deleteProject(u"学习"_s, true); });
        row("rename subproject to sibling",
            [](auto &c) { return c.renameSubproject(u"读书"_s, u" 写作"_s, u"学习"_s); });
        row("rename subproject to blanks",
            [](auto &c) { return c.renameSubproject(u"读书"_s, u"\n"_s, u"学习"_s); });
        row("rename absent subproject",
            [](auto &c) { return c.renameSubproject(u"无"_s, u"新"_s, u"学习"_s); });
        row("rename subproject of a project without list",
            [](auto &c) { return c.renameSubproject(u"读书"_s, u"新"_s, u"个人"_s); });
        row("move by two past the end", [](auto &c) { return c.moveProject(u"工作"_s, 2); });
        row("move by a huge step",
            [](auto &c) { return c.moveProject(u"工作"_s, std::numeric_limits<int>::min()); });
    }
    void shouldChangeNothingOnRefusal()
    {
        using Op = CheckedOperation;
        QFETCH(Op, operation);
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedSubproject(u"读书"_s);
        Loaded untouched(standardSeeds());
        untouched.catalog.setSelectedSubproject(u"读书"_s);

        const auto change = operation(loaded.catalog);
        QVERIFY(!change.accepted);
        QCOMPARE(loaded.catalog.projects(), untouched.catalog.projects());
        QCOMPARE(loaded.catalog.subprojects(), untouched.catalog.subprojects());
        QCOMPARE(loaded.catalog.colorIndices(), untouched.catalog.colorIndices());
        QCOMPARE(loaded.catalog.customColors(), untouched.catalog.customColors());
        QCOMPARE(loaded.catalog.selectedProject(), untouched.catalog.selectedProject());
        QCOMPARE(loaded.catalog.selectedSubproject(), untouched.catalog.selectedSubproject());
        QCOMPARE(loaded.store.writtenKeys, QStringList());
    }

    void shouldAppendATrimmedProjectWithItsPositionAndSelectIt()
    {
        Loaded loaded;
        const auto change = loaded.catalog.addProject(u" \t阅读\n"_s);
        QVERIFY(change.accepted);
        QCOMPARE(change.name, u"阅读"_s);
        QCOMPARE(loaded.catalog.projects().last(), u"阅读"_s);
        QCOMPARE(loaded.catalog.storedColorIndex(u"阅读"_s), 3);
        QCOMPARE(loaded.catalog.projectColor(u"阅读"_s), ProjectPalette::color(3)); // 薄荷
        QCOMPARE(loaded.catalog.selectedProject(), u"阅读"_s);
        QCOMPARE(loaded.catalog.subprojectsFor(u"阅读"_s), QStringList());
        QCOMPARE(change.fields,
            ProjectCatalog::Projects | ProjectCatalog::ColorIndices
                | ProjectCatalog::SelectedProject);
        QCOMPARE(loaded.store.value(projectsKey),
            QVariant(strings({u"学习"_s, u"工作"_s, u"个人"_s, u"阅读"_s})));
        QCOMPARE(loaded.store.value(colorsKey), QVariant(QVariantMap {{u"阅读"_s, qint64(3)}}));
    }

    void shouldNeverKeepASubprojectTheNewlySelectedProjectLacks_data()
    {
        using Op = SelectingOperation;
        QTest::addColumn<QString>("subproject");
        QTest::addColumn<Op>("operation");
        QTest::addColumn<QString>("expectedProject");
        QTest::addColumn<QString>("expectedSubproject");

        // 学习 holds 读书, 写作 and 复习; 工作 holds 读书 only.
        QTest::newRow("adding a project")
            << u"写作"_s << Op([](auto &c) { return c.addProject(u"阅读"_s).fields; }) << u"阅读"_s
            << QString();
        QTest::newRow("deleting it, the first project lacks the subproject")
            << u"写作"_s << Op([](auto &c) { return c.deleteProject(u"学习"_s, false).fields; })
            << u"工作"_s << QString();
        QTest::newRow("deleting it, the first project holds the subproject")
            << u"读书"_s << Op([](auto &c) { return c.deleteProject(u"学习"_s, false).fields; })
            << u"工作"_s << u"读书"_s;
        QTest::newRow("selecting a project that lacks it")
            << u"复习"_s << Op([](auto &c) { return c.setSelectedProject(u"工作"_s); }) << u"工作"_s
            << QString();
        QTest::newRow("selecting a project that holds it")
            << u"读书"_s << Op([](auto &c) { return c.setSelectedProject(u"工作"_s); }) << u"工作"_s
            << u"读书"_s;
        QTest::newRow("renaming it, its subprojects go along") << u"写作"_s << Op([](auto &c) {
            return c.renameProject(u"学习"_s, u"学业"_s, 0).fields;
        }) << u"学业"_s << u"写作"_s;
    }
    void shouldNeverKeepASubprojectTheNewlySelectedProjectLacks()
    {
        using Op = SelectingOperation;
        QFETCH(QString, subproject);
        QFETCH(Op, operation);
        QFETCH(QString, expectedProject);
        QFETCH(QString, expectedSubproject);
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedSubproject(subproject);

        const ProjectCatalog::Fields fields = operation(loaded.catalog);
        QCOMPARE(loaded.catalog.selectedProject(), expectedProject);
        QCOMPARE(loaded.catalog.selectedSubproject().value_or(QString()), expectedSubproject);
        QVERIFY(fields.testFlag(ProjectCatalog::SelectedProject));
        // The views hear of the cleared subproject.
        QCOMPARE(fields.testFlag(ProjectCatalog::SelectedSubproject), expectedSubproject.isEmpty());
    }

    void shouldRenameProjectAndFollowTheSelection()
    {
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedProject(u"工作"_s);
        loaded.catalog.setSelectedSubproject(u"读书"_s);
        const auto change = loaded.catalog.renameProject(u"工作"_s, u"  办公 "_s, 7);
        QVERIFY(change.accepted);
        QCOMPARE(change.name, u"办公"_s);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"学习"_s, u"办公"_s, u"个人"_s}));
        QCOMPARE(loaded.catalog.storedColorIndex(u"办公"_s), 7);
        QCOMPARE(loaded.catalog.storedColorIndex(u"工作"_s), std::nullopt);
        QCOMPARE(loaded.catalog.selectedProject(), u"办公"_s);
        QCOMPARE(loaded.catalog.selectedSubproject(), u"读书"_s);
        QVERIFY(change.fields.testFlag(ProjectCatalog::SelectedProject));
    }

    void shouldOnlySetTheIndexWhenRenamingToTheSameName()
    {
        Loaded loaded(standardSeeds());
        const auto change = loaded.catalog.renameProject(u"工作"_s, u"工作"_s, 5);
        QVERIFY(change.accepted);
        QCOMPARE(loaded.catalog.projects(), ProjectCatalog::defaultProjects());
        QCOMPARE(loaded.catalog.colorIndices(), (ProjectCatalog::ColorIndexMap {{u"工作"_s, 5}}));
        QCOMPARE(loaded.catalog.subprojectsFor(u"工作"_s), QStringList({u"读书"_s}));
        const FocusRecordList records {record(u"工作"_s), record(u"学习"_s)};
        QCOMPARE(ProjectCatalog::withProjectRenamed(records, u"工作"_s, change.name), records);
    }

    void shouldKeepTheFormerIndexWhenRenamingWithMinusOne_data()
    {
        QTest::addColumn<QVariantMap>("seeds");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("stored index kept")
            << QVariantMap {{colorsKey, QVariantMap {{u"工作"_s, qint64(12)}}}} << qint64(12);
        QTest::newRow("none stored gives 0, not the position") << QVariantMap() << qint64(0);
    }
    void shouldKeepTheFormerIndexWhenRenamingWithMinusOne()
    {
        QFETCH(QVariantMap, seeds);
        QFETCH(qint64, expected);
        Loaded loaded(seeds);
        QVERIFY(loaded.catalog.renameProject(u"工作"_s, u"办公"_s, -1).accepted);
        QCOMPARE(loaded.catalog.storedColorIndex(u"办公"_s), expected);
    }

    void shouldCarrySubprojectsAndCustomColourToTheNewName_data()
    {
        QTest::addColumn<QVariantMap>("seeds");
        QTest::addColumn<QStringList>("subprojects");
        QTest::addColumn<QList<double>>("custom");

        const QVariantList own = doubles({0.1, 0.2, 0.3, 1.0});
        const QVariantList stale = doubles({0.9, 0.9, 0.9, 1.0});
        QTest::newRow("own entries move")
            << QVariantMap {{subprojectsKey, QVariantMap {{u"工作"_s, strings({u"周报"_s})}}},
                   {customKey, QVariantMap {{u"工作"_s, own}}}}
            << QStringList {u"周报"_s} << QList<double> {0.1, 0.2, 0.3, 1.0};
        QTest::newRow("own entries replace a deleted namesake's")
            << QVariantMap {{subprojectsKey,
                                QVariantMap {{u"工作"_s, strings({u"周报"_s})},
                                    {u"办公"_s, strings({u"旧"_s})}}},
                   {customKey, QVariantMap {{u"工作"_s, own}, {u"办公"_s, stale}}}}
            << QStringList {u"周报"_s} << QList<double> {0.1, 0.2, 0.3, 1.0};
        QTest::newRow("without own entries a namesake's are found again")
            << QVariantMap {{subprojectsKey, QVariantMap {{u"办公"_s, strings({u"旧"_s})}}},
                   {customKey, QVariantMap {{u"办公"_s, stale}}}}
            << QStringList {u"旧"_s} << QList<double> {0.9, 0.9, 0.9, 1.0};
        QTest::newRow("an emptied list moves as an empty list") << QVariantMap {{subprojectsKey,
            QVariantMap {{u"工作"_s, QVariantList()}, {u"办公"_s, strings({u"旧"_s})}}}}
                                                                << QStringList() << QList<double>();
    }
    void shouldCarrySubprojectsAndCustomColourToTheNewName()
    {
        QFETCH(QVariantMap, seeds);
        QFETCH(QStringList, subprojects);
        QFETCH(QList<double>, custom);
        Loaded loaded(seeds);
        QVERIFY(loaded.catalog.renameProject(u"工作"_s, u"办公"_s, 2).accepted);
        QCOMPARE(loaded.catalog.subprojectsFor(u"办公"_s), subprojects);
        QCOMPARE(loaded.catalog.customColors().value(u"办公"_s), custom);
        QVERIFY(!loaded.catalog.subprojects().contains(u"工作"_s));
        QVERIFY(!loaded.catalog.customColors().contains(u"工作"_s));
    }

    void shouldRewriteRecordsOfARenamedProjectKeepingEverythingElse()
    {
        const FocusRecordList records {
            record(u"工作"_s, u"周报"_s), record(u"学习"_s), record(u"工作"_s), record(u"工作 "_s)};
        const FocusRecordList rewritten =
            ProjectCatalog::withProjectRenamed(records, u"工作"_s, u"办公"_s);
        QCOMPARE(rewritten.size(), records.size());
        for (qsizetype i = 0; i < records.size(); ++i) {
            FocusRecord expected = records.at(i);
            if (expected.project == u"工作"_s)
                expected.project = u"办公"_s;
            QCOMPARE(rewritten.at(i), expected);
            QCOMPARE(rewritten.at(i).id, records.at(i).id);
        }
        QCOMPARE(rewritten.at(3).project, u"工作 "_s);
    }

    void shouldMoveRecordsOfADeletedProjectToUnassignedKeepingSubprojects()
    {
        const FocusRecordList records {record(u"工作"_s, u"周报"_s), record(u"学习"_s, u"读书"_s)};
        const FocusRecordList rewritten = ProjectCatalog::withProjectDeleted(records, u"工作"_s);
        QCOMPARE(rewritten.at(0).project, u"未分类"_s);
        QCOMPARE(rewritten.at(0).subproject, u"周报"_s);
        QCOMPARE(rewritten.at(0).id, records.at(0).id);
        QCOMPARE(rewritten.at(0).wrapUp, records.at(0).wrapUp);
        QCOMPARE(rewritten.at(1), records.at(1));
    }

    void shouldRenameSubprojectRecordsOnlyWithinTheirProject()
    {
        const FocusRecordList records {record(u"学习"_s, u"读书"_s), record(u"工作"_s, u"读书"_s),
            record(u"学习"_s), record(u"学习"_s, u"写作"_s)};
        const FocusRecordList rewritten =
            ProjectCatalog::withSubprojectRenamed(records, u"学习"_s, u"读书"_s, u"阅读"_s);
        QCOMPARE(rewritten.at(0).subproject, u"阅读"_s);
        QCOMPARE(rewritten.at(0).id, records.at(0).id);
        QCOMPARE(rewritten.at(0).title, records.at(0).title);
        QCOMPARE(rewritten.at(1), records.at(1));
        QCOMPARE(rewritten.at(2), records.at(2));
        QCOMPARE(rewritten.at(3), records.at(3));
    }

    void shouldDeleteAProjectAndFallBackToTheFirst_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("expectedSelection");
        QTest::newRow("deleting the selected project") << u"学习"_s << u"工作"_s;
        QTest::newRow("deleting another project") << u"个人"_s << u"个人"_s;
    }
    void shouldDeleteAProjectAndFallBackToTheFirst()
    {
        QFETCH(QString, selected);
        QFETCH(QString, expectedSelection);
        QVariantMap seeds = standardSeeds();
        seeds.insert(colorsKey, QVariantMap {{u"学习"_s, qint64(8)}});
        Loaded loaded(seeds);
        loaded.catalog.setSelectedProject(selected);
        loaded.catalog.setSelectedSubproject(u"读书"_s);

        const auto change = loaded.catalog.deleteProject(u"学习"_s, false);
        QVERIFY(change.accepted);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"工作"_s, u"个人"_s}));
        QCOMPARE(loaded.catalog.storedColorIndex(u"学习"_s), std::nullopt);
        QCOMPARE(loaded.catalog.selectedProject(), expectedSelection);
        QCOMPARE(loaded.catalog.selectedSubproject(), u"读书"_s);
        QCOMPARE(
            change.fields.testFlag(ProjectCatalog::SelectedProject), selected != expectedSelection);
        // Kept for a later project of the same name.
        QCOMPARE(loaded.catalog.subprojectsFor(u"学习"_s).size(), 3);
    }

    void shouldFindSubprojectsAndColourAgainWhenADeletedNameReturns()
    {
        Loaded loaded(standardSeeds());
        QVERIFY(loaded.catalog.deleteProject(u"个人"_s, false).accepted);
        QCOMPARE(loaded.catalog.projectColor(u"个人"_s),
            ProjectPalette::colorFromComponents(0.5, 0.25, 0.75, 1.0));
        QVERIFY(loaded.catalog.addProject(u"个人"_s).accepted);
        QCOMPARE(
            loaded.catalog.customColors().value(u"个人"_s), (QList<double> {0.5, 0.25, 0.75, 1.0}));
    }

    void shouldNeverDeleteTheLastProject()
    {
        Loaded loaded;
        QVERIFY(loaded.catalog.deleteProject(u"学习"_s, false).accepted);
        QVERIFY(loaded.catalog.deleteProject(u"工作"_s, false).accepted);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"个人"_s}));
        QVERIFY(!loaded.catalog.deleteProject(u"个人"_s, false).accepted);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"个人"_s}));
        QCOMPARE(loaded.catalog.selectedProject(), u"个人"_s);
    }

    void shouldNotEmptyAStoredListThatRepeatsOneName()
    {
        Loaded loaded({{projectsKey, strings({u"甲"_s, u"甲"_s})}});
        QVERIFY(!loaded.catalog.deleteProject(u"甲"_s, false).accepted);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"甲"_s, u"甲"_s}));
    }

    void shouldAddATrimmedSubprojectAndSelectIt()
    {
        Loaded loaded(standardSeeds());
        const auto change = loaded.catalog.addSubproject(u" 笔记\n"_s, u"个人"_s);
        QVERIFY(change.accepted);
        QCOMPARE(loaded.catalog.subprojectsFor(u"个人"_s), QStringList({u"笔记"_s}));
        QCOMPARE(loaded.catalog.selectedProject(), u"个人"_s);
        QCOMPARE(loaded.catalog.selectedSubproject(), u"笔记"_s);
        // The same name may live under another project.
        QVERIFY(loaded.catalog.addSubproject(u"笔记"_s, u"学习"_s).accepted);
        QCOMPARE(loaded.catalog.subprojectsFor(u"学习"_s).last(), u"笔记"_s);
    }

    void shouldLeaveAnEmptyListAfterRemovingTheLastSubproject()
    {
        Loaded loaded({{subprojectsKey, QVariantMap {{u"工作"_s, strings({u"周报"_s})}}}});
        loaded.catalog.setSelectedProject(u"工作"_s);
        loaded.catalog.setSelectedSubproject(u"周报"_s);
        const auto change = loaded.catalog.removeSubproject(u"周报"_s, u"工作"_s);
        QVERIFY(change.fields.testFlag(ProjectCatalog::SelectedSubproject));
        QCOMPARE(loaded.catalog.selectedProject(), u"工作"_s);
        QCOMPARE(loaded.catalog.selectedSubproject(), std::nullopt);
        QCOMPARE(loaded.store.value(subprojectsKey),
            QVariant(QVariantMap {{u"工作"_s, QVariantList()}}));
    }

    void shouldKeepTheSelectionWhenRemovingASameNamedSubprojectElsewhere()
    {
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedProject(u"学习"_s);
        loaded.catalog.setSelectedSubproject(u"读书"_s);
        loaded.catalog.removeSubproject(u"读书"_s, u"工作"_s);
        QCOMPARE(loaded.catalog.selectedSubproject(), u"读书"_s);
        QCOMPARE(loaded.catalog.subprojectsFor(u"学习"_s).first(), u"读书"_s);
        QVERIFY(!loaded.catalog.subprojects().contains(u"个人"_s));
    }

    void shouldRenameASubprojectInPlaceAndFollowTheSelection()
    {
        Loaded loaded(standardSeeds());
        loaded.catalog.setSelectedSubproject(u"写作"_s);
        const auto change = loaded.catalog.renameSubproject(u"写作"_s, u" 论文 "_s, u"学习"_s);
        QVERIFY(change.accepted);
        QCOMPARE(change.name, u"论文"_s);
        QCOMPARE(loaded.catalog.subprojectsFor(u"学习"_s),
            QStringList({u"读书"_s, u"论文"_s, u"复习"_s}));
        QCOMPARE(loaded.catalog.selectedSubproject(), u"论文"_s);
        QCOMPARE(loaded.catalog.subprojectsFor(u"工作"_s), QStringList({u"读书"_s}));
        // Renaming to its own name is allowed.
        QVERIFY(loaded.catalog.renameSubproject(u"论文"_s, u"论文"_s, u"学习"_s).accepted);
    }

    void shouldSwapNeighboursWhenMoving()
    {
        Loaded loaded(standardSeeds());
        QVERIFY(loaded.catalog.moveProject(u"个人"_s, -1).accepted);
        QCOMPARE(loaded.catalog.projects(), QStringList({u"学习"_s, u"个人"_s, u"工作"_s}));
        // Without a stored index the colour follows the position.
        QCOMPARE(loaded.catalog.projectColor(u"工作"_s), ProjectPalette::color(2));
        QVERIFY(loaded.catalog.moveSubproject(u"读书"_s, u"学习"_s, 2).accepted);
        QCOMPARE(loaded.catalog.subprojectsFor(u"学习"_s),
            QStringList({u"复习"_s, u"写作"_s, u"读书"_s}));
    }
};

QTEST_GUILESS_MAIN(ProjectCatalogTest)
#include "tst_projectcatalog.moc"
