// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

namespace MemoryHints {

// Asks the kernel to back a large, not yet touched buffer with huge pages. Filling 25 MB of fresh
// memory otherwise costs thousands of page faults, which on virtual machines outweigh the work
// done in it. Only a hint: small buffers, other systems and refusals change nothing.
void preferHugePages(void *data, qsizetype size);

} // namespace MemoryHints
