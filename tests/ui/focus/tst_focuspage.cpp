// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowfixture.h"

#include "ui/app/startupfonts.h"
#include "ui/history/historytreemodel.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryFile>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace {

// The display scales of the offscreen screens, side by side from the primary one at 1. The
// platform takes a screen's scale from its logical DPI; a window moved onto a screen takes its
// device pixel ratio, as on a desktop whose monitors have different scales.
const QList<qreal> displayScales = {1.0, 1.25, 1.5, 1.75, 2.0};

QByteArray scaledScreens()
{
    QByteArray screens;
    for (qsizetype i = 0; i < displayScales.size(); ++i) {
        screens += (i ? ", " : "")
            + QStringLiteral(R"({"name": "x%1", "x": %2, "y": 0, )"
                             R"("width": 2000, "height": 2600, )"
                             R"("logicalDpi": %3, "dpr": 1})")
                  .arg(displayScales[i])
                  .arg(i * 2000)
                  .arg(96 * displayScales[i])
                  .toLatin1();
    }
    return R"({"screens": [)" + screens + "]}";
}

// What one drawn element (a ring, a slice ring, a symbol) put on the screen, in logical pixels:
// its ink, each pixel weighted by how far it differs from what lies under the element, and the
// box of the pixels it changed.
struct Ink {
    QString name;
    QPointF place;
    qreal amount = 0;
    QRectF box;
    qreal rotation = 0;
};

bool isDrawnElement(const QQuickItem *item)
{
    static const QStringList names = {u"ringTrack"_s, u"goalArc"_s, u"sessionArc"_s,
        u"todayTrack"_s, u"todaySegments"_s, u"completionSymbol"_s};
    static const QStringList types = {u"WindowSymbol"_s, u"ReviewSymbol_"_s, u"HistoryChevron_"_s,
        u"HistoryTrashIcon_"_s, u"HistoryClockBadgeIcon_"_s};
    const QString type = QString::fromLatin1(item->metaObject()->className());
    return names.contains(item->objectName())
        || std::any_of(types.begin(), types.end(),
            [&](const QString &prefix) { return type.startsWith(prefix); });
}

// Shown whole: visible, not transparent, and inside the window and every clipping ancestor.
bool shownWhole(const QQuickItem *item)
{
    if (!item->isVisible() || item->width() <= 0 || item->height() <= 0)
        return false;
    const QRectF rect = PageFixture::sceneRect(item);
    QRectF shown(QPointF(0, 0), item->window()->size());
    for (const QQuickItem *up = item; up; up = up->parentItem()) {
        if (up->opacity() <= 0)
            return false;
        if (up != item && up->clip())
            shown &= PageFixture::sceneRect(up);
    }
    return shown.contains(rect);
}

QString fontKey(const QFont &font)
{
    return font.family() + u' ' + QString::number(font.pixelSize()) + u' '
        + QString::number(font.weight());
}

// The fonts of every text under item, shown or not (each one is laid out, so each opens its
// font), but the ring's time, whose size follows the window's.
void collectTextFonts(QQuickItem *item, QStringList &found)
{
    if ((item->inherits("QQuickText") || item->inherits("QQuickTextInput")
            || item->inherits("QQuickTextEdit"))
        && item->objectName() != u"ringDisplay"_s)
        found.append(fontKey(item->property("font").value<QFont>()));
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectTextFonts(child, found);
}

void collectDrawnElements(QQuickItem *item, QList<QQuickItem *> &found)
{
    if (isDrawnElement(item)) {
        if (shownWhole(item))
            found.append(item);
        return;
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectDrawnElements(child, found);
}

// Moves the window onto the screen, draws it there, and measures each drawn element under root
// against a picture of the same window with every one of them hidden.
QList<Ink> inkOnScreen(PageFixture &page, QQuickItem *root, QScreen *screen)
{
    page.window.setPosition(screen->geometry().topLeft());
    page.render();
    QList<QQuickItem *> elements;
    collectDrawnElements(root, elements);
    elements = PageFixture::byPosition(elements);
    const QImage shown = page.window.grabWindow().convertToFormat(QImage::Format_RGB32);
    QList<qreal> opacities;
    for (QQuickItem *element : elements) {
        opacities.append(element->opacity());
        element->setOpacity(0);
    }
    const QImage hidden = page.window.grabWindow().convertToFormat(QImage::Format_RGB32);
    for (qsizetype i = 0; i < elements.size(); ++i)
        elements[i]->setOpacity(opacities[i]);
    page.render();

    const qreal ratio = page.window.effectiveDevicePixelRatio();
    QList<Ink> result;
    for (QQuickItem *element : elements) {
        Ink ink;
        ink.name = QString::fromLatin1(element->metaObject()->className()).section(u'_', 0, 0)
            + u' ' + element->objectName();
        ink.rotation = element->rotation();
        const QRectF logical = PageFixture::sceneRect(element);
        ink.place = logical.topLeft();
        const QRect pixels = QRectF(logical.topLeft() * ratio, logical.bottomRight() * ratio)
                                 .toAlignedRect()
                                 .intersected(shown.rect());
        QRect changed;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            const auto *with = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
            const auto *without = reinterpret_cast<const QRgb *>(hidden.constScanLine(y));
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const int difference = std::max({std::abs(qRed(with[x]) - qRed(without[x])),
                    std::abs(qGreen(with[x]) - qGreen(without[x])),
                    std::abs(qBlue(with[x]) - qBlue(without[x]))});
                ink.amount += difference / 255.0;
                if (difference >= 8)
                    changed |= QRect(x, y, 1, 1);
            }
        }
        ink.amount /= ratio * ratio;
        ink.box = QRectF(changed.topLeft().toPointF() / ratio,
            QPointF(changed.right() + 1, changed.bottom() + 1) / ratio);
        result.append(ink);
    }
    return result;
}

