// The fixed table of the 152 code pages the program knows, in ascending order of number.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "codepage/code_page.h"

struct CodePageEntry {
  CodePage nCodePage;
  std::string_view strDescription;
};

inline constexpr std::size_t kCodePageTableSize = 152;

extern const std::array<CodePageEntry, kCodePageTableSize> g_CodePageTable;
