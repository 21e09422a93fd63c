// Conversion through a complete CodePageTable: a direct lookup per byte, byte pair or UTF-16 unit.
#pragma once

#include <cstddef>

#include "platform/codepage_table.h"

namespace platform {

// Both functions convert exactly `length` input elements, write at most `capacity` output
// elements (none when `output` is null) and return how many the whole input needs.
std::size_t DecodeWithTable(const CodePageTable& table, const char* bytes, std::size_t length,
                            char16_t* output, std::size_t capacity);
std::size_t EncodeWithTable(const CodePageTable& table, const char16_t* units, std::size_t length,
                            char* output, std::size_t capacity);

}  // namespace platform
