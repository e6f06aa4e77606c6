// The program's command line: a scheduled sort or preview that runs once and
// quits, or a start with the watch turned on. Read without a window, so that
// it is decided before anything is shown or written.
#pragma once

#include <string>
#include <vector>

enum class RunMode { Interactive, Sort, Preview, Watch, Tidy };

struct CommandLine {
    RunMode mode = RunMode::Interactive;
    std::string indexName;             // the index named after the colon, as the program spells it; empty: the last one
    std::vector<std::string> unknown;  // options not understood, as given
};

// Splits the command line (less the program's name) into arguments: blanks
// part them, double quotes keep blanks inside one and are dropped.
std::vector<std::string> CommandLineSplit(const std::string& text);

// Reads the arguments. "/" or "-" starts an option; names of options and
// indexes ignore letter case; anything else (a folder dragged onto the
// program) is passed over. Of /sort, /preview, /watch and /tidy only the first is
// taken; a second, an unknown option and an unknown index name are listed as
// unknown. A sort or preview among them makes the run one that runs once.
CommandLine CommandLineRead(const std::vector<std::string>& arguments);

// The run sorts, previews or puts older versions aside (/tidy) once and quits.
bool CommandLineRunsOnce(const CommandLine& line);
