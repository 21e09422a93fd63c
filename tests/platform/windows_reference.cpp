#include "tests/platform/windows_reference.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace windows_reference {
namespace {

std::uint32_t Hex(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
    throw std::runtime_error("not a hex number: " + std::string(text));
  }
  return value;
}

std::string HexBytes(std::string_view text) {
  if (text.size() % 2 != 0) throw std::runtime_error("odd byte string: " + std::string(text));
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) bytes += static_cast<char>(Hex(text.substr(i, 2)));
  return bytes;
}

std::u16string HexUnits(std::string_view text) {
  if (text.size() % 4 != 0) throw std::runtime_error("odd unit string: " + std::string(text));
  std::u16string units;
  for (std::size_t i = 0; i < text.size(); i += 4) {
    units += static_cast<char16_t>(Hex(text.substr(i, 4)));
  }
  return units;
}

bool Decodes(Section section) {
  return section == Section::kSingleBytes || section == Section::kBytePairs;
}

// Fills in one vector from its key and its value as the file writes them.
Vector MakeVector(Section section, const std::string& key, std::string_view value) {
  Vector vector{section, key, {}, {}, false};
  if (Decodes(section)) {
    vector.bytes = HexBytes(key);
  } else {
    vector.units = HexUnits(key);
  }
  if (!value.empty() && value.front() == '!') {
    vector.fails = true;
  } else if (Decodes(section)) {
    vector.units = HexUnits(value);
  } else {
    if (!value.empty() && value.back() == '*') value.remove_suffix(1);  // "a default was used"
    vector.bytes = HexBytes(value);
  }
  return vector;
}

}  // namespace

const char* SectionName(Section section) {
  switch (section) {
    case Section::kSingleBytes: return "mb2wc-1";
    case Section::kBytePairs: return "mb2wc-2";
    case Section::kUnits: return "wc2mb";
    case Section::kUnitStrings: return "wc2mb-x";
  }
  return "?";
}

std::vector<Vector> ReadVectors(std::uint32_t codePage) {
  char name[32];
  std::snprintf(name, sizeof name, "/cp%05u.txt", static_cast<unsigned>(codePage));
  const std::string path = std::string(WINDOWS_REFERENCE_DIR) + name;
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Vector> vectors;
  bool inSection = false;
  Section section = Section::kSingleBytes;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inSection = false;
      for (const Section candidate : kSections) {
        if (line == std::string("[") + SectionName(candidate) + "]") {
          section = candidate;
          inSection = true;
        }
      }
      if (!inSection) throw std::runtime_error("unknown section " + line + " in " + path);
      continue;
    }
    if (!inSection) throw std::runtime_error("row outside a section in " + path);
    const auto space = line.find(' ');
    if (space == std::string::npos) throw std::runtime_error("bad row '" + line + "' in " + path);
    const std::string key = line.substr(0, space);
    const std::string_view value = std::string_view(line).substr(space + 1);
    const auto dots = key.find("..");
    if (dots == std::string::npos) {
      vectors.push_back(MakeVector(section, key, value));
      continue;
    }
    // A run of consecutive keys with the same value, written with the width of its ends.
    const std::string first = key.substr(0, dots);
    const std::uint32_t from = Hex(first);
    const std::uint32_t to = Hex(std::string_view(key).substr(dots + 2));
    for (std::uint32_t k = from; k <= to; ++k) {
      char expanded[16];
      std::snprintf(expanded, sizeof expanded, "%0*X", static_cast<int>(first.size()), k);
      vectors.push_back(MakeVector(section, expanded, value));
    }
  }
  return vectors;
}

}  // namespace windows_reference
