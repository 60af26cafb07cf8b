// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/lazysoundservice.h"

#include "platform/soundmodule.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

LazySoundService::LazySoundService(QStringList modulePaths) : m_modulePaths(std::move(modulePaths))
{
}

LazySoundService::~LazySoundService() = default;

QStringList LazySoundService::installedModulePaths()
{
    const QString folder = QCoreApplication::applicationDirPath();
    const QString file = QStringLiteral(VELMOR_SOUND_MODULE_FILE);
    return {folder + u'/' + file,
        folder + u'/' + QStringLiteral(VELMOR_SOUND_MODULE_DIR) + u'/' + file};
}

SoundService *LazySoundService::service()
{
    if (m_tried)
        return m_service.get();
    m_tried = true;
    QStringList failures;
    for (const QString &path : std::as_const(m_modulePaths)) {
        if (!QFileInfo(path).isFile()) {
            failures << path + u": 不存在或不是普通文件"_s;
            continue;
        }
        m_library.setFileName(path);
        // Resolved now, so that a module built against other libraries fails here, not later.
        m_library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        const auto create =
            reinterpret_cast<SoundModule::CreateFunction>(m_library.resolve(SoundModule::entry));
        if (create) {
            m_service.reset(create());
            if (m_service)
                return m_service.get();
        }
        failures << m_library.errorString();
        m_library.unload();
    }
    if (failures.isEmpty())
        failures << u"没有给出模块的位置"_s;
    std::fprintf(stderr, "velmor-focus: 声音模块无法加载，提醒音不会播放：%s\n",
        qPrintable(failures.join(u"；"_s)));
    return nullptr;
}

std::unique_ptr<Sound> LazySoundService::createNamed(const QString &name)
{
    SoundService *real = service();
    return real ? real->createNamed(name) : nullptr;
}

std::unique_ptr<Sound> LazySoundService::createFromData(
    const QByteArray &data, const QString &fileName)
{
    SoundService *real = service();
    return real ? real->createFromData(data, fileName) : nullptr;
}
