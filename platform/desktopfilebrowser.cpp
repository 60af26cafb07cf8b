#include "platform/desktopfilebrowser.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopFileBrowser::openFolder(const QString &path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        qWarning("Cannot open the folder %ls in a file manager", qUtf16Printable(path));
}
