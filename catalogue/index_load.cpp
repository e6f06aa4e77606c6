#include "catalogue/index_load.h"

#include "app/app_state.h"

void LoadIndex(AppState&)
{
}
