#pragma once

// Milliseconds since the kernel started this process, so the loading of the libraries counts
// too; -1 when /proc cannot tell. For the start-up figures of the benchmarks.
double msSinceProcessStart();
