#pragma once

#include "platform/filedialogs.h"

#include <QStringList>

// The desktop's modal open and save dialogs, through QFileDialog.
class QtFileDialogs final : public FileDialogs {
public:
    // Starts in the user's documents folder with the suggested name filled in.
    std::optional<QString> chooseSavePath(
        const QString &suggestedName, const QString &nameFilter) override;
    // One existing file of a common audio type.
    std::optional<QString> chooseAudioFile() override;

    // The audio file types offered, as name patterns in both cases: the dialogs match patterns
    // case-sensitively on Linux, and files from cameras and other systems often end in upper case.
    static QStringList audioPatterns();
    static QString audioNameFilter();
};
