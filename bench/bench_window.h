// What every benchmark needs: a clock, a memory gauge, and the program's real
// window with its icons, built in the benchmark's own process.
#pragma once

// Seconds from an arbitrary start, at the performance counter's resolution.
double BenchNow();

// The most memory the process has held resident so far, in megabytes.
double PeakResidentMegabytes();

// Loads the icons and opens the main window; false (after saying so) when the
// window cannot be made.
bool BenchWindowOpen();

void BenchWindowClose();
