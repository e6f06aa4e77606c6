#include "settings/folder_pickers.h"

#include "app/app_state.h"

void PickLiberkeySource(AppState&)
{
}

void PickLiberkeyTarget(AppState&)
{
}

void PickPortableAppsSource(AppState&)
{
}

void PickPortableAppsTarget(AppState&)
{
}

void PickAndroidSource(AppState&)
{
}

void PickAndroidTarget(AppState&)
{
}
