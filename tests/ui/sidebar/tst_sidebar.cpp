// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

using namespace Qt::StringLiterals;

class SidebarTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    TimerModel &model() const { return *window->model; }
    QQuickItem *item(const QString &name, QQuickItem *root = nullptr) const
    {
        return window->item(name, root);
    }
    // The row of a project ("projectRow:学习") or subproject ("subprojectRow:阅读").
    QQuickItem *row(const QString &project) const
    {
        return item(project.contains(u':') ? project : u"projectRow:"_s + project);
    }
    bool checked(const QString &row) const
    {
        return item(u"checkmark"_s, this->row(row))->isVisible();
    }
    // An entry of a row's menu. A menu is built when its button is first clicked; it is a popup,
    // found among the row's objects, and is closed again here.
    QObject *menuEntry(const QString &row, const QString &name) const
    {
        QQuickItem *found = this->row(row);
        if (!found)
            return nullptr;
        if (!found->findChild<QObject *>(name)) {
            window->click(item(u"menuButton"_s, found));
            const bool project = !row.contains(u':');
            QObject *menu =
                found->findChild<QObject *>(project ? u"projectMenu"_s : u"subprojectMenu"_s);
            if (!menu || !menu->property("visible").toBool())
                return nullptr;
            QMetaObject::invokeMethod(menu, "close");
            window->render();
        }
        return found->findChild<QObject *>(name);
    }
    void trigger(const QString &row, const QString &entry) const
    {
        QObject *found = menuEntry(row, entry);
        QVERIFY2(found, qPrintable(row + u'/' + entry));
        QMetaObject::invokeMethod(found, "triggered");
        window->render();
    }
    void addReadingToStudy() const
    {
        model().addSubproject(u"阅读"_s, u"学习"_s);
        model().addSubproject(u"写作"_s, u"学习"_s);
        model().setSelectedProject(u"学习"_s);
        model().setSelectedSubproject(QString());
        window->render();
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        window = std::make_unique<WindowFixture>();
        QVERIFY(window->show());
    }
    void cleanup() { window.reset(); }

    void shouldListProjectsWithTodaysMinutes()
    {
        model().saveRecords({PageFixture::todayRecord(u"工作"_s, 42.9)});
        window->render();
        QCOMPARE(textOf(item(u"todayMinutes"_s, row(u"工作"_s))), u"今日 42 分钟"_s);
        const QList<QQuickItem *> rows =
            PageFixture::byPosition({row(u"个人"_s), row(u"学习"_s), row(u"工作"_s)});
        QCOMPARE(rows.first(), row(u"学习"_s));
        QCOMPARE(rows.last(), row(u"个人"_s));
    }

    void shouldMarkTheSelectionAndIgnoreItWhileStarted()
    {
        addReadingToStudy();
        QVERIFY(checked(u"学习"_s));
        QVERIFY(!checked(u"subprojectRow:阅读"_s));
        window->click(item(u"selectButton"_s, row(u"subprojectRow:阅读"_s)));
        QCOMPARE(model().selectedSubproject(), u"阅读"_s);
        QVERIFY(!checked(u"学习"_s));
        QVERIFY(checked(u"subprojectRow:阅读"_s));
        // A click shows no focus ring; the keyboard does.
        QQuickItem *clicked = item(u"selectButton"_s, row(u"subprojectRow:阅读"_s));
        QVERIFY(!WindowFixture::showsFocus(clicked));
        window->press(Qt::Key_Tab);
        QQuickItem *next = window->window.activeFocusItem();
        QVERIFY(next && next != clicked && WindowFixture::showsFocus(next));

        window->runFor(10);
        model().pause();
        window->render();
        window->click(item(u"selectButton"_s, row(u"工作"_s)));
        QCOMPARE(model().selectedProject(), u"学习"_s);
        QVERIFY(!item(u"selectButton"_s, row(u"subprojectRow:写作"_s))->isEnabled());

        model().reset();
        window->click(item(u"selectButton"_s, row(u"工作"_s)));
        QCOMPARE(model().selectedProject(), u"工作"_s);
        QCOMPARE(model().selectedSubproject(), QString());
        QVERIFY(checked(u"工作"_s));
    }

    void shouldOfferTheMenuEntriesThatApply_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("enabled");

        QTest::newRow("first project up") << u"学习"_s << u"moveUpItem"_s << false << false;
        QTest::newRow("first project down") << u"学习"_s << u"moveDownItem"_s << false << true;
        QTest::newRow("last project down") << u"个人"_s << u"moveDownItem"_s << false << false;
        QTest::newRow("first subproject up")
            << u"subprojectRow:阅读"_s << u"moveUpItem"_s << false << false;
        QTest::newRow("last subproject down")
            << u"subprojectRow:写作"_s << u"moveDownItem"_s << false << false;
        QTest::newRow("delete") << u"工作"_s << u"deleteProjectItem"_s << false << true;
        // A started session keeps moves and editing, but its project cannot go.
        QTest::newRow("started, up") << u"工作"_s << u"moveUpItem"_s << true << true;
        QTest::newRow("started, delete") << u"工作"_s << u"deleteProjectItem"_s << true << false;
    }

    void shouldOfferTheMenuEntriesThatApply()
    {
        QFETCH(QString, row);
        QFETCH(QString, entry);
        QFETCH(bool, started);
        QFETCH(bool, enabled);
        addReadingToStudy();
        if (started)
            window->runFor(10);
        const QObject *found = menuEntry(row, entry);
        QVERIFY(found);
        QCOMPARE(found->property("enabled").toBool(), enabled);
    }

    void shouldMoveAndRemoveFromTheMenus()
    {
        addReadingToStudy();
        trigger(u"学习"_s, u"moveDownItem"_s);
        QCOMPARE(model().projects(), (QStringList {u"工作"_s, u"学习"_s, u"个人"_s}));
        trigger(u"subprojectRow:阅读"_s, u"moveDownItem"_s);
        QCOMPARE(model().subprojectsFor(u"学习"_s), (QStringList {u"写作"_s, u"阅读"_s}));

        // The selected subproject goes at once, and its project is selected.
        window->click(item(u"selectButton"_s, row(u"subprojectRow:写作"_s)));
        trigger(u"subprojectRow:写作"_s, u"deleteSubprojectItem"_s);
        QCOMPARE(model().subprojectsFor(u"学习"_s), QStringList {u"阅读"_s});
        QVERIFY(!row(u"subprojectRow:写作"_s));
        QVERIFY(checked(u"学习"_s));

        // A project only after asking.
        trigger(u"工作"_s, u"deleteProjectItem"_s);
        QCOMPARE(window->draft->confirmingDelete(), std::optional<QString>(u"工作"_s));
        QVERIFY(window->opened(u"deleteProjectDialog"_s));
        QCOMPARE(model().projects().size(), 3);
        // The last project stays.
        window->draft->setConfirmingDelete(std::nullopt);
        model().deleteProject(u"工作"_s);
        model().deleteProject(u"个人"_s);
        window->render();
        QVERIFY(!menuEntry(u"学习"_s, u"deleteProjectItem"_s)->property("enabled").toBool());

        // Editing opens the editor on the entry.
        trigger(u"subprojectRow:阅读"_s, u"editSubprojectItem"_s);
        QVERIFY(window->draft->showing());
        QCOMPARE(window->draft->name(), u"阅读"_s);
    }
};

QTEST_MAIN(SidebarTest)
#include "tst_sidebar.moc"
