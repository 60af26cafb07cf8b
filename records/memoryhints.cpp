// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/memoryhints.h"

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace MemoryHints {

void preferHugePages([[maybe_unused]] void *data, [[maybe_unused]] qsizetype size)
{
#ifdef Q_OS_LINUX
    constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
    if (data == nullptr || size < qsizetype(4 * hugePage))
        return;
    // Only whole huge pages inside the buffer; the allocation's edges stay as they are.
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = (start + std::uintptr_t(size)) & ~(hugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace MemoryHints
