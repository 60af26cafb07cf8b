// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filedialogs.h"

#include <QStringList>

#include <memory>

class QFileDialog;

// The desktop's modal open and save dialogs, through QFileDialog.
class QtFileDialogs final : public FileDialogs {
public:
    // Starts in the user's documents folder with the suggested name filled in.
    std::optional<QString> chooseSavePath(
        const QString &suggestedName, const QString &nameFilter) override;
    // One existing file of a common audio type, or any file when the user says so.
    std::optional<QString> chooseAudioFile() override;

    // The dialogs as they are shown, before they run.
    static std::unique_ptr<QFileDialog> saveDialog(
        const QString &suggestedName, const QString &nameFilter);
    static std::unique_ptr<QFileDialog> audioDialog();

    // The audio file types offered, as name patterns in both cases: the dialogs match patterns
    // case-sensitively on Linux, and files from cameras and other systems often end in upper case.
    static QStringList audioPatterns();
    // The audio filter first, then every file: a sound with an unusual name is still reachable.
    static QStringList audioNameFilters();
};
