#pragma once

#include <QString>

// The desktop's file manager.
class FileBrowser {
public:
    virtual ~FileBrowser() = default;
    virtual void openFolder(const QString &path) = 0;
};
