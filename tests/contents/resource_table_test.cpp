// Resolving resource ids through resource tables: the real packages'
// resources.arsc (values as `aapt dump --values resources` shows them), the
// choice among configurations, and malformed tables.
#include <gtest/gtest.h>

#include "contents/binary_xml.h"
#include "contents/resource_table.h"
#include "contents/zip_directory.h"
#include "contents/zip_entry_data.h"
#include "support/made_up_android.h"
#include "support/made_up_package.h"
#include "support/test_data.h"

namespace {

std::string TableOf(const std::string& apk)
{
    ByteSource source = ByteSourceOfMemory(apk);
    ZipDirectory directory;
    std::string table;
    const ZipEntry* entry = nullptr;
    if (!ZipDirectoryRead(source, &directory) || !(entry = ZipDirectoryFind(directory, "resources.arsc"))
        || !ZipEntryDataRead(source, *entry, 64 << 20, &table))
        ADD_FAILURE() << "no resources.arsc";
    return table;
}

// The text the id leads to, or "(none)".
std::string TextOf(const std::string& bytes, uint32_t id)
{
    ResourceTable table;
    ResourceValue value;
    std::string text;
    if (!table.Load(bytes) || !table.Resolve(id, &value) || !table.Text(value, &text))
        return "(none)";
    return text;
}

MadeUpResource Text(const char* language, const char* region, uint16_t density, const char* text)
{
    return {1, 0, language, region, density, 0x03, 0, text};
}

}  // namespace

TEST(ResourceTable, RealTablesGiveTheDefaultConfigurationsStrings)
{
    for (const char* file : {"apk/io.appium.settings-5.14.15.apk", "apk/io.appium.settings-8.0.10.apk"}) {
        const std::string table = TableOf(TestDataBytes(file));
        EXPECT_EQ(TextOf(table, 0x7f080000), "Appium Settings") << file;
        // Translated in 80 languages; the default is the English one.
        EXPECT_EQ(TextOf(table, 0x7f080001), "Enable") << file;
        EXPECT_EQ(TextOf(table, 0x7f080000 + 0xFFFF), "(none)") << file;
        EXPECT_EQ(TextOf(table, 0x7f7f0000), "(none)") << file;
    }
}

TEST(ResourceTable, TheConfigurationWithoutLanguageIsChosenElseEnglishElseTheFirst)
{
    for (bool utf8 : {true, false}) {
        EXPECT_EQ(TextOf(MadeUpResourceTable({Text("de", "", 0, "Deutsch"), Text("en", "GB", 0, "English"),
                                              Text("", "", 240, "Neutral, high density")},
                                             utf8),
                         0x7f010000),
                  "Neutral, high density");
        EXPECT_EQ(TextOf(MadeUpResourceTable({Text("de", "", 0, "Deutsch"), Text("en", "GB", 0, "English")}, utf8),
                         0x7f010000),
                  "English");
        EXPECT_EQ(TextOf(MadeUpResourceTable({Text("fr", "", 0, "Francais"), Text("de", "", 0, "Deutsch")}, utf8),
                         0x7f010000),
                  "Francais");
        // A region alone is no neutral configuration.
        EXPECT_EQ(TextOf(MadeUpResourceTable({Text("", "US", 0, "Region"), Text("en", "", 0, "English")}, utf8),
                         0x7f010000),
                  "English");
    }
}

TEST(ResourceTable, MalformedTablesResolveNothingAndNeverCrash)
{
    const std::string table = MadeUpResourceTable({Text("", "", 0, "Label")}, true);
    ASSERT_EQ(TextOf(table, 0x7f010000), "Label");
    for (size_t cut = 0; cut < table.size(); ++cut)
        EXPECT_EQ(TextOf(table.substr(0, cut), 0x7f010000), "(none)") << cut;
    // Every 32-bit field set to a huge value in turn: a resolution fails or
    // still finds the label, and never reads out of bounds.
    for (size_t at = 0; at + 4 <= table.size(); at += 2) {
        std::string changed = table;
        changed.replace(at, 4, "\xF0\xFF\xFF\x7F");
        std::string text = TextOf(changed, 0x7f010000);
        EXPECT_TRUE(text == "(none)" || text.size() < 70000) << at;
    }
    // The real table with its first type chunk's entry offsets sent past the end.
    std::string real = TableOf(TestDataBytes("apk/io.appium.settings-8.0.10.apk"));
    // Type 2 (colours) has one configuration, with a header of 84 bytes.
    size_t type = real.find(LittleEndian(0x0201, 2) + LittleEndian(84, 2));
    while (type != std::string::npos && real[type + 8] != 2)
        type = real.find(LittleEndian(0x0201, 2) + LittleEndian(84, 2), type + 1);
    ASSERT_NE(type, std::string::npos);
    ResourceTable resources;
    ResourceValue value;
    EXPECT_TRUE(resources.Load(real) && resources.Resolve(0x7f020000, &value));
    EXPECT_EQ(value.type, 0x1c);
    EXPECT_EQ(value.data, 0x1f000000u);
    real.replace(type + 84, 4 * 8, std::string(4 * 8, '\x7F'));
    EXPECT_TRUE(resources.Load(real));
    EXPECT_FALSE(resources.Resolve(0x7f020000, &value));
}

TEST(StringPool, IndicesAndLengthsOutsideThePoolAreRefused)
{
    for (bool utf8 : {true, false}) {
        std::string bytes = MadeUpStringPool({"first", "second"}, utf8);
        Chunk chunk;
        StringPool pool;
        std::string text;
        ASSERT_TRUE(ChunkAt(ByteSpan(bytes), 0, &chunk) && pool.Load(chunk));
        EXPECT_TRUE(pool.Get(1, &text));
        EXPECT_EQ(text, "second");
        EXPECT_FALSE(pool.Get(2, &text));
        EXPECT_FALSE(pool.Get(0xFFFFFFFF, &text));
        std::string far = bytes;
        far.replace(28, 4, std::string("\x00\x00\x00\x70", 4));
        ASSERT_TRUE(ChunkAt(ByteSpan(far), 0, &chunk) && pool.Load(chunk));
        EXPECT_FALSE(pool.Get(0, &text));
        std::string longer = bytes;
        longer.replace(28 + 8, 2, utf8 ? std::string("\x05\x7F", 2) : std::string("\x7F\x00", 2));
        ASSERT_TRUE(ChunkAt(ByteSpan(longer), 0, &chunk) && pool.Load(chunk));
        EXPECT_FALSE(pool.Get(0, &text));
        std::string counted = bytes;
        counted.replace(8, 4, "\xFF\xFF\xFF\x0F");
        ASSERT_TRUE(ChunkAt(ByteSpan(counted), 0, &chunk));
        EXPECT_FALSE(pool.Load(chunk));
    }
}
