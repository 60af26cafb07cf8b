// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/optionaltext.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <cmath>
#include <optional>

// One finished focus session: a plain value, identified by its id.
struct FocusRecord {
    Q_GADGET
    Q_PROPERTY(QString id READ idText)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(double startedAt MEMBER startedAt)
    Q_PROPERTY(double endedAt MEMBER endedAt)
    Q_PROPERTY(double duration MEMBER duration)
    Q_PROPERTY(QString project MEMBER project)
    Q_PROPERTY(bool hasSubproject READ hasSubproject)
    Q_PROPERTY(QString subproject READ subprojectText)
    Q_PROPERTY(bool hasWrapUp READ hasWrapUp)
    Q_PROPERTY(QString wrapUp READ wrapUpText)
    Q_PROPERTY(bool early MEMBER early)
    Q_PROPERTY(QString durationText READ durationText)

public:
    QUuid id = QUuid::createUuid();
    QString title;
    double startedAt = 0;
    double endedAt = 0;
    double duration = 0; // seconds actually focused, pauses excluded
    QString project = QStringLiteral("未分类");
    OptionalText subproject;
    OptionalText wrapUp;
    bool early = false;

    // "1小时5分钟", "25分钟", "1分钟30秒", "59秒".
    QString durationText() const;

    QString idText() const { return id.toString(QUuid::WithoutBraces).toUpper(); }
    bool hasSubproject() const { return subproject.has_value(); }
    QString subprojectText() const { return subproject.value_or(QString()); }
    bool hasWrapUp() const { return wrapUp.has_value(); }
    QString wrapUpText() const { return wrapUp.value_or(QString()); }

    friend bool operator==(const FocusRecord &, const FocusRecord &) = default;
};

using FocusRecordList = QList<FocusRecord>;

namespace RecordMath {
// Whole seconds of a duration, truncated toward zero. A duration that is not finite counts as 0,
// and one beyond the signed 64-bit range is clamped to it, so edited files cannot break a figure.
qint64 wholeSeconds(double seconds);
// A duration for sums: non-finite values count as 0.
inline double summable(double seconds)
{
    return std::isfinite(seconds) ? seconds : 0.0;
}
} // namespace RecordMath

// Every member (QUuid, QString, std::optional<QString>, numbers) may be moved in memory as raw
// bytes, so lists of 100,000 records grow by realloc instead of moving each record.
Q_DECLARE_TYPEINFO(FocusRecord, Q_RELOCATABLE_TYPE);
Q_DECLARE_METATYPE(FocusRecord)
