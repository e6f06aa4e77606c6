#include "sorting/sort_run.h"

#include "app/app_state.h"

void RunSort(AppState&)
{
}
