// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filewriter.h"

// Refuses every write, as a full disk would; counts the attempts.
class FailingFileWriter final : public FileWriter {
public:
    explicit FailingFileWriter(QString reason = QStringLiteral("No space left on device"))
        : m_reason(std::move(reason))
    {
    }
    Result writeAtomically(const QString &, const QByteArray &) override
    {
        ++attempts;
        return {false, m_reason};
    }
    int attempts = 0;

private:
    QString m_reason;
};

// Writes for real until told to fail.
class SwitchableFileWriter final : public FileWriter {
public:
    Result writeAtomically(const QString &path, const QByteArray &data) override
    {
        if (failing)
            return {false, QStringLiteral("No space left on device")};
        return AtomicFileWriter::instance().writeAtomically(path, data);
    }
    bool failing = false;
};
