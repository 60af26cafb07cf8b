// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/timermenulabel.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

double channel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &color)
{
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF())
        + 0.0722 * channel(color.blueF());
}

// The contrast ratio used for legible text: 1 (none) to 21 (black on white).
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

bool near(QRgb pixel, const QColor &color)
{
    constexpr int tolerance = 24;
    return qAlpha(pixel) == 255 && qAbs(qRed(pixel) - color.red()) <= tolerance
        && qAbs(qGreen(pixel) - color.green()) <= tolerance
        && qAbs(qBlue(pixel) - color.blue()) <= tolerance;
}

struct Census {
    int text = 0;
    int background = 0;
    int otherBackground = 0;
    QRect textBox;
};

Census census(const QImage &rendered, bool running)
{
    const QImage image = rendered.convertToFormat(QImage::Format_ARGB32);
    Census result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (near(pixel, TimerMenuLabel::textColor())) {
                ++result.text;
                result.textBox |= QRect(x, y, 1, 1);
            } else if (near(pixel, TimerMenuLabel::backgroundColor(running))) {
                ++result.background;
            } else if (near(pixel, TimerMenuLabel::backgroundColor(!running))) {
                ++result.otherBackground;
            }
        }
    }
    return result;
}

} // namespace

class TestTimerMenuLabel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shouldPickTheFiguresThatFitTheIcon_data();
    void shouldPickTheFiguresThatFitTheIcon();
    void shouldAnnounceModeTimeAndState_data();
    void shouldAnnounceModeTimeAndState();
    void shouldRenderAtTheAskedSizeAndPixelRatio_data();
    void shouldRenderAtTheAskedSizeAndPixelRatio();
    void shouldDrawLegibleTextOnABadgeOfTheState_data();
    void shouldDrawLegibleTextOnABadgeOfTheState();
    void shouldDrawDifferentImagesForDifferentTimes();
    void shouldRenderNothingForAnEmptySize();
    void shouldRedrawOnlyWhenTextOrStateChanges();
    void shouldRedrawAfterASizeChange();
};

void TestTimerMenuLabel::shouldPickTheFiguresThatFitTheIcon_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("expected");

    QTest::newRow("idle default length") << u"25:00"_s << u"25"_s;
    QTest::newRow("one second into it") << u"24:59"_s << u"24"_s;
    QTest::newRow("last second of a minute") << u"24:00"_s << u"24"_s;
    QTest::newRow("hours become minutes") << u"1:30:00"_s << u"90"_s;
    QTest::newRow("largest minute count") << u"1:39:59"_s << u"99"_s;
    QTest::newRow("from 100 minutes, hours") << u"1:40:00"_s << u"1h"_s;
    QTest::newRow("longest length") << u"99:59:59"_s << u"99h"_s;
    QTest::newRow("clock set back past 99 hours") << u"100:59:59"_s << u"99+"_s;
    QTest::newRow("last whole minute") << u"01:00"_s << u"1"_s;
    QTest::newRow("last minute shows seconds") << u"00:59"_s << u"59"_s;
    QTest::newRow("last second") << u"00:01"_s << u"1"_s;
    QTest::newRow("nothing left") << u"00:00"_s << u"0"_s;
    QTest::newRow("empty") << QString() << u"--"_s;
    QTest::newRow("words") << u"abc"_s << u"--"_s;
    QTest::newRow("seconds past 59") << u"00:60"_s << u"--"_s;
    QTest::newRow("one-digit seconds") << u"25:0"_s << u"--"_s;
    QTest::newRow("negative") << u"-1:00"_s << u"--"_s;
    QTest::newRow("four parts") << u"1:00:00:00"_s << u"--"_s;
    QTest::newRow("non-ASCII digits") << u"٢٥:٠٠"_s << u"--"_s;
}

void TestTimerMenuLabel::shouldPickTheFiguresThatFitTheIcon()
{
    QFETCH(QString, display);
    QFETCH(QString, expected);
    QCOMPARE(TimerMenuLabel::iconText(display), expected);
    QVERIFY(TimerMenuLabel::iconText(display).size() <= 3);
}

void TestTimerMenuLabel::shouldAnnounceModeTimeAndState_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QString>("expected");

    QTest::newRow("running") << u"24:59"_s << true << u"专注计时器，24:59，计时中"_s;
    QTest::newRow("paused") << u"12:05"_s << false << u"专注计时器，12:05，已停止"_s;
    QTest::newRow("hours") << u"1:06:40"_s << false << u"专注计时器，1:06:40，已停止"_s;
}

void TestTimerMenuLabel::shouldAnnounceModeTimeAndState()
{
    QFETCH(QString, display);
    QFETCH(bool, running);
    QFETCH(QString, expected);
    QCOMPARE(TimerMenuLabel::toolTip(u"专注"_s, display, running), expected);
}

