#include "catalogue/source_scan.h"

#include "app/app_state.h"

void FetchFiles(AppState&)
{
}
