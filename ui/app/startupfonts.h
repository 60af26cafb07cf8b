// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QList>

#include <functional>

// The faces and sizes of the texts the main window shows as it opens: its sidebar and the focus
// page. Opening a font (fontconfig's matching, FreeType's face and size) is the costliest step of
// laying out a text, and Qt keeps opened fonts per thread, so the window's thread opens these
// while the QML engine's loader thread compiles the window.
class StartupFonts {
public:
    // The interface's face, which the window and the application's default font use.
    static QString family() { return QStringLiteral("Noto Sans CJK SC"); }
    // The face for figures that change in place: all its digits have the same width.
    static QString figuresFamily() { return QStringLiteral("Noto Sans Mono CJK SC"); }

    static QList<QFont> fonts();

    // Opens each of fonts() on the calling thread; `between` runs before each one.
    static void open(const std::function<void()> &between);
};