void TestTimerMenuLabel::shouldRenderAtTheAskedSizeAndPixelRatio_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<int>("pixels");

    QTest::newRow("22 at 1x") << 22 << 1.0 << 22;
    QTest::newRow("22 at 2x") << 22 << 2.0 << 44;
    QTest::newRow("16 at 1.5x") << 16 << 1.5 << 24;
    QTest::newRow("32 at 1.25x") << 32 << 1.25 << 40;
    QTest::newRow("bad ratio falls back to 1x") << 22 << -2.0 << 22;
}

void TestTimerMenuLabel::shouldRenderAtTheAskedSizeAndPixelRatio()
{
    QFETCH(int, size);
    QFETCH(qreal, dpr);
    QFETCH(int, pixels);

    const QImage image = TimerMenuLabel::render(u"24:59"_s, true, size, dpr);
    QCOMPARE(image.size(), QSize(pixels, pixels));
    QCOMPARE(image.deviceIndependentSize(), QSizeF(size, size));
}

void TestTimerMenuLabel::shouldDrawLegibleTextOnABadgeOfTheState_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("running");
    QTest::addColumn<qreal>("dpr");

    for (const bool running : {true, false}) {
        const char *state = running ? "running" : "stopped";
        for (const QString &display : {u"25:00"_s, u"00:01"_s, u"99:59:59"_s}) {
            for (const qreal dpr : {1.0, 2.0}) {
                QTest::addRow("%s %ls at %gx", state, qUtf16Printable(display), dpr)
                    << display << running << dpr;
            }
        }
    }
}

void TestTimerMenuLabel::shouldDrawLegibleTextOnABadgeOfTheState()
{
    QFETCH(QString, display);
    QFETCH(bool, running);
    QFETCH(qreal, dpr);

    constexpr int size = 22;
    const QImage image = TimerMenuLabel::render(display, running, size, dpr);
    const int side = image.width();
    const Census found = census(image, running);

    QVERIFY2(contrast(TimerMenuLabel::textColor(), TimerMenuLabel::backgroundColor(running)) >= 4.5,
        "text colour does not stand out from the badge");
    QVERIFY2(found.text >= side * side / 20, "too little text drawn");
    QVERIFY2(found.background >= side * side / 3, "the badge is not in the colour of its state");
    QCOMPARE(found.otherBackground, 0);

    // Rounded corners stay clear, so the badge reads as a shape on any panel.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(side - 1, side - 1)), 0);

    // The figures are large and stay inside the badge.
    const QRect inner = QRect(0, 0, side, side).adjusted(1, 1, -1, -1);
    QVERIFY2(inner.contains(found.textBox), "text touches the edge of the icon");
    QVERIFY2(found.textBox.height() >= side * 2 / 5, "text too small to read");
}

void TestTimerMenuLabel::shouldDrawDifferentImagesForDifferentTimes()
{
    const QImage a = TimerMenuLabel::render(u"24:00"_s, true, 22);
    const QImage b = TimerMenuLabel::render(u"23:59"_s, true, 22);
    const QImage c = TimerMenuLabel::render(u"24:00"_s, false, 22);
    QVERIFY(a != b);
    QVERIFY(a != c);
    QCOMPARE(TimerMenuLabel::render(u"24:59"_s, true, 22), a);
}

void TestTimerMenuLabel::shouldRenderNothingForAnEmptySize()
{
    QVERIFY(TimerMenuLabel::render(u"25:00"_s, false, 0).isNull());
    QVERIFY(TimerMenuLabel::render(u"25:00"_s, false, -5).isNull());
}

void TestTimerMenuLabel::shouldRedrawOnlyWhenTextOrStateChanges()
{
    TrayIconCache cache;
    QVERIFY(cache.update(u"25:00"_s, false));
    QVERIFY(!cache.image().isNull());
    QVERIFY(!cache.update(u"25:00"_s, false));

    QVERIFY(cache.update(u"25:00"_s, true));
    QVERIFY(cache.update(u"24:59"_s, true));
    QCOMPARE(cache.iconText(), u"24"_s);
    for (const QString &display : {u"24:58"_s, u"24:30"_s, u"24:00"_s})
        QVERIFY2(!cache.update(display, true), qPrintable(display));
    QVERIFY(cache.update(u"23:59"_s, true));

    QVERIFY(cache.update(u"23:59"_s, false));
    QVERIFY(!cache.isRunning());
    QVERIFY(!cache.update(u"23:30"_s, false));

    // In the last minute the figure changes every second.
    QVERIFY(cache.update(u"00:59"_s, true));
    QVERIFY(cache.update(u"00:58"_s, true));
    QCOMPARE(cache.image(), TimerMenuLabel::render(u"00:58"_s, true, 22));
}

void TestTimerMenuLabel::shouldRedrawAfterASizeChange()
{
    TrayIconCache cache(22, 1.0);
    QVERIFY(cache.update(u"10:00"_s, true));
    cache.setSize(22, 1.0);
    QVERIFY(!cache.update(u"10:00"_s, true));

    cache.setSize(22, 2.0);
    QVERIFY(cache.update(u"10:00"_s, true));
    QCOMPARE(cache.image().size(), QSize(44, 44));
}

QTEST_MAIN(TestTimerMenuLabel)
#include "tst_timermenulabel.moc"
