#include "app/command_line.h"

#include <algorithm>
#include <cstring>

#include "catalogue/index_table.h"
#include "util/ansi_text.h"

namespace {

// The option words, one row each, in lower case.
const struct {
    const char* word;
    RunMode mode;
} OptionWords[] = {
    {"sort", RunMode::Sort},
    {"preview", RunMode::Preview},
    {"watch", RunMode::Watch},
    {"tidy", RunMode::Tidy},
};

// The dashes and slashes a word may start with that are not ASCII "-" or
// "/", in order (see CommandLineLooksLikeOption).
const char32_t LookAlikes[] = {
    0x00AD, 0x02D7, 0x058A, 0x05BE, 0x1400, 0x1806, 0x2010, 0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2043,
    0x2044, 0x2053, 0x207B, 0x208B, 0x2212, 0x2215, 0x2571, 0x2796, 0x27CB, 0x29F8, 0x2E17, 0x2E1A, 0x2E3A,
    0x2E3B, 0x2E40, 0x2E5D, 0x301C, 0x3030, 0x30A0, 0xFE31, 0xFE32, 0xFE58, 0xFE63, 0xFF0D, 0xFF0F, 0x10EAD,
};

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// The words of the command line as they are being split.
struct WordSplit {
    std::vector<std::wstring> words;
    std::wstring word;
    bool inWord = false;
    bool quoted = false;
};

// The program's name: up to its closing quote when it starts with one, else
// up to the first blank; at is set past it.
std::wstring ProgramName(const std::wstring& whole, size_t* at)
{
    if (!whole.empty() && whole[0] == L'"') {
        size_t close = whole.find(L'"', 1);
        size_t end = close == std::wstring::npos ? whole.size() : close;
        *at = close == std::wstring::npos ? whole.size() : close + 1;
        return whole.substr(1, end - 1);
    }
    size_t end = whole.find_first_of(L" \t");
    *at = end == std::wstring::npos ? whole.size() : end;
    return whole.substr(0, *at);
}

// A run of backslashes: before a double quote, half of them (rounded down)
// and, when they were odd, the quote as a character; else all of them.
// Returns the position after what it took; an even run leaves the quote.
size_t TakeBackslashes(const std::wstring& text, size_t at, WordSplit& split)
{
    size_t end = text.find_first_not_of(L'\\', at);
    end = end == std::wstring::npos ? text.size() : end;
    size_t count = end - at;
    if (end == text.size() || text[end] != L'"') {
        split.word.append(count, L'\\');
        return end;
    }
    split.word.append(count / 2, L'\\');
    if (count % 2 == 0)
        return end;
    split.word += L'"';
    return end + 1;
}

// A double quote: two inside a quoted run give one; else it starts or ends
// the run. Returns the position after what it took.
size_t TakeQuote(const std::wstring& text, size_t at, WordSplit& split)
{
    if (split.quoted && at + 1 < text.size() && text[at + 1] == L'"') {
        split.word += L'"';
        return at + 2;
    }
    split.quoted = !split.quoted;
    return at + 1;
}

char32_t FirstCodePoint(const std::wstring& word)
{
    if (word.empty())
        return 0;
    char32_t first = word[0];
    bool pair = first >= 0xD800 && first <= 0xDBFF && word.size() > 1 && word[1] >= 0xDC00 && word[1] <= 0xDFFF;
    return pair ? 0x10000 + ((first - 0xD800) << 10) + (word[1] - 0xDC00) : first;
}

bool IsOption(const std::wstring& word)
{
    return !word.empty() && (word[0] == L'/' || word[0] == L'-');
}

// Letter case aside for ASCII letters only: no other character stands for a
// letter of an option word.
bool IsOptionWord(const std::wstring& word, const char* known)
{
    if (word.size() != std::strlen(known))
        return false;
    for (size_t at = 0; at < word.size(); ++at) {
        wchar_t c = word[at] >= L'A' && word[at] <= L'Z' ? word[at] + (L'a' - L'A') : word[at];
        if (c != static_cast<unsigned char>(known[at]))
            return false;
    }
    return true;
}

// The word in the ANSI code page, "?" for a character it lacks.
std::string Ansi(const std::wstring& word)
{
    return AnsiTextFromWide(word.c_str());
}

// The index's own spelling of the name, or nullptr when no index has it.
const char* IndexNamed(const std::wstring& name)
{
    std::string ansi = Ansi(name);
    for (const IndexInfo& index : Indexes) {
        if (AnsiEqualsIgnoringCase(ansi, index.name))
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
bool ReadOption(CommandLine& line, const std::wstring& option)
{
    size_t colon = option.find(L':');
    std::wstring word = option.substr(1, colon == std::wstring::npos ? std::wstring::npos : colon - 1);
    for (const auto& known : OptionWords) {
        if (!IsOptionWord(word, known.word))
            continue;
        if (line.mode != RunMode::Interactive)
            return false;
        line.mode = known.mode;
        const char* index = colon == std::wstring::npos ? "" : IndexNamed(option.substr(colon + 1));
        line.indexName = index ? index : "";
        return index != nullptr;
    }
    return false;
}

}  // namespace

std::vector<std::wstring> CommandLineSplit(const std::wstring& whole)
{
    WordSplit split;
    size_t at = 0;
    split.words.push_back(ProgramName(whole, &at));
    while (at < whole.size()) {
        wchar_t c = whole[at];
        if (IsBlank(c) && !split.quoted) {
            if (split.inWord)
                split.words.push_back(split.word);
            split.word.clear();
            split.inWord = false;
            ++at;
            continue;
        }
        split.inWord = true;
        if (c == L'\\')
            at = TakeBackslashes(whole, at, split);
        else if (c == L'"')
            at = TakeQuote(whole, at, split);
        else
            split.word += whole[at++];
    }
    if (split.inWord)
        split.words.push_back(split.word);
    return split.words;
}

bool CommandLineLooksLikeOption(const std::wstring& word)
{
    return std::binary_search(std::begin(LookAlikes), std::end(LookAlikes), FirstCodePoint(word));
}

CommandLine CommandLineRead(const std::vector<std::wstring>& words)
{
    CommandLine line;
    for (size_t at = 1; at < words.size(); ++at) {
        const std::wstring& given = words[at];
        if (CommandLineLooksLikeOption(given))
            line.unknown.push_back(Ansi(given));
        if (!IsOption(given))
            continue;
        std::wstring option = given;
        // "/sort NAME" stands for "/sort:NAME" where NAME names an index.
        bool named = at + 1 < words.size() && IndexNamed(words[at + 1]);
        if (option.find(L':') == std::wstring::npos && named)
            option += L":" + words[++at];
        if (!ReadOption(line, option))
            line.unknown.push_back(Ansi(given));
    }
    return line;
}

bool CommandLineRunsOnce(const CommandLine& line)
{
    return RunsOnce(line.mode);
}
