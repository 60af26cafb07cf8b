#include "ui/qtfiledialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> chosen(const QString &path)
{
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
    return chosen(QFileDialog::getSaveFileName(
        nullptr, QString(), QDir(startFolder()).filePath(suggestedName), nameFilter));
}

std::optional<QString> QtFileDialogs::chooseAudioFile()
{
    return chosen(
        QFileDialog::getOpenFileName(nullptr, QString(), startFolder(), audioNameFilter()));
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

QString QtFileDialogs::audioNameFilter()
{
    return u"音频文件 ("_s + audioPatterns().join(u' ') + u')';
}
