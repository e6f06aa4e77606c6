#include "app/command_line.h"

#include "catalogue/index_table.h"
#include "util/ansi_text.h"

namespace {

const struct {
    const char* name;
    RunMode mode;
} ModeOptions[] = {
    {"sort", RunMode::Sort},
    {"preview", RunMode::Preview},
    {"watch", RunMode::Watch},
    {"tidy", RunMode::Tidy},
};

bool IsOption(const std::string& argument)
{
    return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-');
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

// Takes one option into the line; false when it is not understood. A sort or
// a preview asked for wrongly still makes the run one that ends at once, with
// nothing sorted, rather than a window that waits for a user who is not there.
bool ReadOption(CommandLine& line, const std::string& option)
{
    size_t colon = option.find(':');
    std::string name = option.substr(1, colon == std::string::npos ? std::string::npos : colon - 1);
    for (const auto& known : ModeOptions) {
        if (!AnsiEqualsIgnoringCase(name, known.name))
            continue;
        if (line.mode != RunMode::Interactive) {
            if (RunsOnce(known.mode) && !RunsOnce(line.mode))
                line.mode = known.mode;
            return false;
        }
        line.mode = known.mode;
        const char* index = colon == std::string::npos ? "" : IndexNamed(option.substr(colon + 1));
        line.indexName = index ? index : "";
        return index != nullptr;
    }
    return false;
}

}  // namespace

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
    for (const std::string& argument : arguments) {
        if (IsOption(argument) && !ReadOption(line, argument))
            line.unknown.push_back(argument);
    }
    return line;
}

bool CommandLineRunsOnce(const CommandLine& line)
{
    return RunsOnce(line.mode);
}
