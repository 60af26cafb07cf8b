// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/userfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace UserFiles {

Opened openRegular(QFile &file, const QString &path, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking: opening a FIFO for reading otherwise waits for a writer, for ever.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        if (reason == ENOENT) {
            struct stat link { };
            return ::lstat(native.constData(), &link) == 0 ? Opened::DanglingLink : Opened::Missing;
        }
        if (error)
            *error = qt_error_string(reason);
        return Opened::Failed;
    }
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Opened::NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (error)
            *error = file.errorString();
        ::close(fd);
        return Opened::Failed;
    }
    return Opened::Regular;
}

Read readRegular(const QString &path, qint64 maxBytes)
{
    Read result;
    QFile file;
    result.opened = openRegular(file, path, &result.error);
    if (result.opened != Opened::Regular)
        return result;
    const qint64 size = file.size();
    if (size > maxBytes) {
        result.tooLarge = true;
        return result;
    }
    try {
        QByteArray bytes(size, Qt::Uninitialized);
        char past = 0;
        if (file.read(bytes.data(), size) != size || file.read(&past, 1) != 0) {
            result.error = file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("the file changed while it was read");
            return result;
        }
        result.bytes = std::move(bytes);
    } catch (const std::bad_alloc &) {
        result.error = QStringLiteral("the file does not fit in memory");
    }
    return result;
}

bool makePrivateFolder(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    QStringList missing;
    for (QString at = folder; !QFileInfo::exists(at);) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QString &each : std::as_const(missing)) {
        const QByteArray native = QFile::encodeName(each);
        if (::mkdir(native.constData(), 0700) == 0) {
            // The umask may have taken more than group and others away, or less.
            ::chmod(native.constData(), 0700);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return QFileInfo(folder).isDir();
}

bool writeNewPrivateFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd =
        ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0;
    for (qsizetype written = 0; ok && written < bytes.size();) {
        const ssize_t count =
            ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        ok = count > 0;
        written += count > 0 ? count : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        ::unlink(native.constData());
    return ok;
}

bool makePrivate(const QString &path)
{
    return ::chmod(QFile::encodeName(path).constData(), 0600) == 0;
}

} // namespace UserFiles
