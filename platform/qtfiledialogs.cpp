// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtfiledialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> chosen(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

} // namespace

std::optional<QString> QtFileDialogs::chooseSavePath(
    const QString &suggestedName, const QString &nameFilter)
{
    return chosen(*saveDialog(suggestedName, nameFilter));
}

std::optional<QString> QtFileDialogs::chooseAudioFile()
{
    return chosen(*audioDialog());
}

std::unique_ptr<QFileDialog> QtFileDialogs::saveDialog(
    const QString &suggestedName, const QString &nameFilter)
{
    auto dialog = std::make_unique<QFileDialog>(
        nullptr, QString(), QDir(startFolder()).filePath(suggestedName), nameFilter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    return dialog;
}

std::unique_ptr<QFileDialog> QtFileDialogs::audioDialog()
{
    auto dialog = std::make_unique<QFileDialog>(nullptr, QString(), startFolder());
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(audioNameFilters());
    return dialog;
}

QStringList QtFileDialogs::audioPatterns()
{
    static const QStringList extensions {u"wav"_s, u"mp3"_s, u"ogg"_s, u"oga"_s, u"flac"_s,
        u"m4a"_s, u"aac"_s, u"aiff"_s, u"aif"_s, u"caf"_s, u"opus"_s};
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns << u"*."_s + extension << u"*."_s + extension.toUpper();
    return patterns;
}

QStringList QtFileDialogs::audioNameFilters()
{
    return {u"音频文件 ("_s + audioPatterns().join(u' ') + u')', u"所有文件 (*)"_s};
}
