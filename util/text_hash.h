// A 64-bit hash of text (FNV-1a): where a text is kept only to be known again
// or to make a short name, its hash costs a small part of keeping it.
#pragma once

#include <cstdint>
#include <string>

inline uint64_t TextHash(const std::string& text)
{
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}
