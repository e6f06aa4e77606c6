// What every benchmark needs: a clock, a memory gauge, and the program's real
// window with its icons, built in the benchmark's own process.
#pragma once

#include <string>
#include <vector>

struct AppState;

// Seconds from an arbitrary start, at the performance counter's resolution.
double BenchNow();

// Marks a point in the Wine server's trace of requests (a named event made
// and closed at once, "QuilletBench:" and the text): scripts/bench-requests.sh
// counts the requests the marking thread makes from one mark to the next.
// The text ends with "/" and how many items (placements) that stretch does.
// With QUILLET_BENCH_PERF naming perf's control FIFO in Windows form (perf
// record --control fifo:PATH -D -1), each mark of a stretch enables perf's
// recording and the mark "end" disables it: a profile of those stretches.
void BenchMark(const std::string& what);

// The most memory the process has held resident so far, in megabytes.
double PeakResidentMegabytes();

// Loads the icons and opens the main window; false (after saying so) when the
// window cannot be made.
bool BenchWindowOpen();

void BenchWindowClose();

// Times one sort of the listed packages as the menu runs it, its history run
// around it; says so when it left rows in the list. Seconds.
double BenchTimedSort(AppState& app);

// An empty file at the path, in a folder that exists.
void BenchWriteEmptyFile(const std::string& path);

// A new folder of the benchmark's own on the RAM disk (/dev/shm), ending with
// "\"; empty where there is none. The caller removes it.
std::string BenchRamFolder(const std::string& name);

// The baseline of the walks: the tree below the root (with or without its
// "\") walked with FindFirstFileA alone; the number of files in it.
int BenchBareWalk(const std::string& root);

// The median of the rounds' times and their spread (lowest to highest), as
// "1.234 s (1.200 to 1.300)"; and the ratio of two medians.
std::string BenchMedianText(std::vector<double> seconds);
double BenchMedian(std::vector<double> seconds);
