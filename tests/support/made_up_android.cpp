#include "support/made_up_android.h"

#include <algorithm>
#include <map>

#include "support/made_up_package.h"

namespace {

const uint32_t None = 0xFFFFFFFF;

std::string Chunk(uint16_t type, const std::string& header, const std::string& body)
{
    return LittleEndian(type, 2) + LittleEndian(8 + header.size(), 2) + LittleEndian(8 + header.size() + body.size(), 4)
           + header + body;
}

std::string Padded(std::string bytes)
{
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
    return bytes;
}

std::string Encoded(const std::string& text, bool utf8)
{
    if (utf8)
        return LittleEndian(text.size(), 1) + LittleEndian(text.size(), 1) + text + '\0';
    std::string units = LittleEndian(text.size(), 2);
    for (char c : text)
        units += LittleEndian(static_cast<unsigned char>(c), 2);
    return units + LittleEndian(0, 2);
}

// Strings of a pool, each once, in the order first asked for.
class Pool {
public:
    uint32_t Index(const std::string& text)
    {
        for (size_t i = 0; i < strings_.size(); ++i) {
            if (strings_[i] == text)
                return static_cast<uint32_t>(i);
        }
        strings_.push_back(text);
        return static_cast<uint32_t>(strings_.size() - 1);
    }
    const std::vector<std::string>& Strings() const { return strings_; }

private:
    std::vector<std::string> strings_;
};

std::string Attributes(const std::vector<MadeUpAttribute>& attributes, Pool& pool)
{
    std::string bytes;
    for (const MadeUpAttribute& a : attributes) {
        uint32_t text = a.type == 0x03 ? pool.Index(a.text) : None;
        uint32_t space = a.resourceId ? pool.Index("http://schemas.android.com/apk/res/android") : None;
        bytes += LittleEndian(space, 4) + LittleEndian(pool.Index(a.name), 4) + LittleEndian(text, 4)
                 + LittleEndian(8, 2) + LittleEndian(0, 1) + LittleEndian(a.type, 1)
                 + LittleEndian(a.type == 0x03 ? text : a.data, 4);
    }
    return bytes;
}

std::string StartElement(const std::string& name, const std::vector<MadeUpAttribute>& attributes, Pool& pool)
{
    std::string extension = LittleEndian(None, 4) + LittleEndian(pool.Index(name), 4) + LittleEndian(20, 2)
                            + LittleEndian(20, 2) + LittleEndian(attributes.size(), 2) + std::string(6, '\0');
    return Chunk(0x0102, LittleEndian(1, 4) + LittleEndian(None, 4), extension + Attributes(attributes, pool));
}

std::string EndElement(const std::string& name, Pool& pool)
{
    return Chunk(0x0103, LittleEndian(1, 4) + LittleEndian(None, 4), LittleEndian(None, 4) + LittleEndian(pool.Index(name), 4));
}

std::string Config(const MadeUpResource& r)
{
    std::string config = LittleEndian(28, 4) + LittleEndian(0, 4) + (r.language + std::string(2, '\0')).substr(0, 2)
                         + (r.region + std::string(2, '\0')).substr(0, 2) + LittleEndian(0, 2) + LittleEndian(r.density, 2);
    config.resize(28, '\0');
    return config;
}

std::string TypeChunk(uint8_t type, const std::string& config, const std::map<uint16_t, std::string>& entries)
{
    uint16_t count = entries.empty() ? 0 : entries.rbegin()->first + 1;
    std::string offsets, records;
    for (uint16_t i = 0; i < count; ++i) {
        auto found = entries.find(i);
        offsets += LittleEndian(found == entries.end() ? None : records.size(), 4);
        if (found != entries.end())
            records += found->second;
    }
    std::string header = LittleEndian(type, 1) + std::string(3, '\0') + LittleEndian(count, 4)
                         + LittleEndian(8 + 12 + config.size() + offsets.size(), 4) + config;
    return Chunk(0x0201, header, offsets + records);
}

}  // namespace

std::string MadeUpStringPool(const std::vector<std::string>& strings, bool utf8)
{
    std::string offsets, data;
    for (const std::string& s : strings) {
        offsets += LittleEndian(data.size(), 4);
        data += Encoded(s, utf8);
    }
    std::string header = LittleEndian(strings.size(), 4) + LittleEndian(0, 4) + LittleEndian(utf8 ? 0x100 : 0, 4)
                         + LittleEndian(28 + offsets.size(), 4) + LittleEndian(0, 4);
    return Chunk(0x0001, header, offsets + Padded(data));
}

std::string MadeUpManifest(const std::vector<MadeUpAttribute>& manifest,
                           const std::vector<MadeUpAttribute>& application, bool utf8)
{
    Pool pool;
    std::string map;
    // Names with a resource id come first, so that the map lines up with them.
    for (const auto* list : {&manifest, &application}) {
        for (const MadeUpAttribute& a : *list) {
            if (a.resourceId && pool.Index(a.name) * 4 == map.size())
                map += LittleEndian(a.resourceId, 4);
        }
    }
    std::string body = StartElement("manifest", manifest, pool) + StartElement("application", application, pool)
                       + EndElement("application", pool) + EndElement("manifest", pool);
    return Chunk(0x0003, "", MadeUpStringPool(pool.Strings(), utf8) + Chunk(0x0180, "", map) + body);
}

std::string MadeUpResourceTable(const std::vector<MadeUpResource>& resources, bool utf8)
{
    Pool values;
    // One chunk per type and configuration, in the order first named.
    std::vector<std::pair<std::pair<uint8_t, std::string>, std::map<uint16_t, std::string>>> chunks;
    for (const MadeUpResource& r : resources) {
        uint32_t data = r.valueType == 0x03 ? values.Index(r.text) : r.data;
        std::string record = LittleEndian(8, 2) + LittleEndian(0, 2) + LittleEndian(0, 4) + LittleEndian(8, 2)
                             + LittleEndian(0, 1) + LittleEndian(r.valueType, 1) + LittleEndian(data, 4);
        auto key = std::make_pair(r.type, Config(r));
        auto chunk = std::find_if(chunks.begin(), chunks.end(), [&](const auto& c) { return c.first == key; });
        if (chunk == chunks.end())
            chunk = chunks.insert(chunks.end(), {key, {}});
        chunk->second[r.entry] = record;
    }
    std::string types;
    for (const auto& chunk : chunks)
        types += TypeChunk(chunk.first.first, chunk.first.second, chunk.second);
    std::string name(256, '\0');
    std::string header = LittleEndian(0x7f, 4) + name + std::string(20, '\0');
    std::string package = Chunk(0x0200, header, types);
    return Chunk(0x0002, LittleEndian(1, 4), MadeUpStringPool(values.Strings(), utf8) + package);
}
