#include "model/settings_values.h"

CopyMode CopyModeOf(const std::string& copyOrMove)
{
    if (copyOrMove == "Copy")
        return CopyMode::Copy;
    if (copyOrMove == "Move")
        return CopyMode::Move;
    return CopyMode::Other;
}

LeftoverReport LeftoverReportOf(const std::string& dumpLeftOvers)
{
    if (dumpLeftOvers == "Yes")
        return LeftoverReport::Yes;
    if (dumpLeftOvers == "No")
        return LeftoverReport::No;
    return LeftoverReport::Other;
}
