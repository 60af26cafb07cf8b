// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/defaultsstore.h"

#include <QHash>
#include <QMutex>

class FileWriter;

// The real defaults store: one file per key in a folder ("$XDG_CONFIG_HOME/VelmorTimer"), each
// written atomically at every change. Keeping keys apart means a small setting never rewrites
// the large record copy.
//
// A file holds one tag byte and the value: 'B' then raw bytes for a byte array, 'J' then a JSON
// document whose objects name each value's type, so integers, doubles, strings, lists and maps
// read back with the type they were written with.
class FileDefaultsStore final : public DefaultsStore {
public:
    FileDefaultsStore(QString folder, FileWriter &writer);

    QVariant value(const QString &key) const override;
    bool setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;
    // A file that is not a regular one, or whose bytes are not a value.
    std::optional<Unreadable> unreadable(const QString &key) const override;

    QString folder() const { return m_folder; }

    // The process-wide store of the application, in the user's configuration folder.
    static FileDefaultsStore &standard();

    // The file form of a value and back; an invalid QVariant when the bytes are not a value.
    static QByteArray encodeValue(const QVariant &value);
    static QVariant decodeValue(const QByteArray &bytes);

private:
    QString pathOf(const QString &key) const;

    QString m_folder;
    FileWriter &m_writer;
    // Small values read or written so far; an invalid value marks a key known to be absent.
    // Locked: the record copy is written from a writer thread while the window reads settings.
    mutable QMutex m_cacheLock;
    mutable QHash<QString, QVariant> m_cache;
};
