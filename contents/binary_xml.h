// Android's binary XML (AndroidManifest.xml inside a package): its string
// pool, its resource map (the resource id of each attribute name, by string
// index) and its start elements with their attributes, in document order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "contents/android_chunks.h"

// A typed value's types, as Android writes them.
constexpr uint8_t ValueReference = 0x01;
constexpr uint8_t ValueString = 0x03;
constexpr uint8_t ValueDynamicReference = 0x07;
constexpr uint8_t ValueIntDecimal = 0x10;
constexpr uint8_t ValueIntHex = 0x11;

constexpr uint32_t NoIndex = 0xFFFFFFFF;

struct XmlAttribute {
    uint32_t namespaceIndex = NoIndex;
    uint32_t nameIndex = NoIndex;
    uint32_t resourceId = 0;  // from the resource map; 0 when the name has none
    uint32_t rawValue = NoIndex;
    uint8_t type = 0;
    uint32_t data = 0;
};

struct XmlElement {
    int depth = 0;  // 1 for the document's root element
    uint32_t nameIndex = NoIndex;
    std::vector<XmlAttribute> attributes;
};

class BinaryXml {
public:
    // False when the bytes are no binary XML document or its pool does not fit.
    // The document must outlive this reader.
    bool Load(const std::string& document);
    const StringPool& Strings() const { return strings_; }
    // Whether the string at `index` is `text`.
    bool StringIs(uint32_t index, const std::string& text) const;
    // Calls `visit` for each start element in document order until it says
    // stop; false when the document is malformed or nests past BinaryXmlMaxDepth.
    bool Walk(const std::function<bool(const XmlElement&)>& visit) const;

private:
    bool ElementRead(const Chunk& chunk, int depth, XmlElement* element) const;

    Chunk document_;
    StringPool strings_;
    ByteSpan resourceMap_;
};
