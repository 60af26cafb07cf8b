#pragma once

#include "platform/filebrowser.h"

// The desktop's file manager, through the desktop's handler for folders.
class DesktopFileBrowser final : public FileBrowser {
public:
    void openFolder(const QString &path) override;
};
