// Any bytes at all may stand in a settings file. These tests feed the reader
// thousands of generated and mutated files from a fixed seed and check that
// reading, writing and reading again gives the same lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "settings/settings_document.h"
#include "settings/settings_file.h"
#include "settings/settings_test_support.h"
#include "support/temp_folder.h"

namespace {

const char Mark[] = "\xEF\xBB\xBF";

// The engine's sequence is fixed by the standard; the distributions' are not,
// so numbers are taken from it directly.
class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    size_t Below(size_t n) { return n == 0 ? 0 : engine_() % n; }
    bool OneIn(size_t n) { return Below(n) == 0; }
    char Byte() { return static_cast<char>(Below(256)); }

private:
    std::mt19937 engine_;
};

const std::string Pieces[] = {
    "[", "]", ";", "=", " = ", " ", "\t", "\r", "\n", "\r\n", "\n\r", std::string(1, '\0'), Mark,
    "Program Options", "File Sort Paths", "Last Index", "Copy Or Move", "C:\\Users\\", "\xE9", "\xC3\xA9",
    "\xE2\x82\xAC", "\xC3", "\x80", "\xFF",
};

std::string Blanks(Random& random)
{
    std::string blanks;
    for (size_t n = random.Below(4); n > 0; --n)
        blanks += random.OneIn(2) ? ' ' : '\t';
    return blanks;
}

// Letters, digits and blanks, with now and then any byte but a line end.
std::string Word(Random& random, bool anyByte)
{
    static const char plain[] = "abcXYZ019 _.\\\xE9";
    std::string word;
    for (size_t n = random.Below(12); n > 0; --n) {
        char c = anyByte && random.OneIn(8) ? random.Byte() : plain[random.Below(sizeof(plain) - 1)];
        word += c == '\r' || c == '\n' ? 'x' : c;
    }
    return word;
}

std::string GeneratedLine(Random& random)
{
    switch (random.Below(7)) {
    case 0:
        return Blanks(random) + "[" + Word(random, true) + (random.OneIn(3) ? "" : "]")
               + (random.OneIn(4) ? Word(random, true) : "");
    case 1:
        return Blanks(random) + ";" + Blanks(random) + Word(random, true) + Blanks(random);
    case 2:
        return Blanks(random) + Word(random, true) + Blanks(random) + "=" + Blanks(random) + Word(random, true)
               + Blanks(random);
    case 3:
        return Blanks(random);
    case 4: {
        std::string bytes;
        for (size_t n = random.Below(40); n > 0; --n)
            bytes += random.Byte();
        return bytes;
    }
    case 5:
        return Word(random, true);
    default: {
        std::string line;
        for (size_t n = 1 + random.Below(6); n > 0; --n)
            line += Pieces[random.Below(sizeof(Pieces) / sizeof(Pieces[0]))];
        return line;
    }
    }
}

std::string GeneratedFile(Random& random)
{
    static const char* const lineEnds[] = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
    std::string text = random.OneIn(6) ? Mark : "";
    for (size_t n = random.Below(30); n > 0; --n)
        text += GeneratedLine(random) + lineEnds[random.Below(5)];
    if (random.OneIn(3))
        text += GeneratedLine(random);
    return text;
}

std::string Mutated(Random& random, std::string text)
{
    for (size_t n = 1 + random.Below(8); n > 0; --n) {
        size_t at = random.Below(text.size() + 1);
        size_t length = random.Below(text.size() - at + 1);
        switch (random.Below(6)) {
        case 0:
            if (at < text.size())
                text[at] = random.Byte();
            break;
        case 1:
            text.insert(at, Pieces[random.Below(sizeof(Pieces) / sizeof(Pieces[0]))]);
            break;
        case 2:
            text.erase(at, length);
            break;
        case 3:
            text.insert(at, text.substr(at, length));
            break;
        case 4:
            text.resize(at);
            break;
        default:
            text.insert(at, 1 + random.Below(random.OneIn(20) ? 20000 : 50), random.Byte());
            break;
        }
    }
    return text;
}

std::string AllBytes()
{
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte)
        bytes += static_cast<char>(byte);
    return bytes;
}

std::vector<std::string> SpecialFiles()
{
    std::string megabyteLine(1 << 20, 'x');
    return {
        "",
        Mark,
        "\xEF\xBB",
        std::string(Mark) + "\r\n",
        std::string(Mark) + Mark + "[G]",
        "\r",
        "\n",
        std::string(1000, '\r'),
        std::string(3, '\0'),
        std::string("[\0]\r\n\0 = \0\r\n;\0", 14),
        AllBytes(),
        AllBytes() + AllBytes() + AllBytes(),
        megabyteLine,
        "Last Index = " + megabyteLine,
        "[" + megabyteLine,
        ";" + megabyteLine + "\r\n[G]\r\nk = v",
        std::string(1 << 16, '[') + "\n" + std::string(1 << 16, '=') + "\n" + std::string(1 << 16, ';'),
        std::string(1 << 16, ' ') + "k" + std::string(1 << 16, '\t') + "=" + std::string(1 << 16, ' '),
        JoinedLines(DefaultSettingsLines()),
        // The mark after a blank line is no mark, and must not become one.
        std::string("\n") + Mark + "[ProGram OpTIONs]\rLast Index=]",
    };
}

