// The download tree the link-check benchmarks fetch from.
#pragma once

#include <string>

// Below the root (with or without its "\"): 25 packages and 12 other files a
// folder, folders three deep.
void BenchMakeFetchTree(const std::string& root, int packages);
