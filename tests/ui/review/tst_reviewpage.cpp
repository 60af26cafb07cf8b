// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"

#include <QQmlProperty>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString textOf(const QQuickItem *item)
{
    return item ? item->property("text").toString() : u"<missing>"_s;
}

} // namespace

class ReviewPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    QQuickItem *page = nullptr;

    void showPage()
    {
        page = qobject_cast<QQuickItem *>(fixture->load(
            u"ReviewPage.qml"_s, {{u"model"_s, QVariant::fromValue(fixture->model.get())}}));
        QVERIFY(page);
    }
    QList<QQuickItem *> columns() const
    {
        return PageFixture::byPosition(fixture->items(u"reviewColumn"_s));
    }
    QList<QQuickItem *> segments(int column) const
    {
        return PageFixture::byPosition(fixture->items(u"reviewSegment"_s, columns().at(column)));
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init() { fixture = std::make_unique<PageFixture>(); }
    void cleanup()
    {
        page = nullptr;
        fixture.reset();
    }

    void shouldShowZerosAndSevenEmptyDaysForAnEmptyWeek()
    {
        showPage();
        QCOMPARE(textOf(fixture->item(u"reviewTotal"_s)), u"0 小时"_s);
        QCOMPARE(textOf(fixture->item(u"reviewGoal"_s)), u"0 / 7 天"_s);
        QCOMPARE(textOf(fixture->item(u"reviewLongest"_s)), u"0 分钟"_s);
        QCOMPARE(textOf(fixture->item(u"reviewSummary"_s)), fixture->model->weekSummary());
        QVERIFY(!fixture->model->weekSummary().isEmpty());

        const QList<QQuickItem *> days = columns();
        QCOMPARE(days.size(), 7);
        const QStringList weekdays = {
            u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s, u"日"_s};
        for (int i = 0; i < days.size(); ++i) {
            QCOMPARE(textOf(fixture->item(u"reviewWeekday"_s, days.at(i))), weekdays.at(i));
            QCOMPARE(textOf(fixture->item(u"reviewDayMinutes"_s, days.at(i))), u"0m"_s);
        }
        QVERIFY(fixture->items(u"reviewSegment"_s).isEmpty());
        QVERIFY(fixture->items(u"reviewLegendRow"_s).isEmpty());
    }

    void shouldLayOutSevenEqualColumnsWithBarsOf150()
    {
        showPage();
        const QList<QQuickItem *> days = columns();
        QCOMPARE(days.size(), 7);
        for (int i = 0; i < days.size(); ++i) {
            QCOMPARE(days.at(i)->width(), days.at(0)->width());
            QCOMPARE(fixture->item(u"reviewBar"_s, days.at(i))->height(), 150.0);
            if (i > 0)
                QCOMPARE(PageFixture::sceneRect(days.at(i)).left()
                        - PageFixture::sceneRect(days.at(i - 1)).right(),
                    12.0);
        }
    }

    void shouldClampSegmentHeights_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("height");

        QTest::newRow("2 minutes reach the floor") << 2.0 << 3.0;
        QTest::newRow("6 minutes are 2.7 points, raised to 3") << 6.0 << 3.0;
        QTest::newRow("100 minutes are 45 points") << 100.0 << 45.0;
        QTest::newRow("266 minutes are 119.7 points") << 266.0 << 119.7;
        QTest::newRow("400 minutes reach the cap") << 400.0 << 120.0;
    }
    void shouldClampSegmentHeights()
    {
        QFETCH(double, minutes);
        QFETCH(double, height);

        // Thursday is the fourth column.
        QVERIFY(fixture->model->saveRecords({PageFixture::record(u"工作"_s, 14, minutes)}));
        showPage();

        const QList<QQuickItem *> thursday = segments(3);
        QCOMPARE(thursday.size(), 1);
        QVERIFY(qAbs(thursday.first()->height() - height) < 1e-9);
        const QQuickItem *bar = fixture->item(u"reviewBar"_s, columns().at(3));
        QCOMPARE(PageFixture::sceneRect(thursday.first()).bottom(),
            PageFixture::sceneRect(bar).bottom());
        QCOMPARE(thursday.first()->width(), bar->width());
        QCOMPARE(textOf(fixture->item(u"reviewDayMinutes"_s, columns().at(3))),
            QString::number(qint64(minutes)) + u"m"_s);
    }

    void shouldStackTheFirstCatalogueProjectAtTheBottom()
    {
        QVERIFY(fixture->model->saveRecords({
            PageFixture::record(u"学习"_s, 11, 60),
            PageFixture::record(u"个人"_s, 11, 20),
            PageFixture::record(u"未分类"_s, 11, 30),
        }));
        showPage();

        const QList<QQuickItem *> monday = segments(0);
        QCOMPARE(monday.size(), 2);
        // Top to bottom: 个人 (last in the catalogue), then 学习; 未分类 has no segment.
        QCOMPARE(monday.at(0)->property("color").value<QColor>(),
            fixture->model->projectColor(u"个人"_s));
        QCOMPARE(monday.at(1)->property("color").value<QColor>(),
            fixture->model->projectColor(u"学习"_s));
        QCOMPARE(monday.at(0)->height(), 9.0);
        QCOMPARE(monday.at(1)->height(), 27.0);
        QCOMPARE(PageFixture::sceneRect(monday.at(1)).top()
                - PageFixture::sceneRect(monday.at(0)).bottom(),
            2.0);
        QCOMPARE(PageFixture::sceneRect(monday.at(1)).bottom(),
            PageFixture::sceneRect(fixture->item(u"reviewBar"_s, columns().at(0))).bottom());
        // The uncatalogued half hour still counts in the day's minutes.
        QCOMPARE(textOf(fixture->item(u"reviewDayMinutes"_s, columns().at(0))), u"110m"_s);
    }

    void shouldKeepTallStacksInsideTheBarArea()
    {
        QVERIFY(fixture->model->saveRecords({
            PageFixture::record(u"学习"_s, 12, 300),
            PageFixture::record(u"工作"_s, 12, 300),
        }));
        showPage();
        const QQuickItem *bar = fixture->item(u"reviewBar"_s, columns().at(1));
        QCOMPARE(segments(1).size(), 2);
        QVERIFY(bar->clip());
        QCOMPARE(bar->height(), 150.0);
        // Both projects at the cap are scaled to fit: neither is cut off at the top.
        for (const QQuickItem *segment : segments(1)) {
            const QRectF inBar = segment->mapRectToItem(bar, segment->boundingRect());
            QVERIFY2(inBar.top() >= -1e-9 && inBar.bottom() <= 150.0 + 1e-9,
                qPrintable(u"segment at %1 … %2"_s.arg(inBar.top()).arg(inBar.bottom())));
        }
    }

    void shouldShowLegendSharesOfWholeMinutes_data()
    {
        QTest::addColumn<FocusRecordList>("records");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<double>>("fractions");

        QTest::newRow("three records of 40.9 minutes pass 100%")
            << FocusRecordList {PageFixture::record(u"学习"_s, 11, 40.9),
                   PageFixture::record(u"学习"_s, 12, 40.9),
                   PageFixture::record(u"学习"_s, 13, 40.9)}
            << QStringList {u"学习"_s} << QStringList {u"2h 2m · 101%"_s} << QList<double> {1.0};
        QTest::newRow("catalogue order and uncatalogued time in the whole")
            << FocusRecordList {PageFixture::record(u"个人"_s, 11, 30),
                   PageFixture::record(u"学习"_s, 15, 125),
                   PageFixture::record(u"未分类"_s, 17, 145)}
            << QStringList {u"学习"_s, u"个人"_s}
            << QStringList {u"2h 5m · 41%"_s, u"0h 30m · 10%"_s}
            << QList<double> {125.0 / 300.0, 30.0 / 300.0};
    }
    void shouldShowLegendSharesOfWholeMinutes()
    {
        QFETCH(FocusRecordList, records);
        QFETCH(QStringList, names);
        QFETCH(QStringList, texts);
        QFETCH(QList<double>, fractions);

        QVERIFY(fixture->model->saveRecords(records));
        showPage();

        const QList<QQuickItem *> rows =
            PageFixture::byPosition(fixture->items(u"reviewLegendRow"_s));
        QCOMPARE(rows.size(), names.size());
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(textOf(fixture->item(u"reviewLegendName"_s, rows.at(i))), names.at(i));
            QCOMPARE(textOf(fixture->item(u"reviewLegendText"_s, rows.at(i))), texts.at(i));
            const QQuickItem *track = fixture->item(u"reviewLegendTrack"_s, rows.at(i));
            const QQuickItem *fill = fixture->item(u"reviewLegendFill"_s, rows.at(i));
            QCOMPARE(track->width(), rows.at(i)->width());
            QCOMPARE(track->height(), 6.0);
            QVERIFY(qAbs(fill->width() - track->width() * fractions.at(i)) < 1e-6);
            QCOMPARE(
                fill->property("color").value<QColor>(), fixture->model->projectColor(names.at(i)));
        }
    }

    void shouldMoveBetweenWeeksWithTheChevrons()
    {
        QVERIFY(fixture->model->saveRecords({PageFixture::record(u"学习"_s, 12, 90)}));
        showPage();
        const QString thisWeek = textOf(fixture->item(u"reviewWeekLabel"_s));
        QCOMPARE(textOf(fixture->item(u"reviewTotal"_s)), u"1 小时"_s);

        fixture->click(fixture->item(u"reviewNext"_s));
        QCOMPARE(fixture->model->selectedWeekOffset(), 1);
        QVERIFY(textOf(fixture->item(u"reviewWeekLabel"_s)) != thisWeek);
        QCOMPARE(textOf(fixture->item(u"reviewTotal"_s)), u"0 小时"_s);
        QCOMPARE(fixture->model->weekColumns()->value(0, "date").toDate(), QDate(2024, 3, 18));
        QVERIFY(fixture->items(u"reviewSegment"_s).isEmpty());

        fixture->click(fixture->item(u"reviewPrevious"_s));
        fixture->click(fixture->item(u"reviewPrevious"_s));
        QCOMPARE(fixture->model->selectedWeekOffset(), -1);
        QCOMPARE(fixture->model->weekColumns()->value(0, "date").toDate(), QDate(2024, 3, 4));

        fixture->click(fixture->item(u"reviewNext"_s));
        QCOMPARE(fixture->model->selectedWeekOffset(), 0);
        QCOMPARE(textOf(fixture->item(u"reviewWeekLabel"_s)), thisWeek);
        QCOMPARE(textOf(fixture->item(u"reviewTotal"_s)), u"1 小时"_s);
        QCOMPARE(segments(1).size(), 1);
    }

    void shouldFollowNewRecordsWhileShown()
    {
        showPage();
        QVERIFY(fixture->items(u"reviewLegendRow"_s).isEmpty());
        QVERIFY(fixture->model->saveRecords({PageFixture::record(u"工作"_s, 16, 240)}));
        fixture->render();
        QCOMPARE(textOf(fixture->item(u"reviewTotal"_s)), u"4 小时"_s);
        QCOMPARE(textOf(fixture->item(u"reviewLongest"_s)), u"240 分钟"_s);
        QCOMPARE(fixture->items(u"reviewLegendRow"_s).size(), 1);
        QCOMPARE(segments(5).size(), 1);
    }
};

QTEST_MAIN(ReviewPageTest)
#include "tst_reviewpage.moc"
