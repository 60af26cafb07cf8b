// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "timermenulabel.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTransform>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Parts of the badge, as fractions of the icon's side.
constexpr qreal cornerRadius = 0.24;
constexpr qreal textHeight = 0.62;
constexpr qreal textWidth = 0.86;
// How far a wide text may be narrowed, as a ratio of its width to its natural width.
constexpr qreal narrowest = 0.8;
// No tray asks for more; a bigger request would only waste memory.
constexpr int maxPixels = 1024;

// A run of ASCII digits, at most maxDigits long.
bool readNumber(const QString &text, qsizetype minDigits, qsizetype maxDigits, qint64 *value)
{
    if (text.size() < minDigits || text.size() > maxDigits)
        return false;
    qint64 result = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        result = result * 10 + (c.unicode() - u'0');
    }
    *value = result;
    return true;
}

} // namespace

QString TimerMenuLabel::iconText(const QString &display)
{
    const QString notACountdown = u"--"_s;
    const QStringList parts = display.split(u':');
    qint64 hours = 0;
    qint64 minutes = 0;
    qint64 seconds = 0;
    if (parts.size() == 3) {
        if (!readNumber(parts[0], 1, 9, &hours) || !readNumber(parts[1], 2, 2, &minutes)
            || minutes > 59)
            return notACountdown;
    } else if (parts.size() == 2) {
        if (!readNumber(parts[0], 2, 9, &minutes))
            return notACountdown;
    } else {
        return notACountdown;
    }
    if (!readNumber(parts.last(), 2, 2, &seconds) || seconds > 59)
        return notACountdown;

    const qint64 totalMinutes = hours * 60 + minutes;
    if (totalMinutes == 0)
        return QString::number(seconds);
    if (totalMinutes < 100)
        return QString::number(totalMinutes);
    if (totalMinutes / 60 <= 99)
        return QString::number(totalMinutes / 60) + u'h';
    return u"99+"_s;
}

QString TimerMenuLabel::toolTip(const QString &modeName, const QString &display, bool running)
{
    return modeName + u"计时器，"_s + display + u"，"_s + (running ? u"计时中"_s : u"已停止"_s);
}

QColor TimerMenuLabel::backgroundColor(bool running)
{
    // Both give white text a contrast above 5:1, and differ in hue, not only in lightness.
    return running ? QColor(0xC6, 0x28, 0x28) : QColor(0x4F, 0x56, 0x5F);
}

QColor TimerMenuLabel::textColor()
{
    return QColor(Qt::white);
}

QImage TimerMenuLabel::render(const QString &display, bool running, int size, qreal dpr)
{
    if (size < 1)
        return {};
    if (!std::isfinite(dpr) || dpr <= 0)
        dpr = 1.0;
    const int pixels = qRound(qMin(size * dpr, qreal(maxPixels)));
    if (pixels < 1)
        return {};
    dpr = qreal(pixels) / size;

    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF badge = QRectF(0, 0, size, size).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor(255, 255, 255, 110), 1.0));
    painter.setBrush(backgroundColor(running));
    painter.drawRoundedRect(badge, size * cornerRadius, size * cornerRadius);

    // Drawn as a path scaled to the badge, so the figures are as large as the icon allows
    // whatever the font's own metrics. Every text gets the height of a digit; a wide one is
    // narrowed a little before it is made smaller.
    QFont font(u"Sans Serif"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    font.setPixelSize(64);
    QPainterPath digit;
    digit.addText(0, 0, font, u"0"_s);
    QPainterPath path;
    path.addText(0, 0, font, iconText(display));
    const QRectF reference = digit.boundingRect();
    const QRectF ink = path.boundingRect();
    if (reference.height() > 0 && ink.width() > 0) {
        qreal scaleY = size * textHeight / reference.height();
        const qreal scaleX = qMin(scaleY, size * textWidth / ink.width());
        scaleY = qMin(scaleY, scaleX / narrowest);
        QTransform transform;
        transform.translate(size / 2.0, size / 2.0);
        transform.scale(scaleX, scaleY);
        transform.translate(-ink.center().x(), -reference.center().y());
        painter.setPen(Qt::NoPen);
        painter.setBrush(textColor());
        painter.drawPath(transform.map(path));
    }
    return image;
}

TrayIconCache::TrayIconCache(int size, qreal dpr) : m_size(size), m_dpr(dpr) { }

bool TrayIconCache::update(const QString &display, bool running)
{
    const QString text = TimerMenuLabel::iconText(display);
    if (m_drawn && text == m_text && running == m_running)
        return false;
    m_text = text;
    m_running = running;
    m_image = TimerMenuLabel::render(display, running, m_size, m_dpr);
    m_drawn = true;
    return true;
}

void TrayIconCache::setSize(int size, qreal dpr)
{
    if (size == m_size && qFuzzyCompare(dpr, m_dpr))
        return;
    m_size = size;
    m_dpr = dpr;
    m_drawn = false;
}
