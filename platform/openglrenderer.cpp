// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/openglrenderer.h"

#include <QDir>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

OpenGlRendererProbe::OpenGlRendererProbe()
{
    // The surface belongs to the application's thread; a context may be made on any thread.
    m_surface.create();
    if (!m_surface.isValid())
        return;
    m_thread.reset(QThread::create([this] {
        QOpenGLContext context;
        if (!context.create() || !context.makeCurrent(&m_surface))
            return;
        const auto *renderer =
            reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
        m_name = renderer ? QString::fromUtf8(renderer) : QString();
        context.doneCurrent();
    }));
    m_thread->start();
}

OpenGlRendererProbe::~OpenGlRendererProbe()
{
    if (m_thread)
        m_thread->wait();
}

QString OpenGlRendererProbe::name()
{
    if (m_thread)
        m_thread->wait();
    return m_name;
}

bool OpenGlRendererProbe::hasGraphicsDevice()
{
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("card*"), QStringLiteral("renderD*")}, QDir::System)
                .isEmpty()
        || !QDir(QStringLiteral("/dev"))
                .entryList({QStringLiteral("nvidia*")}, QDir::System)
                .isEmpty();
}
