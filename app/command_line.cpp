#include "app/command_line.h"

#include "catalogue/index_table.h"
#include "util/ansi_text.h"

namespace {

// The option words, one row each.
const struct {
    const char* word;
    RunMode mode;
} OptionWords[] = {
    {"sort", RunMode::Sort},
    {"preview", RunMode::Preview},
    {"watch", RunMode::Watch},
    {"tidy", RunMode::Tidy},
};

bool IsOption(const std::string& argument)
{
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

// The index's own spelling of the name, or nullptr when no index has it.
const char* IndexNamed(const std::string& name)
{
    for (const IndexInfo& index : Indexes) {
        if (AnsiEqualsIgnoringCase(name, index.name))
            return index.name;
    }
    return nullptr;
}

bool RunsOnce(RunMode mode)
{
    return mode == RunMode::Sort || mode == RunMode::Preview || mode == RunMode::Tidy;
}

// Takes one option into the line; false when it is not understood: a word
// that is no option, an index name that names none, or a second option.
bool ReadOption(CommandLine& line, const std::string& option)
{
    size_t colon = option.find(':');
    std::string word = option.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
    for (const auto& known : OptionWords) {
        if (!AnsiEqualsIgnoringCase(word, known.word))
            continue;
        if (line.mode != RunMode::Interactive)
            return false;
        line.mode = known.mode;
        const char* index = colon == std::string::npos ? "" : IndexNamed(option.substr(colon + 1));
        line.indexName = index ? index : "";
        return index != nullptr;
    }
    return false;
}

}  // namespace

std::string CommandLineAfterProgramName(const std::string& whole)
{
    size_t end = 0;
    if (!whole.empty() && whole[0] == '"') {
        end = whole.find('"', 1);
        end = end == std::string::npos ? whole.size() : end + 1;
    } else {
        end = whole.find_first_of(" \t");
        end = end == std::string::npos ? whole.size() : end;
    }
    size_t start = whole.find_first_not_of(" \t", end);
    return start == std::string::npos ? std::string() : whole.substr(start);
}

std::vector<std::string> CommandLineSplit(const std::string& text)
{
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool started = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (started)
                arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        arguments.push_back(current);
    return arguments;
}

CommandLine CommandLineRead(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (size_t at = 0; at < arguments.size(); ++at) {
        if (!IsOption(arguments[at]))
            continue;
        const std::string& given = arguments[at];
        std::string option = given;
        // "/sort NAME" stands for "/sort:NAME" where NAME names an index.
        bool named = at + 1 < arguments.size() && IndexNamed(arguments[at + 1]);
        if (option.find(':') == std::string::npos && named)
            option += ":" + arguments[++at];
        if (!ReadOption(line, option))
            line.unknown.push_back(given);
    }
    return line;
}

bool CommandLineRunsOnce(const CommandLine& line)
{
    return RunsOnce(line.mode);
}
