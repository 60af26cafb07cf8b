// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ReviewPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;

    void show(const FocusRecordList &records)
    {
        if (!records.isEmpty())
            QVERIFY(fixture->model->saveRecords(records));
        QVERIFY(showPage(*fixture, u"ReviewPage.qml"_s));
    }
    QString text(const QString &name, QQuickItem *root = nullptr) const
    {
        return textIn(*fixture, name, root);
    }
    QList<QQuickItem *> columns() const
    {
        return PageFixture::byPosition(fixture->items(u"reviewColumn"_s));
    }
    // The text of that objectName in each of these items, in their order on screen.
    QStringList textsIn(const QString &name, const QString &rootName) const
    {
        QStringList texts;
        for (QQuickItem *root : PageFixture::byPosition(fixture->items(rootName)))
            texts.append(text(name, root));
        return texts;
    }
    QList<QQuickItem *> segments(int column) const
    {
        return PageFixture::byPosition(fixture->items(u"reviewSegment"_s, columns().at(column)));
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init() { fixture = std::make_unique<PageFixture>(); }
    void cleanup() { fixture.reset(); }

    void shouldStackEachDayAsTheModelSizesIt()
    {
        show({PageFixture::record(u"学习"_s, 11, 60), PageFixture::record(u"个人"_s, 11, 20),
            PageFixture::record(u"未分类"_s, 11, 30), PageFixture::record(u"工作"_s, 14, 400),
            PageFixture::record(u"工作"_s, 16, 2)});
        const auto heights = [&](int column) {
            QList<double> found;
            for (const QQuickItem *segment : segments(column))
                found.append(segment->height());
            return found;
        };
        // Top to bottom on Monday: 个人 (last in the catalogue), then 学习; 未分类 has no
        // segment. Thursday's bar reaches the cap, Saturday's sliver the floor.
        QCOMPARE(heights(0), QList<double>({9.0, 27.0}));
        QCOMPARE(heights(3), QList<double>({120.0}));
        QCOMPARE(heights(5), QList<double>({3.0}));
        // The uncatalogued half hour still counts in the day's minutes.
        QCOMPARE(textsIn(u"reviewDayMinutes"_s, u"reviewColumn"_s),
            QStringList({u"110m"_s, u"0m"_s, u"0m"_s, u"400m"_s, u"0m"_s, u"2m"_s, u"0m"_s}));
    }

    void shouldMoveBetweenWeeksWithTheChevrons()
    {
        show({PageFixture::record(u"学习"_s, 12, 90)});
        QCOMPARE(text(u"reviewTotal"_s), u"1 小时"_s);

        fixture->click(fixture->item(u"reviewNext"_s));
        QCOMPARE(fixture->model->selectedWeekOffset(), 1);
        QCOMPARE(text(u"reviewTotal"_s), u"0 小时"_s);
        QCOMPARE(fixture->model->weekColumns()->value(0, "date").toDate(), QDate(2024, 3, 18));
        QVERIFY(fixture->items(u"reviewSegment"_s).isEmpty());

        fixture->click(fixture->item(u"reviewPrevious"_s));
        fixture->click(fixture->item(u"reviewPrevious"_s));
        QCOMPARE(fixture->model->weekColumns()->value(0, "date").toDate(), QDate(2024, 3, 4));

        fixture->click(fixture->item(u"reviewNext"_s));
        QCOMPARE(text(u"reviewTotal"_s), u"1 小时"_s);
        QCOMPARE(segments(1).size(), 1);
    }

    void shouldFollowNewRecordsWhileShown()
    {
        show({});
        // The uncatalogued time counts in the whole, but has no row of its own.
        QVERIFY(fixture->model->saveRecords({PageFixture::record(u"个人"_s, 11, 30),
            PageFixture::record(u"学习"_s, 15, 125), PageFixture::record(u"未分类"_s, 17, 145)}));
        fixture->render();
        QCOMPARE(text(u"reviewTotal"_s), u"5 小时"_s);
        QCOMPARE(textsIn(u"reviewLegendName"_s, u"reviewLegendRow"_s),
            QStringList({u"学习"_s, u"个人"_s}));
        QCOMPARE(textsIn(u"reviewLegendText"_s, u"reviewLegendRow"_s),
            QStringList({u"2h 5m · 41%"_s, u"0h 30m · 10%"_s}));
        QCOMPARE(segments(4).size(), 1);
    }
};

QTEST_MAIN(ReviewPageTest)
#include "tst_reviewpage.moc"
