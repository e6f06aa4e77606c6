#include "contents/android_manifest.h"

#include "contents/binary_xml.h"
#include "contents/content_limits.h"
#include "contents/resource_table.h"
#include "contents/zip_directory.h"
#include "contents/zip_entry_data.h"

namespace {

const uint32_t AttributeLabel = 0x01010001;
const uint32_t AttributeVersionCode = 0x0101021b;
const uint32_t AttributeVersionName = 0x0101021c;
const uint32_t AttributeVersionCodeMajor = 0x01010576;

bool IsReference(uint8_t type) { return type == ValueReference || type == ValueDynamicReference; }
bool IsInteger(uint8_t type) { return type == ValueIntDecimal || type == ValueIntHex; }

// An attribute's value resolved through the table when it is a reference.
bool PlainValue(const XmlAttribute& attribute, const ResourceTable* table, ResourceValue* value)
{
    *value = {attribute.type, attribute.data};
    if (!IsReference(attribute.type))
        return true;
    return table && table->Resolve(attribute.data, value, attribute.type == ValueDynamicReference);
}

// An attribute's text: its raw string, a string value, or a string the
// table gives for a reference.
bool TextOf(const BinaryXml& xml, const XmlAttribute& attribute, const ResourceTable* table, std::string* text)
{
    if (attribute.type == ValueString)
        return xml.Strings().Get(attribute.data, text);
    if (attribute.rawValue != NoIndex && !IsReference(attribute.type))
        return xml.Strings().Get(attribute.rawValue, text);
    ResourceValue value;
    return table && PlainValue(attribute, table, &value) && table->Text(value, text);
}

bool IntegerOf(const XmlAttribute& attribute, const ResourceTable* table, uint32_t* number)
{
    ResourceValue value;
    if (!PlainValue(attribute, table, &value) || !IsInteger(value.type))
        return false;
    *number = value.data;
    return true;
}

// Takes the manifest element's attributes; false without a package id.
bool ManifestRead(const BinaryXml& xml, const XmlElement& element, const ResourceTable* table, ApkFacts* facts)
{
    uint32_t code = 0, major = 0;
    bool hasCode = false;
    for (const XmlAttribute& attribute : element.attributes) {
        if (attribute.resourceId == 0 && attribute.namespaceIndex == NoIndex && xml.StringIs(attribute.nameIndex, "package"))
            TextOf(xml, attribute, table, &facts->packageId);
        else if (attribute.resourceId == AttributeVersionName)
            TextOf(xml, attribute, table, &facts->versionName);
        else if (attribute.resourceId == AttributeVersionCode)
            hasCode = IntegerOf(attribute, table, &code);
        else if (attribute.resourceId == AttributeVersionCodeMajor)
            IntegerOf(attribute, table, &major);
    }
    facts->hasVersionCode = hasCode;
    facts->versionCode = hasCode ? (uint64_t(major) << 32) | code : 0;
    return !facts->packageId.empty();
}

void ApplicationRead(const BinaryXml& xml, const XmlElement& element, const ResourceTable* table, ApkFacts* facts)
{
    for (const XmlAttribute& attribute : element.attributes) {
        if (attribute.resourceId == AttributeLabel)
            TextOf(xml, attribute, table, &facts->label);
    }
}

}  // namespace

bool ApkFactsOfManifest(const std::string& manifest, const ResourceTable* table, ApkFacts* facts)
{
    BinaryXml xml;
    *facts = ApkFacts();
    if (!xml.Load(manifest))
        return false;
    bool found = false, inManifest = false;
    bool walked = xml.Walk([&](const XmlElement& element) {
        if (element.depth == 1) {
            inManifest = !found && xml.StringIs(element.nameIndex, "manifest");
            found = found || (inManifest && ManifestRead(xml, element, table, facts));
            return inManifest;
        }
        if (element.depth == 2 && inManifest && xml.StringIs(element.nameIndex, "application")) {
            ApplicationRead(xml, element, table, facts);
            return false;
        }
        return true;
    });
    return walked && found;
}

bool ApkFactsOf(const ByteSource& apk, ApkFacts* facts)
{
    ZipDirectory directory;
    std::string manifest, tableBytes;
    const ZipEntry* manifestEntry = nullptr;
    if (!ZipDirectoryRead(apk, &directory) || !(manifestEntry = ZipDirectoryFind(directory, "AndroidManifest.xml"))
        || !ZipEntryDataRead(apk, *manifestEntry, ApkEntryMaxInflated, &manifest))
        return false;
    const ZipEntry* tableEntry = ZipDirectoryFind(directory, "resources.arsc");
    ResourceTable table;
    bool hasTable = tableEntry && ZipEntryDataRead(apk, *tableEntry, ApkEntryMaxInflated, &tableBytes)
                    && table.Load(std::move(tableBytes));
    return ApkFactsOfManifest(manifest, hasTable ? &table : nullptr, facts);
}
