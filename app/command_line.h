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
    std::vector<std::string> unknown;  // options not understood, as given: the program ends at once
};

// The whole command line less the program's name, which ends at its closing
// quote when it starts with one (so `"C:\Quillet.exe"/sort` asks for /sort),
// else at the first blank; the blanks after it are dropped.
std::string CommandLineAfterProgramName(const std::string& whole);

// Splits the command line (less the program's name) into arguments: blanks
// part them, double quotes keep blanks inside one and are dropped.
std::vector<std::string> CommandLineSplit(const std::string& text);

// Reads the arguments (/sort, /preview, /watch, /tidy). "/" or "-" starts an option word; option words and
// index names ignore letter case; anything else (a folder dragged onto the
// program) is passed over, but for an index name right after an option
// without a colon, which stands for ":NAME". A word that is none of the
// options, a ":NAME" that names no index and a second option are listed as
// unknown.
CommandLine CommandLineRead(const std::vector<std::string>& arguments);

// The run sorts, previews or puts older versions aside (/tidy) once and quits.
bool CommandLineRunsOnce(const CommandLine& line);
