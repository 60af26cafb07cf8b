#include "windowfixture.h"

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
