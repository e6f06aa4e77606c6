// Text found in packages, made UTF-8: UTF-16 little-endian code units (the
// Windows and Android string pools) and Android's UTF-8 pools, which may
// carry surrogates encoded one by one. Malformed units become U+FFFD, so the
// result is always well-formed UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "contents/byte_span.h"

// `count` UTF-16 little-endian code units from `at` (as many as lie inside).
std::string Utf8FromUtf16(const ByteSpan& bytes, uint64_t at, uint64_t count);

// UTF-16 little-endian text from `at` up to its NUL or to the end of the span.
std::string Utf8FromUtf16UpToNul(const ByteSpan& bytes, uint64_t at);

// UTF-8 (or modified UTF-8, with surrogate pairs encoded apart) made well-formed.
std::string Utf8Cleaned(const std::string& text);
