// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/controls/pathsymbol.h"

// One of the main window's symbols by name ("play.fill", "chevron.down"): its outline and fill
// on the 24-unit grid, in one colour, drawn `size` pixels wide in the middle of the item, whose
// implicit size that is. An unknown name draws nothing.
class WindowSymbol : public PathSymbol {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged FINAL)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged FINAL)
    Q_PROPERTY(qreal size READ size WRITE setSize NOTIFY sizeChanged FINAL)

public:
    explicit WindowSymbol(QQuickItem *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    QColor color() const { return strokeColor(); }
    void setColor(const QColor &color);
    qreal size() const { return m_size; }
    void setSize(qreal size);

Q_SIGNALS:
    void nameChanged();
    void colorChanged();
    void sizeChanged();

protected:
    qreal drawnSide() const override { return m_size; }

private:
    QString m_name;
    qreal m_size = 0;
};
