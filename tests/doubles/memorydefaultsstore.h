// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/defaultsstore.h"

#include <QHash>
#include <QStringList>

// A defaults store in memory that remembers every write, so tests can tell what start-up or an
// operation wrote. Values are normalised exactly as the real store does.
class MemoryDefaultsStore final : public DefaultsStore {
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    bool setValue(const QString &key, const QVariant &value) override;
    void remove(const QString &key) override;

    // Puts a value without counting it as a write, as if it had been stored by an earlier run.
    void seed(const QString &key, const QVariant &value) { m_values.insert(key, value); }

    QStringList writtenKeys; // in order, one entry per setValue or remove
    bool failWrites = false; // every setValue is refused while set

private:
    QHash<QString, QVariant> m_values;
};
