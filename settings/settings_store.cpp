#include "app/app_state.h"
#include "settings/settings.h"

void LoadSettings(AppState&)
{
}

void SaveSettings(AppState&)
{
}
