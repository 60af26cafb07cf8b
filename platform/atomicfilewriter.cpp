// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/filewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// QSaveFile fsyncs the file before the rename, not the folder that holds the new name.
void syncFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// QSaveFile names its temporary file after the target with six random ASCII letters appended.
bool isTemporarySuffix(QStringView suffix)
{
    if (suffix.size() != 6)
        return false;
    for (const QChar c : suffix) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

} // namespace

FileWriter::Result AtomicFileWriter::writeAtomically(const QString &path, const QByteArray &data)
{
    if (QFileInfo(path).isDir())
        return {false, qt_error_string(EISDIR)};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    // The new file takes the old one's mode, or the umask's: these are the user's alone.
    if (::fchmod(file.handle(), 0600) != 0) {
        const QString reason = qt_error_string(errno);
        file.cancelWriting();
        return {false, reason};
    }
    // A short write (a full disk) reports no error; writing the rest again is what gets the
    // reason ("No space left on device") instead of "Unknown error".
    for (qint64 written = 0; written < data.size();) {
        const qint64 count = file.write(data.constData() + written, data.size() - written);
        if (count <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return {false, reason};
        }
        written += count;
    }
    if (!file.commit())
        return {false, file.errorString()};
    syncFolder(renamedIn(path));
    return {};
}

QString AtomicFileWriter::renamedIn(const QString &path)
{
    // QSaveFile replaces the file that a chain of symbolic links leads to, up to 128 links deep;
    // past that it replaces the link itself.
    QFileInfo target(path);
    int depth = 128;
    while (--depth && target.isSymLink())
        target.setFile(target.symLinkTarget());
    return depth > 0 ? target.absolutePath() : QFileInfo(path).absolutePath();
}

int AtomicFileWriter::removeLeftovers(
    const QString &folder, const std::function<bool(const QString &)> &isTarget)
{
    const QDir dir(folder);
    // Regular files only: a symlink or anything else of that name is not one of ours.
    const QStringList names = dir.entryList({QStringLiteral("*.??????")},
        QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    int removed = 0;
    for (const QString &name : names) {
        const qsizetype dot = name.size() - 7;
        if (dot < 1 || name.at(dot) != u'.' || !isTemporarySuffix(QStringView(name).mid(dot + 1))
            || !isTarget(name.left(dot))) {
            continue;
        }
        if (QFile::remove(dir.filePath(name)))
            ++removed;
        else
            qWarning("Cannot remove the leftover %ls of an interrupted save",
                qUtf16Printable(dir.filePath(name)));
    }
    return removed;
}

AtomicFileWriter &AtomicFileWriter::instance()
{
    static AtomicFileWriter writer;
    return writer;
}
