// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

// Files that hold a person's own data: read without ever blocking, written so that no one else
// can read them, whatever the umask.
namespace UserFiles {

enum class Opened {
    Regular, // open for reading
    Missing, // nothing at the path
    DanglingLink, // a symbolic link to nothing
    NotRegular, // a folder, a FIFO, a device or a socket: never read
    Failed, // a regular file that could not be opened (see file.errorString())
};

// Opens a regular file for reading, following symbolic links. The path is opened non-blocking,
// so a FIFO with no writer or a device cannot stall the caller, and refused before a byte is read
// unless it is a regular file.
// `error` receives the reason of a failed open.
Opened openRegular(QFile &file, const QString &path, QString *error = nullptr);

struct Read {
    std::optional<QByteArray> bytes; // absent unless the whole file was read
    Opened opened = Opened::Missing;
    bool tooLarge = false;
    QString error; // the reason of a failed open or read
};
// The whole of a regular file of at most maxBytes, opened as above.
Read readRegular(const QString &path, qint64 maxBytes);

// Creates the folder and its missing parents, each new one 0700.
bool makePrivateFolder(const QString &path);

// Writes bytes to a file that must not exist yet, 0600, synced before it is closed. A failed
// write leaves no file behind.
bool writeNewPrivateFile(const QString &path, const QByteArray &bytes);

// 0600 for a file that was created by code that takes no mode.
bool makePrivate(const QString &path);

} // namespace UserFiles
