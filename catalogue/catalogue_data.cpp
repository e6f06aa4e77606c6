// The rows of the three catalogues, in storage form (see catalogue.h).
#include "catalogue/catalogue.h"

const char CatalogueRows[] =
    // LiberKey
    "_END_\0"
    // PortableApps
    "_END_\0"
    // Android
    "_END_";
