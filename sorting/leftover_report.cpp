#include "sorting/leftover_report.h"

#include "app/app_state.h"

void OnDumpLeftoversChanged(AppState&)
{
}

void WriteOrphanListing(AppState&)
{
}
