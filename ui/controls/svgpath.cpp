// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/controls/svgpath.h"

#include <QTransform>

#include <cmath>
#include <numbers>

namespace {

class Reader {
public:
    explicit Reader(QStringView data) : m_data(data) { }

    void skipSeparators()
    {
        while (m_pos < m_data.size() && (m_data[m_pos].isSpace() || m_data[m_pos] == u','))
            ++m_pos;
    }
    bool atEnd()
    {
        skipSeparators();
        return m_pos >= m_data.size();
    }
    bool atNumber()
    {
        if (atEnd())
            return false;
        const QChar c = m_data[m_pos];
        return c.isDigit() || c == u'-' || c == u'+' || c == u'.';
    }
    QChar command()
    {
        skipSeparators();
        return m_data[m_pos++];
    }
    bool number(qreal *value)
    {
        if (!atNumber())
            return false;
        qsizetype end = m_pos;
        if (m_data[end] == u'-' || m_data[end] == u'+')
            ++end;
        bool dot = false;
        bool exponent = false;
        while (end < m_data.size()) {
            const QChar c = m_data[end];
            if (c.isDigit()) {
                ++end;
            } else if (c == u'.' && !dot && !exponent) {
                dot = true;
                ++end;
            } else if ((c == u'e' || c == u'E') && !exponent) {
                exponent = true;
                ++end;
                if (end < m_data.size() && (m_data[end] == u'-' || m_data[end] == u'+'))
                    ++end;
            } else {
                break;
            }
        }
        bool ok = false;
        *value = m_data.mid(m_pos, end - m_pos).toDouble(&ok);
        m_pos = end;
        return ok && std::isfinite(*value);
    }
    bool numbers(qreal *values, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (!number(&values[i]))
                return false;
        }
        return true;
    }

private:
    QStringView m_data;
    qsizetype m_pos = 0;
};

qreal degrees(qreal radians)
{
    return radians * 180 / std::numbers::pi;
}

// The elliptical arc from the current point to `to`, converted from SVG's endpoint form to a
// centre, radii and angles (SVG 1.1, appendix F.6.5 and F.6.6).
void arcTo(
    QPainterPath &path, qreal rx, qreal ry, qreal rotation, bool large, bool sweep, QPointF to)
{
    const QPointF from = path.currentPosition();
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (from == to)
        return;
    if (rx == 0 || ry == 0) {
        path.lineTo(to);
        return;
    }
    const qreal phi = rotation * std::numbers::pi / 180;
    const qreal cosPhi = std::cos(phi);
    const qreal sinPhi = std::sin(phi);
    const qreal dx = (from.x() - to.x()) / 2;
    const qreal dy = (from.y() - to.y()) / 2;
    const qreal x1 = cosPhi * dx + sinPhi * dy;
    const qreal y1 = -sinPhi * dx + cosPhi * dy;
    // Radii too small for the two points grow just enough.
    const qreal lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const qreal numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const qreal denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    qreal factor = std::sqrt(std::max<qreal>(0, numerator / denominator));
    if (large == sweep)
        factor = -factor;
    const qreal cx1 = factor * rx * y1 / ry;
    const qreal cy1 = -factor * ry * x1 / rx;
    const QPointF centre(cosPhi * cx1 - sinPhi * cy1 + (from.x() + to.x()) / 2,
        sinPhi * cx1 + cosPhi * cy1 + (from.y() + to.y()) / 2);

    const qreal start = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    qreal delta = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx) - start;
    if (sweep && delta < 0)
        delta += 2 * std::numbers::pi;
    else if (!sweep && delta > 0)
        delta -= 2 * std::numbers::pi;

    // QPainterPath measures angles counter-clockwise on screen, SVG clockwise: both negated.
    QPainterPath arc;
    const QRectF box(-rx, -ry, 2 * rx, 2 * ry);
    arc.arcMoveTo(box, -degrees(start));
    arc.arcTo(box, -degrees(start), -degrees(delta));
    QTransform placement;
    placement.translate(centre.x(), centre.y());
    placement.rotateRadians(phi);
    const QPainterPath placed = placement.map(arc);
    for (int i = 1; i < placed.elementCount(); ++i) {
        const QPainterPath::Element e = placed.elementAt(i);
        if (e.type == QPainterPath::CurveToElement) {
            path.cubicTo(e, placed.elementAt(i + 1), placed.elementAt(i + 2));
            i += 2;
        } else {
            path.lineTo(e);
        }
    }
    // Rounding in the conversion must not leave a seam before the next segment.
    path.setElementPositionAt(path.elementCount() - 1, to.x(), to.y());
}

} // namespace

QPainterPath svgPath(QStringView data)
{
    QPainterPath path;
    Reader reader(data);
    QPointF current;
    QPointF subpathStart;
    QChar command;
    while (!reader.atEnd()) {
        // Coordinates without a command repeat the last one; after a move they are lines.
        if (reader.atNumber()) {
            if (command.isNull() || command.toUpper() == u'Z')
                break;
            if (command == u'M')
                command = u'L';
            else if (command == u'm')
                command = u'l';
        } else {
            command = reader.command();
        }
        const bool relative = command.isLower();
        const QPointF origin = relative ? current : QPointF();
        qreal v[7];
        switch (command.toUpper().unicode()) {
        case 'M':
            if (!reader.numbers(v, 2))
                return path;
            current = origin + QPointF(v[0], v[1]);
            subpathStart = current;
            path.moveTo(current);
            break;
        case 'L':
            if (!reader.numbers(v, 2))
                return path;
            current = origin + QPointF(v[0], v[1]);
            path.lineTo(current);
            break;
        case 'H':
            if (!reader.numbers(v, 1))
                return path;
            current.setX(origin.x() + v[0]);
            path.lineTo(current);
            break;
        case 'V':
            if (!reader.numbers(v, 1))
                return path;
            current.setY(origin.y() + v[0]);
            path.lineTo(current);
            break;
        case 'C':
            if (!reader.numbers(v, 6))
                return path;
            current = origin + QPointF(v[4], v[5]);
            path.cubicTo(origin + QPointF(v[0], v[1]), origin + QPointF(v[2], v[3]), current);
            break;
        case 'Q':
            if (!reader.numbers(v, 4))
                return path;
            current = origin + QPointF(v[2], v[3]);
            path.quadTo(origin + QPointF(v[0], v[1]), current);
            break;
        case 'A': {
            if (!reader.numbers(v, 7))
                return path;
            const QPointF to = origin + QPointF(v[5], v[6]);
            if (path.elementCount() == 0)
                path.moveTo(current);
            arcTo(path, v[0], v[1], v[2], v[3] != 0, v[4] != 0, to);
            current = to;
            break;
        }
        case 'Z':
            path.closeSubpath();
            current = subpathStart;
            break;
        default:
            return path;
        }
    }
    return path;
}
