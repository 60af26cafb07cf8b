// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/memorydefaultsstore.h"

bool MemoryDefaultsStore::setValue(const QString &key, const QVariant &value)
{
    if (failWrites)
        return false;
    const QVariant stored = DefaultsValue::normalized(value);
    if (!stored.isValid())
        return false;
    writtenKeys.append(key);
    m_values.insert(key, stored);
    return true;
}

void MemoryDefaultsStore::remove(const QString &key)
{
    writtenKeys.append(key);
    m_values.remove(key);
}
