// The three catalogues compiled into the program.
//
// Storage: rows of 8-bit text, each ended by a NUL, following each other
// without gaps. Every row is a category, "|" and a name; a catalogue ends
// with the row "_END_", and the three catalogues are stored one after the
// other (LiberKey, PortableApps, Android). There is no row count anywhere.
#pragma once

#include <string>

#include "model/index_list.h"

extern const char CatalogueRows[];

// The first row of the named index's catalogue (exact name), or nullptr.
const char* CatalogueFirstRow(const std::string& indexName);

// The row after this one.
const char* CatalogueNextRow(const char* row);

// Whether the row is the end marker "_END_".
bool CatalogueRowIsEnd(const char* row);

// Splits a row: the category is the text before the first "|", the name the
// text after it up to the next "|" or the end of the row.
IndexEntry SplitCatalogueRow(const char* row);
