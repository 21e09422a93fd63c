// Reads the reference vectors: what Windows' code page services return for every single byte,
// every lead/trail pair and every BMP character of a code page (tests/data/windows-reference,
// decompressed into WINDOWS_REFERENCE_DIR by the build).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace windows_reference {

enum class Section { kSingleBytes, kBytePairs, kUnits, kUnitStrings };
inline constexpr Section kSections[] = {Section::kSingleBytes, Section::kBytePairs,
                                        Section::kUnits, Section::kUnitStrings};
const char* SectionName(Section section);  // the file's own names: mb2wc-1, mb2wc-2, wc2mb, wc2mb-x

struct Vector {
  Section section;
  std::string key;                 // as written in the file, ranges expanded
  std::string bytes;               // the input (decoding) or the expected output (encoding)
  std::u16string units;            // the expected output (decoding) or the input (encoding)
  bool fails = false;              // Windows returned 0
};

// Every vector of a code page, in file order. Throws when the file is missing or malformed.
std::vector<Vector> ReadVectors(std::uint32_t codePage);

}  // namespace windows_reference
