// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktopfilebrowser.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopFileBrowser::openFolder(const QString &path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        qWarning("Cannot open the folder %ls in a file manager", qUtf16Printable(path));
}
