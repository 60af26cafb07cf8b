// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

#include "ui/history/historytreemodel.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

using Page = QString;

class SidebarTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    TimerModel &model() const { return window->model(); }
    QQuickItem *item(const QString &name, QQuickItem *root = nullptr) const
    {
        return window->item(name, root);
    }
    QQuickItem *projectRow(const QString &project) const
    {
        return item(u"projectRow:"_s + project);
    }
    QQuickItem *subprojectRow(const QString &subproject) const
    {
        return item(u"subprojectRow:"_s + subproject);
    }
    // An entry of a row's menu; menus are popups, found among the row's objects.
    QObject *menuEntry(QQuickItem *row, const QString &name) const
    {
        return row ? row->findChild<QObject *>(name) : nullptr;
    }
    bool enabled(QObject *object) const { return object && object->property("enabled").toBool(); }
    void trigger(QObject *entry) const
    {
        QVERIFY(entry);
        QMetaObject::invokeMethod(entry, "triggered");
        window->render();
    }
    QString loadedPage() const
    {
        const QQuickItem *loader = item(u"pageLoader"_s);
        const auto *page = loader->property("item").value<QQuickItem *>();
        return page ? page->objectName() : QString();
    }
    void addReadingToStudy()
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

    // Navigation ------------------------------------------------------------------------------

    void shouldShowOnePageAndSetAtMostOneFlag_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Page>("page");
        QTest::addColumn<bool>("records");
        QTest::addColumn<bool>("review");
        QTest::addColumn<bool>("settings");

        QTest::newRow("focus") << u"navFocus"_s << u"focusPage"_s << false << false << false;
        QTest::newRow("review") << u"navReview"_s << u"reviewPage"_s << false << true << false;
        QTest::newRow("records") << u"navRecords"_s << u"historyPage"_s << true << false << false;
        QTest::newRow("settings") << u"settingsButton"_s << u"settingsPage"_s << false << false
                                  << true;
    }

    void shouldShowOnePageAndSetAtMostOneFlag()
    {
        QFETCH(QString, entry);
        QFETCH(Page, page);
        QFETCH(bool, records);
        QFETCH(bool, review);
        QFETCH(bool, settings);

        // Start from every flag set, as no navigation would leave them.
        model().setShowRecords(true);
        model().setShowReview(true);
        model().setShowSettings(true);
        window->render();
        QCOMPARE(loadedPage(), u"historyPage"_s);

        window->click(item(entry));
        QCOMPARE(model().showRecords(), records);
        QCOMPARE(model().showReview(), review);
        QCOMPARE(model().showSettings(), settings);
        QCOMPARE(loadedPage(), page);
        QVERIFY(item(entry)->property("selected").toBool());
    }

    void shouldPreferRecordsThenReviewThenSettings_data()
    {
        QTest::addColumn<bool>("records");
        QTest::addColumn<bool>("review");
        QTest::addColumn<bool>("settings");
        QTest::addColumn<Page>("page");

        QTest::newRow("none") << false << false << false << u"focusPage"_s;
        QTest::newRow("records and review") << true << true << false << u"historyPage"_s;
        QTest::newRow("review and settings") << false << true << true << u"reviewPage"_s;
        QTest::newRow("settings") << false << false << true << u"settingsPage"_s;
    }

    void shouldPreferRecordsThenReviewThenSettings()
    {
        QFETCH(bool, records);
        QFETCH(bool, review);
        QFETCH(bool, settings);
        QFETCH(Page, page);

        model().setShowRecords(records);
        model().setShowReview(review);
        model().setShowSettings(settings);
        window->render();
        QCOMPARE(loadedPage(), page);
        QCOMPARE(
            item(u"navFocus"_s)->property("selected").toBool(), !records && !review && !settings);
    }

    // Record error banner ---------------------------------------------------------------------

    void shouldShowTheRecordErrorUntilAcknowledged()
    {
        QQuickItem *banner = item(u"recordErrorBanner"_s);
        QVERIFY(!banner->isVisible());

        model().setRecordError(u"记录读取异常，已暂停写入以保护原数据。"_s);
        window->render();
        QVERIFY(banner->isVisible());
        QCOMPARE(textOf(item(u"recordErrorText"_s)), u"记录读取异常，已暂停写入以保护原数据。"_s);

        window->click(item(u"viewBackupButton"_s));
        QCOMPARE(window->browser.opened, QStringList {*window->page->services.storageFolder});
        QVERIFY(banner->isVisible());

        window->click(item(u"dismissRecordErrorButton"_s));
        QCOMPARE(model().recordError(), QString());
        QVERIFY(!banner->isVisible());
    }

    void shouldKeepSettingsInViewAndScrollTheRestOnAShortWindow()
    {
        // A long warning on a window far shorter than the designed minimum.
        model().setRecordError(u"专注记录读取异常，已备份原文，本次暂停写入以保护数据。"_s);
        window->page->window.resize(900, 380);
        window->view->setSize(window->page->window.size());
        window->render();

        const QRectF shown(0, 0, 900, 380);
        QVERIFY(shown.contains(PageFixture::sceneRect(item(u"settingsButton"_s))));
        QQuickItem *scroll = item(u"sidebarScroll"_s);
        QVERIFY(scroll);
        QVERIFY(scroll->property("contentHeight").toReal() > scroll->height());
        // Tab to the last project scrolls the sidebar to it, and to the start button the page.
        QQuickItem *last = item(u"selectButton"_s, projectRow(u"个人"_s));
        QVERIFY(!PageFixture::sceneRect(scroll).contains(PageFixture::sceneRect(last)));
        last->forceActiveFocus(Qt::TabFocusReason);
        window->render();
        QVERIFY(PageFixture::sceneRect(scroll).contains(PageFixture::sceneRect(last)));
        QQuickItem *start = item(u"startPauseButton"_s);
        QVERIFY(!shown.contains(PageFixture::sceneRect(start)));
        start->forceActiveFocus(Qt::TabFocusReason);
        window->render();
        QVERIFY(shown.contains(PageFixture::sceneRect(start)));
        window->click(item(u"settingsButton"_s));
        QVERIFY(model().showSettings());
    }

    void shouldWalkEveryControlInVisualOrderWithAFocusRing_data()
    {
        QTest::addColumn<Page>("page");
        QTest::newRow("focus") << u"focusPage"_s;
        QTest::newRow("review") << u"reviewPage"_s;
        QTest::newRow("records") << u"historyPage"_s;
        QTest::newRow("settings") << u"settingsPage"_s;
    }

    void shouldWalkEveryControlInVisualOrderWithAFocusRing()
    {
        QFETCH(Page, page);
        addReadingToStudy();
        FocusRecord record = PageFixture::record(u"学习"_s, 13, 30);
        record.endedAt = PageFixture::sampleNow() - 60;
        model().saveRecords({record});
        model().deleteRecord(record);
        model().undoDelete();
        model().setShowRecords(page == u"historyPage"_s);
        model().setShowReview(page == u"reviewPage"_s);
        model().setShowSettings(page == u"settingsPage"_s);
        window->render();
        QCOMPARE(loadedPage(), page);
        if (page == u"historyPage"_s) {
            // The year, month and day open, so a record's delete button is on the page too.
            auto *tree = qobject_cast<HistoryTreeModel *>(
                item(u"historyList"_s)->property("model").value<QObject *>());
            QVERIFY(tree);
            for (int row = 0; row < 3; ++row)
                tree->setExpanded(row, true);
            window->render();
            QVERIFY(item(u"historyDeleteButton"_s));
        }

        const QList<QQuickItem *> chain = window->tabChain();
        QVERIFY(chain.size() > 10);
        const QRectF sidebar = PageFixture::sceneRect(item(u"sidebar"_s));
        bool inPage = false;
        QStringList walked;
        for (qsizetype i = 0; i < chain.size(); ++i) {
            QQuickItem *control = chain.at(i);
            // Back to it, so that its ring is on show now.
            control->forceActiveFocus(Qt::TabFocusReason);
            window->render();
            const QRectF here = PageFixture::sceneRect(control);
            const QString name = control->objectName() + u'@' + QString::number(here.x()) + u','
                + QString::number(here.y());
            walked.append(name);
            QVERIFY2(WindowFixture::showsFocus(control), qPrintable(u"no ring on "_s + name));
            const bool pageControl = !sidebar.contains(here.center());
            QVERIFY2(!inPage || pageControl,
                qPrintable(u"back to the sidebar at "_s + walked.join(u" → "_s)));
            if (i == 0 || pageControl != inPage) {
                inPage = pageControl;
                continue;
            }
            // Within the sidebar, then within the page: never up, and left to right in a row.
            const QRectF before = PageFixture::sceneRect(chain.at(i - 1));
            const bool sameRow = here.top() < before.bottom() && before.top() < here.bottom();
            QVERIFY2(
                sameRow ? here.left() >= before.right() - 1 : here.top() >= before.bottom() - 1,
                qPrintable(u"out of order: "_s + walked.join(u" → "_s)));
        }
        QVERIFY2(inPage, "Tab never reached the page");
        // Every kind of control of the sidebar is on the way.
        for (const QString &name : {u"navFocus"_s, u"newProjectButton"_s, u"chevronButton"_s,
                 u"selectButton"_s, u"menuButton"_s, u"settingsButton"_s}) {
            QVERIFY2(std::any_of(chain.cbegin(), chain.cend(),
                         [&](QQuickItem *control) { return control->objectName() == name; }),
                qPrintable(name));
        }
        if (page == u"historyPage"_s) {
            for (const QString &name :
                {u"historyGroupHeader"_s, u"historyDeleteButton"_s, u"historySearchField"_s}) {
                QVERIFY2(std::any_of(chain.cbegin(), chain.cend(),
                             [&](QQuickItem *control) { return control->objectName() == name; }),
                    qPrintable(name));
            }
        }
    }

    // Project rows ----------------------------------------------------------------------------

    void shouldListProjectsWithTodaysMinutes()
    {
        FocusRecord record = PageFixture::record(u"工作"_s, 13, 42.9);
        record.endedAt = PageFixture::sampleNow() - 60;
        model().saveRecords({record});
        window->render();

        QCOMPARE(textOf(item(u"todayMinutes"_s, projectRow(u"工作"_s))), u"今日 42 分钟"_s);
        QCOMPARE(textOf(item(u"todayMinutes"_s, projectRow(u"学习"_s))), u"今日 0 分钟"_s);
        const QList<QQuickItem *> rows = PageFixture::byPosition(
            {projectRow(u"学习"_s), projectRow(u"工作"_s), projectRow(u"个人"_s)});
        QCOMPARE(rows.first()->objectName(), u"projectRow:学习"_s);
        QCOMPARE(rows.last()->objectName(), u"projectRow:个人"_s);
    }

    void shouldMarkTheSelection()
    {
        addReadingToStudy();
        QQuickItem *study = projectRow(u"学习"_s);
        QVERIFY(item(u"checkmark"_s, study)->isVisible());
        QCOMPARE(study->property("color").value<QColor>(), QColor::fromRgbF(1, 1, 1, 0.8f));
        QVERIFY(!item(u"checkmark"_s, subprojectRow(u"阅读"_s))->isVisible());

        window->click(item(u"selectButton"_s, subprojectRow(u"阅读"_s)));
        QCOMPARE(model().selectedProject(), u"学习"_s);
        QCOMPARE(model().selectedSubproject(), u"阅读"_s);
        QVERIFY(!item(u"checkmark"_s, projectRow(u"学习"_s))->isVisible());
        QCOMPARE(projectRow(u"学习"_s)->property("color").value<QColor>().alpha(), 0);
        QVERIFY(item(u"checkmark"_s, subprojectRow(u"阅读"_s))->isVisible());
        QVERIFY(!item(u"checkmark"_s, subprojectRow(u"写作"_s))->isVisible());

        window->click(item(u"selectButton"_s, projectRow(u"工作"_s)));
        QCOMPARE(model().selectedProject(), u"工作"_s);
        QCOMPARE(model().selectedSubproject(), QString());
        QVERIFY(item(u"checkmark"_s, projectRow(u"工作"_s))->isVisible());
    }

    void shouldIgnoreSelectionWhileStarted()
    {
        addReadingToStudy();
        window->runFor(10);
        model().pause();
        window->render();

        QVERIFY(item(u"selectButton"_s, projectRow(u"工作"_s))->isEnabled());
        window->click(item(u"selectButton"_s, projectRow(u"工作"_s)));
        QCOMPARE(model().selectedProject(), u"学习"_s);

        QVERIFY(!item(u"selectButton"_s, subprojectRow(u"阅读"_s))->isEnabled());
        QVERIFY(!item(u"menuButton"_s, subprojectRow(u"阅读"_s))->isEnabled());
        window->click(item(u"selectButton"_s, subprojectRow(u"阅读"_s)));
        QCOMPARE(model().selectedSubproject(), QString());

        model().reset();
        window->render();
        QVERIFY(item(u"selectButton"_s, subprojectRow(u"阅读"_s))->isEnabled());
        QVERIFY(item(u"menuButton"_s, subprojectRow(u"阅读"_s))->isEnabled());
    }

    void shouldCollapseOnlyProjectsWithSubprojects()
    {
        addReadingToStudy();
        QQuickItem *workChevron = item(u"chevronButton"_s, projectRow(u"工作"_s));
        QVERIFY(!workChevron->isEnabled());

        QQuickItem *chevron = item(u"chevronButton"_s, projectRow(u"学习"_s));
        QVERIFY(chevron->isEnabled());
        QCOMPARE(chevron->property("symbol").toString(), u"chevron.down"_s);
        window->click(chevron);
        QCOMPARE(window->draft->collapsedProjects(), QStringList {u"学习"_s});
        QVERIFY(!subprojectRow(u"阅读"_s));
        chevron = item(u"chevronButton"_s, projectRow(u"学习"_s));
        QCOMPARE(chevron->property("symbol").toString(), u"chevron.right"_s);

        // Selecting the project keeps it folded.
        window->click(item(u"selectButton"_s, projectRow(u"工作"_s)));
        window->click(item(u"selectButton"_s, projectRow(u"学习"_s)));
        QCOMPARE(window->draft->collapsedProjects(), QStringList {u"学习"_s});

        window->click(item(u"chevronButton"_s, projectRow(u"学习"_s)));
        QVERIFY(subprojectRow(u"阅读"_s));
        QVERIFY(window->draft->collapsedProjects().isEmpty());
    }

    void shouldOfferMovesExceptAtTheEnds()
    {
        QQuickItem *first = projectRow(u"学习"_s);
        QQuickItem *last = projectRow(u"个人"_s);
        QVERIFY(!enabled(menuEntry(first, u"moveUpItem"_s)));
        QVERIFY(enabled(menuEntry(first, u"moveDownItem"_s)));
        QVERIFY(enabled(menuEntry(last, u"moveUpItem"_s)));
        QVERIFY(!enabled(menuEntry(last, u"moveDownItem"_s)));

        trigger(menuEntry(first, u"moveDownItem"_s));
        QCOMPARE(model().projects(), (QStringList {u"工作"_s, u"学习"_s, u"个人"_s}));
    }

    void shouldKeepMovesAndEditingWhileStarted()
    {
        window->runFor(10);
        QQuickItem *row = projectRow(u"工作"_s);
        QVERIFY(enabled(menuEntry(row, u"moveUpItem"_s)));
        QVERIFY(enabled(menuEntry(row, u"moveDownItem"_s)));
        QVERIFY(enabled(menuEntry(row, u"newSubprojectItem"_s)));
        QVERIFY(enabled(menuEntry(row, u"editProjectItem"_s)));
        QVERIFY(!enabled(menuEntry(row, u"deleteProjectItem"_s)));
    }

    void shouldOfferDeleteOnlyWithMoreThanOneProject()
    {
        QVERIFY(enabled(menuEntry(projectRow(u"工作"_s), u"deleteProjectItem"_s)));
        trigger(menuEntry(projectRow(u"工作"_s), u"deleteProjectItem"_s));
        QCOMPARE(window->draft->confirmingDelete(), std::optional<QString>(u"工作"_s));
        QVERIFY(window->opened(u"deleteProjectDialog"_s));
        QCOMPARE(model().projects().size(), 3);

        model().deleteProject(u"工作"_s);
        model().deleteProject(u"个人"_s);
        window->draft->setConfirmingDelete(std::nullopt);
        window->render();
        QCOMPARE(model().projects(), QStringList {u"学习"_s});
        QVERIFY(!enabled(menuEntry(projectRow(u"学习"_s), u"deleteProjectItem"_s)));
    }

    void shouldOpenTheEditorFromTheSidebar()
    {
        window->click(item(u"newProjectButton"_s));
        QVERIFY(window->draft->showing());
        QCOMPARE(window->draft->mode(), ProjectDraft::NewProject);
        window->draft->closeProjectEditor();

        trigger(menuEntry(projectRow(u"工作"_s), u"editProjectItem"_s));
        QCOMPARE(window->draft->mode(), ProjectDraft::EditProject);
        QCOMPARE(window->draft->name(), u"工作"_s);
        window->draft->closeProjectEditor();

        trigger(menuEntry(projectRow(u"工作"_s), u"newSubprojectItem"_s));
        QCOMPARE(window->draft->mode(), ProjectDraft::NewSubproject);
        QCOMPARE(window->draft->editingProject(), std::optional<QString>(u"子项目|工作"_s));
        window->draft->closeProjectEditor();

        addReadingToStudy();
        trigger(menuEntry(subprojectRow(u"写作"_s), u"editSubprojectItem"_s));
        QCOMPARE(window->draft->mode(), ProjectDraft::EditSubproject);
        QCOMPARE(window->draft->editingSubprojectParent(), std::optional<QString>(u"学习"_s));
        QCOMPARE(window->draft->name(), u"写作"_s);
        QVERIFY(window->draft->showing());
    }

    void shouldMoveAndRemoveSubprojectsAtOnce()
    {
        addReadingToStudy();
        QVERIFY(!enabled(menuEntry(subprojectRow(u"阅读"_s), u"moveUpItem"_s)));
        QVERIFY(!enabled(menuEntry(subprojectRow(u"写作"_s), u"moveDownItem"_s)));
        trigger(menuEntry(subprojectRow(u"阅读"_s), u"moveDownItem"_s));
        QCOMPARE(model().subprojectsFor(u"学习"_s), (QStringList {u"写作"_s, u"阅读"_s}));

        window->click(item(u"selectButton"_s, subprojectRow(u"写作"_s)));
        trigger(menuEntry(subprojectRow(u"写作"_s), u"deleteSubprojectItem"_s));
        QCOMPARE(model().subprojectsFor(u"学习"_s), QStringList {u"阅读"_s});
        QVERIFY(!subprojectRow(u"写作"_s));
        QCOMPARE(model().selectedSubproject(), QString());
        QVERIFY(item(u"checkmark"_s, projectRow(u"学习"_s))->isVisible());
    }
};

QTEST_MAIN(SidebarTest)
#include "tst_sidebar.moc"
