// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Writes whole files so that a reader sees either the old or the new content, never a mix.
class FileWriter {
public:
    struct Result {
        bool ok = true;
        QString error; // the reason, for the user, when !ok
    };

    virtual ~FileWriter() = default;
    // Replaces the file at path; the folder must exist.
    virtual Result writeAtomically(const QString &path, const QByteArray &data) = 0;
};

// The real writer: a temporary file in the same folder, fsynced, renamed over the target, then
// the folder fsynced so that the rename itself survives a power cut. Files it writes are readable
// by their owner alone (0600): the records, the settings and an export of them.
class AtomicFileWriter final : public FileWriter {
public:
    Result writeAtomically(const QString &path, const QByteArray &data) override;

    // The folder where the rename happens, and which is fsynced after it: for a symbolic link,
    // the folder of the file it leads to.
    static QString renamedIn(const QString &path);

    static AtomicFileWriter &instance();

    // A write killed between naming its temporary file and the rename leaves "<target>.XXXXXX"
    // (six letters) beside the target. Removes such regular files in folder whose target name
    // passes isTarget; call it only while no other writer of the folder runs. Returns how many
    // were removed.
    static int removeLeftovers(
        const QString &folder, const std::function<bool(const QString &)> &isTarget);
};
