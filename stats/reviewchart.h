// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "stats/focusstats.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// What the weekly review page and the today card draw, computed so that the views only lay it
// out. Colours are left to the views: they give `colorProject` to the catalogue's colour mapping.
namespace ReviewChart {

// One project's part of a day's bar.
struct BarSegment {
    QString project;
    qint64 minutes = 0;
    // Points: minutes × 0.45, at least 3 and at most 120; the whole stack with its 2-point gaps is
    // scaled down to fit the 150-point bar.
    double height = 0;
};

// One of the seven columns of the week, first weekday first.
struct DayColumn {
    QDate date;
    QString weekday; // "一" … "日" by position, whatever the actual weekday
    // Top to bottom: the catalogue's projects in reverse, so its first project lies at the bottom.
    QList<BarSegment> segments;
    qint64 minutes = 0; // all of the day's records, catalogued project or not
    QString minutesText; // "95m"
};

struct LegendRow {
    QString project;
    qint64 minutes = 0;
    qint64 percent = 0; // minutes × 100 ÷ the week's whole minutes; may pass 100
    double fraction = 0; // share of the row's width for the bar, at most 1
    QString text; // "2h 5m · 41%"
};

struct WeekReview {
    QString label; // weekLabel
    QString summary; // weekSummary
    QString totalText; // "3 小时"
    QString goalText; // "2 / 7 天"
    QString longestText; // "25 分钟"
    QList<DayColumn> columns;
    QList<LegendRow> legend; // catalogue order, projects with minutes only
};

// projects: the catalogue's names in order; goalHours: the daily goal.
WeekReview weekReview(const FocusStats &stats, const QStringList &projects, int goalHours);

// The seven column days: the system clock's week moved by the selected offset, each falling
// back as far as the calendar allows.
QList<double> columnDays(const FocusStats &stats);

// One slice of the today ring and its legend row.
struct Slice {
    QString key; // "学习" or "学习 / 阅读"
    QString colorProject; // the project part of the key, for the colour
    double seconds = 0;
    double start = 0; // fractions of the full turn, clockwise from 12 o'clock
    double end = 0;
    // The arc in degrees, clockwise from 12 o'clock, in half-degree steps: it starts where the
    // slice before ended, so the slices close the ring without gaps or overlaps.
    double startAngle = 0;
    double sweepAngle = 0;
    QString text; // "25分 · 62%"
};

struct TodayDistribution {
    double total = 0;
    QList<Slice> slices; // keys in ascending order
    bool isEmpty() const { return !(total > 0); }
};

// Today's recorded seconds by key, with the running session added under its own key.
TodayDistribution todayDistribution(
    const FocusStats &stats, const FocusStats::LiveSession &live = {});

// The project part of a key: the text before its first "/", trimmed.
QString colorProject(const QString &key);

} // namespace ReviewChart
