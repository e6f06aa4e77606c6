// What a dead run left: at every start, before any sort or watch, each
// staging folder "~Quillet-<run id>" in the configured source and target
// folders whose process has ended is emptied and removed, one status line
// per file ("Piece removed"). A file with more than one link is left alone:
// its bytes are not only ours.
#pragma once

#include <string>
#include <vector>

// The folders may repeat or be empty.
void LeftoverPiecesSettle(const std::vector<std::string>& folders);

// Whether the process the run id names (start second, process id) still runs.
bool LeftoverPiecesRunAlive(unsigned long long seconds, unsigned long processId);
