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

FocusRecord record(const QString &title, int dayOfMarch, int hour)
{
    FocusRecord r = PageFixture::record(u"学习"_s, dayOfMarch, 25);
    r.title = title;
    r.endedAt = Instant::fromDateTime(QDateTime(QDate(2024, 3, dayOfMarch), QTime(hour, 0)));
    r.startedAt = r.endedAt - r.duration;
    return r;
}

QString summary(int count)
{
    return u"已完成的专注 · %1 次；按完成日期归档，时长不含暂停。"_s.arg(count);
}

} // namespace

class FocusHistoryViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    QQuickItem *page = nullptr;

    QString text(const QString &name) const { return textIn(*fixture, name); }
    bool visible(const QString &name) const { return fixture->item(name)->isVisible(); }
    // Opens the first year, its first month and that month's first day.
    void openFirstDay()
    {
        auto *tree = qobject_cast<HistoryTreeModel *>(
            fixture->item(u"historyList"_s)->property("model").value<QObject *>());
        QVERIFY(tree);
        for (int row = 0; row < 3; ++row)
            tree->setExpanded(row, true);
        fixture->render();
    }
    QStringList visibleTexts(const QString &name) const
    {
        QStringList texts;
        for (QQuickItem *found : PageFixture::byPosition(fixture->items(name))) {
            if (found->isVisible())
                texts.append(found->property("text").toString());
        }
        return texts;
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init() { fixture = std::make_unique<PageFixture>(); }
    void cleanup()
    {
        page = nullptr;
        fixture.reset();
    }

    void shouldCountTheFilteredRecordsAndFollowEveryKeystroke()
    {
        QVERIFY(fixture->model->saveRecords(
            {record(u"读书"_s, 5, 20), record(u"跑步"_s, 5, 8), record(u"读报"_s, 4, 9)}));
        QVERIFY(showPage(*fixture, u"FocusHistoryView.qml"_s));
        QCOMPARE(text(u"historySummary"_s), summary(3));
        QVERIFY(!visible(u"historyEmptyState"_s));

        fixture->click(fixture->item(u"historySearchField"_s));
        fixture->press(Qt::Key_R);
        QCOMPARE(fixture->model->recordSearch(), u"r"_s);
        QCOMPARE(text(u"historySummary"_s), summary(0));
        QVERIFY(visible(u"historyEmptyState"_s));

        fixture->press(Qt::Key_Backspace);
        QCOMPARE(fixture->model->recordSearch(), QString());
        QCOMPARE(text(u"historySummary"_s), summary(3));
    }

    void shouldOpenTheTreeDeleteAndUndoThenCloseItWhenShownAgain()
    {
        FocusRecord noted = record(u"写报告"_s, 5, 20);
        noted.wrapUp = u"下一步：配图"_s;
        QVERIFY(fixture->model->saveRecords({noted, record(u"跑步"_s, 5, 8)}));
        page = showPage(*fixture, u"FocusHistoryView.qml"_s);
        QVERIFY(page);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList());
        // A screen reader hears whether a group is open.
        QQuickItem *year = fixture->item(u"historyGroupHeader"_s);
        const QQmlProperty heard(year, u"Accessible.description"_s, qmlContext(year));
        QCOMPARE(heard.read().toString(), u"已收起"_s);

        openFirstDay();
        QCOMPARE(heard.read().toString(), u"已展开"_s);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"写报告"_s, u"跑步"_s}));
        // Written in the project's colour, darkened as far as it takes to be read.
        const QColor written =
            fixture->item(u"historyRecordProject"_s)->property("color").value<QColor>();
        QVERIFY(ColorContrast::ratio(written, QColor::fromRgbF(0.91f, 0.94f, 0.97f)) >= 4.5);
        QCOMPARE(written.hue(), fixture->model->projectColor(u"学习"_s).hue());
        // The missing note is set apart by its slant, at full strength so it stays legible.
        const QList<QQuickItem *> wrapUps =
            PageFixture::byPosition(fixture->items(u"historyRecordWrapUp"_s));
        QVERIFY(!wrapUps.at(0)->property("font").value<QFont>().italic());
        QVERIFY(wrapUps.at(1)->property("font").value<QFont>().italic());
        QCOMPARE(wrapUps.at(1)->opacity(), 1.0);

        QVERIFY(!visible(u"historyUndoBanner"_s));
        fixture->click(PageFixture::byPosition(fixture->items(u"historyDeleteButton"_s)).at(0));
        QCOMPARE(fixture->model->records().size(), 1);
        QCOMPARE(text(u"historyUndoText"_s), u"已删除：写报告"_s);
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"跑步"_s}));
        fixture->click(fixture->item(u"historyUndoButton"_s));
        QVERIFY(!fixture->model->deletedRecord());
        QVERIFY(!visible(u"historyUndoBanner"_s));
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList({u"写报告"_s, u"跑步"_s}));

        page->setVisible(false);
        page->setVisible(true);
        fixture->render();
        QCOMPARE(visibleTexts(u"historyRecordTitle"_s), QStringList());
    }
};

QTEST_MAIN(FocusHistoryViewTest)
#include "tst_focushistoryview.moc"
