#include "contents/package_wholeness.h"

#include "contents/nsis_whole.h"
#include "contents/zero_runs.h"
#include "contents/zip_whole.h"

namespace {

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

PackageFormat PackageFormatOfLoweredName(const std::string& lowered)
{
    if (EndsWith(lowered, ".apk"))
        return PackageFormat::Apk;
    if (EndsWith(lowered, ".paf.exe"))
        return PackageFormat::PafExe;
    return PackageFormat::Other;
}

PackageWholeness PackageWholenessOfSource(const ByteSource& package, PackageFormat format)
{
    if (package.size == 0 || ZeroTailFound(package))
        return PackageWholeness::NotWhole;
    if (format == PackageFormat::Apk)
        return ZipArchiveIsWhole(package) ? PackageWholeness::Whole : PackageWholeness::NotWhole;
    if (format == PackageFormat::PafExe)
        return NsisProgramWholeness(package);
    return PackageWholeness::Unproven;
}
