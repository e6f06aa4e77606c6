#include "catalogue/index_table.h"

#include "window/controls.h"

const IndexInfo Indexes[IndexCount] = {
    {"LiberKey", Activity::IndexLoadLiberkey, &Settings::LiberkeySourcePath, &Settings::LiberkeyTargetPath,
     FieldLiberkeySource, FieldLiberkeyTarget},
    {"PortableApps", Activity::IndexLoadPortableApps, &Settings::PortableAppsSourcePath,
     &Settings::PortableAppsTargetPath, FieldPortableAppsSource, FieldPortableAppsTarget},
    {"Android", Activity::IndexLoadAndroid, &Settings::AndroidSourcePath, &Settings::AndroidTargetPath,
     FieldAndroidSource, FieldAndroidTarget},
};

const IndexInfo* FindIndex(const std::string& name)
{
    for (const IndexInfo& index : Indexes) {
        if (name == index.name)
            return &index;
    }
    return nullptr;
}
