// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"

#include "records/instant.h"
#include "ui/controls/colorcontrast.h"
#include "ui/history/historytreemodel.h"

#include <QFont>
#include <QQmlProperty>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString textOf(const QQuickItem *item)
{
    return item ? item->property("text").toString() : u"<missing>"_s;
}

FocusRecord record(const QString &title, int dayOfMarch, int hour)
{
    FocusRecord r;
    r.title = title;
    r.endedAt = Instant::fromDateTime(QDateTime(QDate(2024, 3, dayOfMarch), QTime(hour, 0)));
    r.duration = 25 * 60;
    r.startedAt = r.endedAt - r.duration;
    r.project = u"学习"_s;
    return r;
}

const QString summaryTail = u" 次；按完成日期归档，时长不含暂停。"_s;

} // namespace

class FocusHistoryViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    QQuickItem *page = nullptr;

    void showPage()
    {
        page = qobject_cast<QQuickItem *>(fixture->load(
            u"FocusHistoryView.qml"_s, {{u"model"_s, QVariant::fromValue(fixture->model.get())}}));
        QVERIFY(page);
    }
    QQuickItem *item(const QString &name) const { return fixture->item(name); }
    HistoryTreeModel *tree() const
    {
        QQuickItem *list = item(u"historyList"_s);
        return list ? qobject_cast<HistoryTreeModel *>(list->property("model").value<QObject *>())
                    : nullptr;
    }
    // Opens the first year, its first month and that month's first day.
    void openFirstDay()
    {
        HistoryTreeModel *model = tree();
        QVERIFY(model);
        model->setExpanded(0, true);
        model->setExpanded(1, true);
        model->setExpanded(2, true);
        fixture->render();
    }
    QStringList visibleTexts(const QString &name) const
    {
        QStringList texts;
        for (QQuickItem *found : PageFixture::byPosition(fixture->items(name))) {
            if (found->isVisible())
                texts.append(textOf(found));
        }
        return texts;
    }
    static QString accessibleName(QQuickItem *item)
    {
        return QQmlProperty(item, u"Accessible.name"_s, qmlContext(item)).read().toString();
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init() { fixture = std::make_unique<PageFixture>(); }
    void cleanup()
    {
        page = nullptr;
        fixture.reset();
    }

    void shouldShowTheEmptyStateWithoutRecords()
    {
        showPage();
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 0"_s + summaryTail);
        QVERIFY(item(u"historyEmptyState"_s)->isVisible());
        QVERIFY(item(u"historyEmptyState"_s)->height() >= 360);
        QCOMPARE(textOf(item(u"historyEmptyTitle"_s)), u"还没有专注记录"_s);
        QCOMPARE(textOf(item(u"historyEmptyDescription"_s)),
            u"完成一次专注计时后，事项和时长会自动保存在这里。"_s);
        QVERIFY(!item(u"historyUndoBanner"_s)->isVisible());
    }

    void shouldCountTheFilteredRecordsAndFollowEveryKeystroke()
    {
        QVERIFY(fixture->model->saveRecords(
            {record(u"读书"_s, 5, 20), record(u"跑步"_s, 5, 8), record(u"读报"_s, 4, 9)}));
        showPage();
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 3"_s + summaryTail);
        QVERIFY(!item(u"historyEmptyState"_s)->isVisible());

        fixture->click(item(u"historySearchField"_s));
        QTest::keyClick(&fixture->window, Qt::Key_R);
        fixture->render();
        QCOMPARE(fixture->model->recordSearch(), u"r"_s);
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 0"_s + summaryTail);
        QVERIFY(item(u"historyEmptyState"_s)->isVisible());

        QTest::keyClick(&fixture->window, Qt::Key_Backspace);
        fixture->render();
        QCOMPARE(fixture->model->recordSearch(), QString());
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 3"_s + summaryTail);

        fixture->model->setRecordSearch(u"读"_s);
        fixture->render();
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 2"_s + summaryTail);
        QCOMPARE(textOf(item(u"historySearchField"_s)), u"读"_s);
    }

    void shouldShowTheEmptyStateWhenTheSearchMatchesNothing()
    {
        QVERIFY(fixture->model->saveRecords({record(u"读书"_s, 5, 20)}));
        fixture->model->setRecordSearch(u"不存在"_s);
        showPage();
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 0"_s + summaryTail);
        QVERIFY(item(u"historyEmptyState"_s)->isVisible());
        QCOMPARE(textOf(item(u"historyEmptyTitle"_s)), u"还没有专注记录"_s);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList());
    }

    void shouldShowTheTreeClosedThenOpenedToTheRecords()
    {
        FocusRecord early = record(u"写报告"_s, 5, 20);
        early.subproject = u"周报"_s;
        early.early = true;
        early.wrapUp = u"下一步：配图"_s;
        QVERIFY(
            fixture->model->saveRecords({early, record(u"跑步"_s, 5, 8), record(u"旧"_s, 1, 8)}));
        showPage();
        QCOMPARE(tree()->rowCount(), 1);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList());
        // A screen reader hears whether a group is open.
        const auto heard = [&]() -> QString {
            QQuickItem *year = item(u"historyGroupHeader"_s);
            return accessibleName(year) + u'，'
                + QQmlProperty(year, u"Accessible.description"_s, qmlContext(year))
                      .read()
                      .toString();
        };
        QCOMPARE(heard(), u"2024年，已收起"_s);

        openFirstDay();
        QCOMPARE(heard(), u"2024年，已展开"_s);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"写报告"_s, u"跑步"_s}));
        QCOMPARE(
            visibleTexts(u"historyRecordProject"_s), QStringList({u"学习 / 周报"_s, u"学习"_s}));
        QCOMPARE(visibleTexts(u"historyRecordWrapUp"_s),
            QStringList({u"下一步：配图"_s, u"收尾未补"_s}));
        QCOMPARE(visibleTexts(u"historyRecordTime"_s),
            QStringList({u"19:35 – 20:00"_s, u"07:35 – 08:00"_s}));
        QCOMPARE(visibleTexts(u"historyRecordDuration"_s), QStringList({u"25分钟"_s, u"25分钟"_s}));
        QCOMPARE(visibleTexts(u"historyEarlyBadge"_s), QStringList({u"提前结束"_s}));
        // Written in the project's colour, darkened as far as it takes to be read.
        for (const QString &name : {u"historyRecordProject"_s, u"historyRecordDuration"_s}) {
            const QQuickItem *label = fixture->item(name);
            const QColor written = label->property("color").value<QColor>();
            QVERIFY(ColorContrast::ratio(written, QColor::fromRgbF(0.91f, 0.94f, 0.97f)) >= 4.5);
            QCOMPARE(written.hue(), fixture->model->projectColor(u"学习"_s).hue());
        }

        const QList<QQuickItem *> wrapUps =
            PageFixture::byPosition(fixture->items(u"historyRecordWrapUp"_s));
        // The missing note is set apart by its slant, at full strength so it stays legible.
        QVERIFY(!wrapUps.at(0)->property("font").value<QFont>().italic());
        QVERIFY(wrapUps.at(1)->property("font").value<QFont>().italic());
        QCOMPARE(wrapUps.at(1)->opacity(), 1.0);
        const QList<QQuickItem *> buttons =
            PageFixture::byPosition(fixture->items(u"historyDeleteButton"_s));
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(accessibleName(buttons.at(0)), u"删除专注记录：写报告"_s);
        QCOMPARE(QQmlProperty(buttons.at(0), u"ToolTip.text"_s, qmlContext(buttons.at(0)))
                     .read()
                     .toString(),
            u"删除这条专注记录"_s);
    }

    void shouldOfferUndoAfterADeleteUntilUndone()
    {
        QVERIFY(fixture->model->saveRecords({record(u"读书"_s, 5, 20), record(u"跑步"_s, 5, 8)}));
        showPage();
        openFirstDay();

        fixture->click(PageFixture::byPosition(fixture->items(u"historyDeleteButton"_s)).at(0));
        QCOMPARE(fixture->model->records().size(), 1);
        QVERIFY(item(u"historyUndoBanner"_s)->isVisible());
        QCOMPARE(textOf(item(u"historyUndoText"_s)), u"已删除：读书"_s);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"跑步"_s}));
        QCOMPARE(textOf(item(u"historySummary"_s)), u"已完成的专注 · 1"_s + summaryTail);

        fixture->click(item(u"historyUndoButton"_s));
        QVERIFY(!fixture->model->deletedRecord());
        QVERIFY(!item(u"historyUndoBanner"_s)->isVisible());
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"读书"_s, u"跑步"_s}));
    }

    void shouldOfferEveryProjectAfterAllProjects()
    {
        QVERIFY(fixture->model->addProject(u"运动"_s));
        QVERIFY(fixture->model->addProject(u"健身"_s));
        showPage();
        QQuickItem *projects = item(u"historyProjectPickerBox"_s);
        QVERIFY(projects);
        const QStringList expected = QStringList {u"全部项目"_s} + fixture->model->projects();
        QVERIFY(expected.contains(u"运动"_s));
        QCOMPARE(projects->property("model").toStringList(), expected);
        QCOMPARE(projects->property("displayText").toString(), u"全部项目"_s);
        QCOMPARE(projects->width(), 130.0);

        QVERIFY(QMetaObject::invokeMethod(
            projects, "activated", Q_ARG(int, int(expected.indexOf(u"运动"_s)))));
        QCOMPARE(fixture->model->recordProject(), u"运动"_s);

        QQuickItem *range = item(u"historyRangePickerBox"_s);
        QCOMPARE(range->property("model").toStringList(),
            QStringList({u"今天"_s, u"本周"_s, u"全部"_s}));
        QCOMPARE(range->property("displayText").toString(), u"全部"_s);
        QCOMPARE(range->width(), 90.0);
        QVERIFY(QMetaObject::invokeMethod(range, "activated", Q_ARG(int, 0)));
        QCOMPARE(fixture->model->recordRange(), u"今天"_s);

        QVERIFY(fixture->model->addProject(u"阅读"_s));
        QCOMPARE(projects->property("model").toStringList(),
            QStringList {u"全部项目"_s} + fixture->model->projects());
    }

    void shouldCloseEveryGroupWhenShownAgain()
    {
        QVERIFY(fixture->model->saveRecords({record(u"读书"_s, 5, 20)}));
        showPage();
        openFirstDay();
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"读书"_s}));
        page->setVisible(false);
        page->setVisible(true);
        fixture->render();
        QCOMPARE(tree()->rowCount(), 1);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList());
    }

    void shouldExportFromTheHeader()
    {
        showPage();
        QCOMPARE(textOf(item(u"historyExportButton"_s)), u"导出 CSV"_s);
        fixture->click(item(u"historyExportButton"_s));
        QCOMPARE(fixture->dialogs.saveDialogs, 1);
    }
};

QTEST_MAIN(FocusHistoryViewTest)
#include "tst_focushistoryview.moc"
