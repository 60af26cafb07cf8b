// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QOffscreenSurface>
#include <QString>
#include <QThread>

#include <memory>

// Asks the system's OpenGL for its renderer's name (GL_RENDERER, e.g. "llvmpipe (LLVM 15.0.6,
// 256 bits)" or "Mesa Intel(R) UHD Graphics 620") from a short-lived context on a thread of its
// own, so that the question costs the start nothing while other work goes on. Made on the
// application's thread after the application object.
class OpenGlRendererProbe {
public:
    OpenGlRendererProbe();
    ~OpenGlRendererProbe();

    // Waits for the answer: empty where the platform offers no OpenGL.
    QString name();

    // Whether the machine has a graphics device (a DRM node, or NVIDIA's own) that could draw
    // OpenGL in hardware. Without one, OpenGL can only be a processor rasterizer, and asking it
    // would load it, and its tens of megabytes, into the process for nothing.
    static bool hasGraphicsDevice();

private:
    QOffscreenSurface m_surface;
    std::unique_ptr<QThread> m_thread;
    QString m_name;
};
