#include "contents/binary_xml.h"

#include "contents/content_limits.h"

namespace {

const uint64_t NodeHeaderBytes = 16;
const uint64_t ElementExtensionBytes = 20;
const uint64_t AttributeMinBytes = 20;

}  // namespace

bool BinaryXml::Load(const std::string& document)
{
    ByteSpan bytes(document);
    if (!ChunkAt(bytes, 0, &document_) || document_.type != ChunkXml)
        return false;
    bool pooled = false;
    ChunkChildren(document_, [&](const Chunk& chunk) {
        if (chunk.type == ChunkStringPool && !pooled)
            pooled = strings_.Load(chunk);
        else if (chunk.type == ChunkXmlResourceMap && resourceMap_.Size() == 0)
            resourceMap_ = chunk.bytes.From(chunk.headerSize);
        return chunk.type == ChunkStringPool || chunk.type == ChunkXmlResourceMap;
    });
    return pooled;
}

bool BinaryXml::StringIs(uint32_t index, const std::string& text) const
{
    std::string found;
    return strings_.Get(index, &found) && found == text;
}

bool BinaryXml::ElementRead(const Chunk& chunk, int depth, XmlElement* element) const
{
    ByteSpan extension = chunk.bytes.Sub(chunk.headerSize, ElementExtensionBytes);
    if (chunk.headerSize < NodeHeaderBytes || extension.Size() == 0)
        return false;
    element->depth = depth;
    element->nameIndex = extension.U32(4);
    uint64_t start = chunk.headerSize + extension.U16(8), size = extension.U16(10), count = extension.U16(12);
    if (size < AttributeMinBytes || !chunk.bytes.Has(start, size * count))
        return false;
    element->attributes.assign(static_cast<size_t>(count), XmlAttribute());
    for (uint64_t i = 0; i < count; ++i) {
        ByteSpan field = chunk.bytes.Sub(start + i * size, AttributeMinBytes);
        XmlAttribute& attribute = element->attributes[static_cast<size_t>(i)];
        attribute.namespaceIndex = field.U32(0);
        attribute.nameIndex = field.U32(4);
        attribute.rawValue = field.U32(8);
        attribute.type = field.U8(15);
        attribute.data = field.U32(16);
        if (resourceMap_.Has(uint64_t(attribute.nameIndex) * 4, 4))
            attribute.resourceId = resourceMap_.U32(uint64_t(attribute.nameIndex) * 4);
    }
    return true;
}

bool BinaryXml::Walk(const std::function<bool(const XmlElement&)>& visit) const
{
    int depth = 0;
    bool stopped = false;
    bool fits = ChunkChildren(document_, [&](const Chunk& chunk) {
        if (chunk.type == ChunkXmlEndElement)
            return --depth >= 0;
        if (chunk.type != ChunkXmlStartElement)
            return true;
        XmlElement element;
        if (++depth > BinaryXmlMaxDepth || !ElementRead(chunk, depth, &element))
            return false;
        stopped = !visit(element);
        return !stopped;
    });
    return fits || stopped;
}
