#include "catalogue/catalogue.h"

#include <cstring>

#include "catalogue/index_table.h"

const char* CatalogueNextRow(const char* row)
{
    return row + std::strlen(row) + 1;
}

bool CatalogueRowIsEnd(const char* row)
{
    return std::strcmp(row, "_END_") == 0;
}

const char* CatalogueFirstRow(const std::string& indexName)
{
    // The catalogues are stored in the order of the index table; skip whole
    // catalogues until the wanted one starts.
    const char* row = CatalogueRows;
    for (const IndexInfo& index : Indexes) {
        if (indexName == index.name)
            return row;
        while (!CatalogueRowIsEnd(row))
            row = CatalogueNextRow(row);
        row = CatalogueNextRow(row);
    }
    return nullptr;
}

IndexEntry SplitCatalogueRow(const char* row)
{
    std::string text = row;
    size_t bar = text.find('|');
    if (bar == std::string::npos)
        return {text, std::string()};
    size_t next = text.find('|', bar + 1);
    return {text.substr(0, bar), text.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1)};
}