// Empty when reading, writing and reading again gives the same lines and the
// same text; otherwise what went wrong.
std::string RoundTripFault(const SettingsDocument& first)
{
    std::string written = DocumentText(first);
    SettingsDocument second = DocumentParse(written);
    if (second.utf8 != first.utf8)
        return "UTF-8 flag changes";
    if (second.lines != first.lines)
        return "lines change";
    if (DocumentText(second) != written)
        return "text changes";
    return "";
}

std::string WithoutLeadingBlanks(std::string text)
{
    text.erase(0, text.find_first_not_of(" \t"));
    return text;
}

std::string Trimmed(const std::string& text)
{
    std::string trimmed = WithoutLeadingBlanks(text);
    trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
    return trimmed;
}

// A key as the program passes one: no blanks at its ends, no "=", and not
// starting as a comment or a header does.
std::string KeyName(Random& random)
{
    std::string key = Trimmed(Word(random, true));
    for (char& c : key) {
        if (c == '=')
            c = '-';
    }
    if (!key.empty() && (key[0] == ';' || key[0] == '['))
        key[0] = 'k';
    return key;
}

std::string GroupName(Random& random)
{
    std::string name = Word(random, true);
    for (char& c : name) {
        if (c == ']')
            c = ')';
    }
    return name;
}

// Runs random changes on the document; after each write the key reads back as
// written. Empty, or what went wrong.
std::string EditFault(Random& random, SettingsDocument& document)
{
    for (size_t n = random.Below(6); n > 0; --n) {
        switch (random.Below(4)) {
        case 0:
            DocumentSelectGroup(document, random.OneIn(3) ? "Program Options" : GroupName(random));
            break;
        case 1:
            DocumentAddComment(document, Word(random, true));
            break;
        case 2:
            DocumentReadKey(document, KeyName(random), "");
            break;
        default: {
            std::string key = KeyName(random);
            std::string value = WithoutLeadingBlanks(Word(random, true));
            DocumentWriteKey(document, key, value);
            if (DocumentReadKey(document, key, "\x01") != Trimmed(value))
                return "written key reads back differently";
        }
        }
    }
    return "";
}

std::string Escaped(const std::string& bytes)
{
    std::string shown;
    for (size_t i = 0; i < bytes.size() && i < 160; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        char hex[8];
        std::snprintf(hex, sizeof(hex), "\\x%02X", c);
        shown += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, static_cast<char>(c)) : hex;
    }
    return bytes.size() > 160 ? shown + "... (" + std::to_string(bytes.size()) + " bytes)" : shown;
}

// Every input: the special files, then generated and mutated ones in turn.
template <typename Check>
int ForEachInput(unsigned seed, int generated, Check check)
{
    Random random(seed);
    std::vector<std::string> recent = SpecialFiles();
    int tried = 0;
    for (const std::string& input : SpecialFiles()) {
        ++tried;
        if (!check(random, input))
            return tried;
    }
    for (int n = 0; n < generated; ++n) {
        std::string input = n % 2 == 0 ? GeneratedFile(random)
                                        : Mutated(random, recent[random.Below(recent.size())]);
        // Small inputs become the seeds of later mutations.
        if (input.size() < 4096)
            recent.push_back(input);
        ++tried;
        if (!check(random, input))
            return tried;
    }
    return tried;
}

}  // namespace

TEST(DocumentParse, RandomFilesReadWriteAndReadAgainTheSame)
{
    int tried = ForEachInput(20240601u, 8000, [](Random& random, const std::string& input) {
        SettingsDocument document = DocumentParse(input);
        std::string fault = RoundTripFault(document);
        if (fault.empty())
            fault = EditFault(random, document);
        if (fault.empty())
            fault = RoundTripFault(document);
        EXPECT_EQ(fault, "") << "input: " << Escaped(input);
        return fault.empty();
    });
    std::printf("DocumentParse tried %d inputs\n", tried);
    RecordProperty("inputs", tried);
}

TEST(SettingsFile, RandomFilesOnDiskReadWriteAndReadAgain)
{
    TempFolder temp;
    std::string path = temp / "Quillet.Ini";
    int tried = ForEachInput(777u, 300, [&](Random& random, const std::string& input) {
        WriteFileBytes(path, input);
        SettingsFile file;
        if (!file.Open(path)) {
            ADD_FAILURE() << "cannot open: " << Escaped(input);
            return false;
        }
        std::string group = random.OneIn(2) ? "Program Options" : GroupName(random);
        file.SelectGroup(group);
        std::string before = file.ReadKey("Last Index", "\x01");
        std::string value = WithoutLeadingBlanks(Word(random, true));
        file.WriteKey("Last Index", value);
        bool written = file.Close();

        SettingsDocument expected = DocumentParse(input);
        DocumentSelectGroup(expected, group);
        EXPECT_EQ(before, DocumentReadKey(expected, "Last Index", "\x01"));
        DocumentWriteKey(expected, "Last Index", value);
        EXPECT_TRUE(written);
        EXPECT_EQ(ReadFileBytes(path), DocumentText(expected)) << "input: " << Escaped(input);

        EXPECT_TRUE(file.Open(path));
        file.SelectGroup(group);
        EXPECT_EQ(file.ReadKey("Last Index", "\x01"), Trimmed(value)) << "input: " << Escaped(input);
        file.Close();
        return !::testing::Test::HasFailure();
    });
    std::printf("SettingsFile tried %d files on disk\n", tried);
    RecordProperty("inputs", tried);
}
