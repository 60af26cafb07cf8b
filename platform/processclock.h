// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Milliseconds since the kernel started this process, so the loading of the libraries counts
// too; -1 when /proc cannot tell. For the start-up figures of the benchmarks.
double msSinceProcessStart();

// Milliseconds of processor time this process has used so far, all its threads together.
double processorMs();