QScreen *screenOfScale(qreal scale)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const auto found = std::find_if(screens.begin(), screens.end(),
        [&](const QScreen *screen) { return qFuzzyCompare(screen->devicePixelRatio(), scale); });
    return found == screens.end() ? nullptr : *found;
}

} // namespace

enum class State { Idle, Running, Paused, Finished };

class FocusPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> window;

    QQuickItem *item(const QString &name) const { return window->item(name); }
    TimerModel &model() const { return *window->model; }
    QStringList legend() const
    {
        QStringList rows;
        const QList<QQuickItem *> found = window->items(u"legendRow"_s);
        for (QQuickItem *row : found) {
            rows.append(textOf(window->item(u"legendKey"_s, row)) + u'|'
                + textOf(window->item(u"legendValue"_s, row)));
        }
        return rows;
    }

    // A fresh main window on that screen showing the page: a goal two thirds met, three slices
    // today and a running session (no records for the empty history). The root of what shows
    // the page, or null.
    QQuickItem *showOn(QScreen *screen, const QString &page)
    {
        window = std::make_unique<WindowFixture>();
        window->window.setPosition(screen->geometry().topLeft());
        if (!window->show())
            return nullptr;
        model().setDailyGoalHours(3);
        if (page != u"empty history"_s) {
            model().saveRecords({PageFixture::todayRecord(u"学习"_s, 30, u"阅读"_s),
                PageFixture::todayRecord(u"学习"_s, 30), PageFixture::todayRecord(u"工作"_s, 60)});
        }
        window->runFor(125);
        if (page == u"review"_s) {
            window->click(item(u"navReview"_s));
        } else if (page.endsWith(u"history"_s)) {
            window->click(item(u"navRecords"_s));
            auto *tree = qobject_cast<HistoryTreeModel *>(
                item(u"historyList"_s)->property("model").value<QObject *>());
            // The year, the month and the day.
            for (int row = 0; tree && row < 3 && row < tree->rowCount(); ++row)
                tree->setExpanded(row, true);
        } else if (page == u"alert"_s) {
            return qobject_cast<QQuickItem *>(window->load(
                u"CompletionView.qml"_s, {{u"model"_s, QVariant::fromValue(window->model.get())}}));
        }
        return window->view;
    }

    // In logical pixels each element's ink, and the box of its ink, are those of the reference.
    static void compareInk(const QList<Ink> &reference, const QList<Ink> &drawn, const char *where)
    {
        QCOMPARE(drawn.size(), reference.size());
        for (qsizetype i = 0; i < reference.size(); ++i) {
            const Ink &expected = reference[i];
            const Ink &actual = drawn[i];
            const QString what = expected.name + u" at "_s + QString::number(expected.place.x())
                + u',' + QString::number(expected.place.y()) + u' ' + QString::fromUtf8(where);
            QCOMPARE(actual.name, expected.name);
            QVERIFY2(expected.amount >= 0.5 && !expected.box.isEmpty(),
                qPrintable(QString(what + u": no ink at scale 1"_s)));
            // The faintest symbols, of a pixel or two of ink, lose some of it to rounding.
            QVERIFY2(qAbs(actual.amount - expected.amount) <= 0.15 * expected.amount + 0.5,
                qPrintable(QString(what + u": "_s + QString::number(actual.amount)
                    + u" px² of ink instead of "_s + QString::number(expected.amount))));
            // A disclosure arrow may still be turning; its ink does not depend on that.
            if (actual.rotation != expected.rotation)
                continue;
            const QRectF &a = expected.box;
            const QRectF &b = actual.box;
            const qreal apart = std::max({qAbs(a.left() - b.left()), qAbs(a.top() - b.top()),
                qAbs(a.right() - b.right()), qAbs(a.bottom() - b.bottom())});
            QVERIFY2(apart < 1.5,
                qPrintable(QString(what + u": edges of the ink "_s + QString::number(apart)
                    + u" px from where they belong"_s)));
        }
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        window = std::make_unique<WindowFixture>();
        QVERIFY(window->show());
    }
    void cleanup() { window.reset(); }

    void shouldFollowTheCountdownState_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QString>("stateText");
        QTest::addColumn<QString>("startLabel");

        QTest::newRow("idle") << State::Idle << u"准备开始"_s << u"开始"_s;
        QTest::newRow("running") << State::Running << u"正在专注"_s << u"暂停"_s;
        QTest::newRow("paused") << State::Paused << u"已暂停"_s << u"继续"_s;
        // Ran to zero and not yet reset: recorded, and the button starts the next session.
        QTest::newRow("finished") << State::Finished << u"已完成"_s << u"开始"_s;
    }

    void shouldFollowTheCountdownState()
    {
        QFETCH(State, state);
        QFETCH(QString, stateText);
        QFETCH(QString, startLabel);

        model().setMinutes(10);
        if (state != State::Idle)
            window->runFor(state == State::Finished ? 25 * 60 + 1 : 125);
        if (state == State::Paused)
            model().pause();
        window->render();
        QCOMPARE(textOf(item(u"ringState"_s)), stateText);
        QCOMPARE(textOf(item(u"startPauseButton"_s)), startLabel);

        // One button starts, pauses and resumes; after a natural end it starts the next
        // session of the chosen length.
        const qsizetype records = model().records().size();
        window->click(item(u"startPauseButton"_s));
        QCOMPARE(model().running(), state != State::Running);
        QCOMPARE(model().started(), true);
        if (state != State::Paused)
            QCOMPARE(model().remaining(), state == State::Running ? 10 * 60 - 125.0 : 10 * 60.0);
        QCOMPARE(model().records().size(), records);
    }

    void shouldStartAndPauseWithSpaceUnlessTyping()
    {
        // A picker chosen with the mouse keeps the keyboard but shows no ring: Space is still
        // the timer's.
        QQuickItem *picker = window->item(u"picker"_s, item(u"minutesPicker"_s));
        window->click(picker);
        window->press(Qt::Key_Escape);
        QVERIFY(picker->hasActiveFocus());
        window->press(Qt::Key_Space);
        QVERIFY(model().running());
        window->clock.advance(30);
        window->press(Qt::Key_Space);
        QVERIFY(!model().running());
        QCOMPARE(model().remaining(), 25 * 60 - 30.0);
        model().reset();
        window->render();

        // In the title field Space is a space.
        item(u"titleField"_s)->forceActiveFocus();
        window->type(u"a b"_s);
        QCOMPARE(model().title(), u"a b"_s);
        QVERIFY(!model().started());
    }

    void shouldShowTheSessionsOwnAttribution()
    {
        model().addSubproject(u"阅读"_s, u"学习"_s);
        model().setSelectedProject(u"学习"_s);
        model().setSelectedSubproject(u"阅读"_s);
        window->runFor(600);
        // Adding a project selects it, but the running time still goes to the session's own.
        model().addProject(u"写作"_s);
        window->render();
        QCOMPARE(textOf(item(u"attribution"_s)), u"计时归属：学习 / 阅读"_s);
        // Today's ring is the running session alone.
        QCOMPARE(legend(), QStringList {u"学习 / 阅读|10分 · 100%"_s});
        QCOMPARE(textOf(item(u"todayRingTotal"_s)), u"0:10"_s);
    }

    void shouldShowTodayAgainstTheGoal_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<QString>("total");

        QTest::newRow("nothing yet") << 0.0 << 0.0 << u"0:00"_s;
        QTest::newRow("half") << 60.0 << 0.5 << u"1:00"_s;
        QTest::newRow("over the goal") << 180.0 << 1.0 << u"3:00"_s;
    }

    void shouldShowTodayAgainstTheGoal()
    {
        QFETCH(double, minutes);
        QFETCH(double, fraction);
        QFETCH(QString, total);

        model().setDailyGoalHours(2);
        if (minutes > 0)
            model().saveRecords({PageFixture::todayRecord(u"学习"_s, minutes)});
        // A paused session adds nothing.
        window->runFor(600);
        model().pause();
        window->render();
        QCOMPARE(textOf(item(u"dateHeader"_s)), u"2024年3月13日 星期三"_s);
        QCOMPARE(textOf(item(u"todayTotal"_s)), total);
        QCOMPARE(item(u"goalArc"_s)->property("fraction").toDouble(), fraction);
        QCOMPARE(item(u"todayEmptyText"_s)->isVisible(), minutes == 0);
    }

    void shouldListTodaysSlicesInKeyOrder()
    {
        model().saveRecords({PageFixture::todayRecord(u"学习"_s, 30, u"阅读"_s),
            PageFixture::todayRecord(u"学习"_s, 30), PageFixture::todayRecord(u"工作"_s, 60)});
        window->render();
        QCOMPARE(legend(),
            (QStringList {
                u"学习|30分 · 25%"_s, u"学习 / 阅读|30分 · 25%"_s, u"工作|60分 · 50%"_s}));
        QQuickItem *ring = item(u"todaySegments"_s);
        const auto *slices = ring->property("slices").value<FigureListModel *>();
        QCOMPARE(slices->count(), 3);
        QCOMPARE(slices->value(0, "start").toDouble(), 0.0);
        QCOMPARE(slices->value(2, "end").toDouble(), 1.0);
        // Each slice is drawn in its colour, halfway along its arc on the band's middle line, also
        // after a record of another project added one.
        const auto verifyDrawn = [&] {
            const QImage shot = window->window.grabWindow();
            const qreal ratio = window->window.effectiveDevicePixelRatio();
            const QRectF box = PageFixture::sceneRect(ring);
            const qreal radius = std::min(box.width(), box.height()) / 2 - 15;
            for (int row = 0; row < slices->count(); ++row) {
                const qreal turn = (slices->value(row, "startAngle").toDouble()
                                       + slices->value(row, "sweepAngle").toDouble() / 2)
                    * std::numbers::pi / 180;
                const QPointF point =
                    box.center() + radius * QPointF(std::sin(turn), -std::cos(turn));
                const QColor drawn = shot.pixelColor((point * ratio).toPoint());
                const QColor expected = slices->value(row, "color").value<QColor>();
                QVERIFY2(qAbs(drawn.red() - expected.red()) <= 8
                        && qAbs(drawn.green() - expected.green()) <= 8
                        && qAbs(drawn.blue() - expected.blue()) <= 8,
                    qPrintable(u"slice %1 drawn in %2 instead of %3"_s.arg(row).arg(
                        drawn.name(), expected.name())));
            }
        };
        verifyDrawn();
        FocusRecordList more = model().records();
        more.append(PageFixture::todayRecord(u"个人"_s, 60));
        model().saveRecords(more);
        window->render();
        QCOMPARE(slices->count(), 4);
        verifyDrawn();
    }

    // The application opens the fonts of the main window's texts while the window compiles:
    // exactly those, so none is opened in the window's way and none for nothing.
    void shouldOpenAheadTheFontsTheOpeningWindowShows()
    {
        QQuickWindow *main = window->openMainWindow();
        QVERIFY(main);
        QStringList shown;
        collectTextFonts(main->contentItem(), shown);
        shown.sort();
        shown.removeDuplicates();
        QStringList opened;
        const QList<QFont> fonts = StartupFonts::fonts();
        for (const QFont &font : fonts)
            opened.append(fontKey(font));
        opened.sort();
        QCOMPARE(shown, opened);
    }

    // Every drawn element of each page lands whole and in place when the window starts on a scaled
    // screen, and after it moved from there onto a screen at scale 1.
    void shouldDrawEveryElementWholeAtEachScale_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<qreal>("scale");
        for (const char *page : {"focus", "review", "history", "empty history", "alert"}) {
            for (const qreal scale : displayScales)
                QTest::addRow("%s at %g", page, scale) << QString::fromLatin1(page) << scale;
        }
    }

    void shouldDrawEveryElementWholeAtEachScale()
    {
        QFETCH(QString, page);
        QFETCH(qreal, scale);
        QScreen *unscaled = screenOfScale(1);
        QScreen *scaled = screenOfScale(scale);
        QVERIFY2(unscaled && scaled, "the offscreen platform has no screen at this scale");

        QQuickItem *root = showOn(unscaled, page);
        QVERIFY(root);
        const QList<Ink> reference = inkOnScreen(*window, root, unscaled);
        QVERIFY(!reference.isEmpty());

        root = showOn(scaled, page);
        QVERIFY(root);
        const QList<Ink> started = inkOnScreen(*window, root, scaled);
        QCOMPARE(window->window.effectiveDevicePixelRatio(), scale);
        compareInk(reference, started, "on the scaled screen");
        if (QTest::currentTestFailed())
            return;
        compareInk(reference, inkOnScreen(*window, root, unscaled), "after the move");
    }
};

int main(int argc, char **argv)
{
    // Screens at every display scale, unless the test runs on another platform.
    QTemporaryFile screens;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        const QByteArray config = scaledScreens();
        if (!screens.open() || screens.write(config) != config.size() || !screens.flush())
            return 2;
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    QApplication application(argc, argv);
    FocusPageTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_focuspage.moc"
