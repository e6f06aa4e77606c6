// A count with its noun, singular for one and plural otherwise ("1 row",
// "0 rows", "2 rows"): every line that counts something says it so.
#pragma once

#include <cstdint>
#include <string>

// The number, a blank, and the noun: `one` for exactly 1, else `many`.
std::string CountText(uint64_t count, const char* one, const char* many);
