// A code page as lookup tables: one step per byte or byte pair when decoding, two array indexes per
// UTF-16 unit when encoding. The tables are generated at build time from Microsoft's data files in
// platform/codepage_data/ (see codepage_table_generator.cpp).
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// In tables that are not complete yet: a byte or a unit that the data file leaves without mapping.
// Never a real value: no page maps a byte to U+FFFF, and FF is nobody's lead byte.
inline constexpr char16_t kNoUnit = u'\uFFFF';
inline constexpr std::uint16_t kNoBytes = 0xFFFF;

enum class CodePageTableSource : std::uint8_t {
  kBestFit,    // Microsoft's complete description of the page (WindowsBestFit): used as it is
  kRoundTrip,  // a byte -> Unicode table only: holes are filled at run time before use
  kRule,       // derived from a rule, without a data file (20127: the top bit is cleared)
};

struct CodePageTable {
  std::uint32_t codePage;
  CodePageTableSource source;
  std::uint8_t defaultByte;     // written for a unit the page lacks (CPINFO field 2)
  char16_t unicodeDefault;      // read for an undefined byte or pair (CPINFO field 3)
  const char16_t* byteUnits;    // [256] a single byte -> its unit; lead bytes give unicodeDefault
  const std::uint8_t* leadRows; // [256] 0: not a lead byte, n: row n - 1 of pairUnits; null: SBCS
  const char16_t* pairUnits;    // rows of 256 units indexed by trail byte
  const std::uint16_t* blockOf; // [256] high byte of a unit -> index of its block in unitBytes
  const std::uint16_t* unitBytes; // blocks of 256 indexed by low byte: a byte, or lead << 8 | trail
};

// Every generated table, ascending by code page.
std::span<const CodePageTable> GeneratedCodePageTables();

// The generated table of a code page, or nullptr when there is none.
const CodePageTable* FindGeneratedCodePageTable(std::uint32_t codePage);

}  // namespace platform
