// Build-time generator: turns Microsoft's code page data files into the C++ tables of
// codepage_table.h.
//
//   codepage_table_generator OUTPUT.cpp (KIND CODEPAGE FILE)...
//
// KIND is "bestfit" (a WindowsBestFit file: CPINFO, MBTABLE, DBCSRANGE/DBCSTABLE, WCTABLE),
// "roundtrip" (a two-column byte -> Unicode file) or "rule" (no file, written "-"; only 20127,
// whose bytes 80-FF are read with their top bit cleared). Any departure from the expected format
// fails the build, so that a damaged data file cannot turn into a silently wrong table.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char16_t kNoUnit = u'\uFFFF';
constexpr std::uint16_t kNoBytes = 0xFFFF;

struct Page {
  std::uint32_t codePage = 0;
  std::string source;  // "kBestFit", "kRoundTrip" or "kRule"
  std::uint8_t defaultByte = '?';
  char16_t unicodeDefault = u'?';
  std::array<char16_t, 256> byteUnits{};
  std::array<std::uint8_t, 256> leadRows{};  // 0: not a lead byte
  std::vector<std::array<char16_t, 256>> pairRows;
  std::vector<std::uint16_t> unitBytes = std::vector<std::uint16_t>(0x10000, kNoBytes);
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

std::uint32_t ParseNumber(const std::string& where, std::string_view token, int base) {
  if (base == 16) {
    if (token.size() < 3 || token[0] != '0' || (token[1] != 'x' && token[1] != 'X')) {
      Fail(where, "expected a 0x number, got '" + std::string(token) + "'");
    }
    token.remove_prefix(2);
  }
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value, base);
  if (error != std::errc() || end != token.data() + token.size()) {
    Fail(where, "not a number: '" + std::string(token) + "'");
  }
  return value;
}

// The lines of a data file as whitespace-separated tokens, comments and blank lines dropped.
class TokenLines {
 public:
  TokenLines(const std::string& path, char commentMark) : path_(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path, "cannot be read");
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      line = line.substr(0, line.find(commentMark));
      std::vector<std::string> tokens;
      std::string token;
      for (const char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
          if (!token.empty()) tokens.push_back(std::move(token));
          token.clear();
        } else {
          token += c;
        }
      }
      if (!token.empty()) tokens.push_back(std::move(token));
      if (!tokens.empty()) lines_.push_back({number, std::move(tokens)});
    }
  }

  bool AtEnd() const { return next_ >= lines_.size(); }
  std::string Where() const {
    const int line = AtEnd() ? -1 : lines_[next_].number;
    return path_ + ":" + std::to_string(line);
  }
  const std::vector<std::string>& Next() {
    if (AtEnd()) Fail(path_, "ends too early");
    return lines_[next_++].tokens;
  }
  // The next line, which must start with `keyword` and have `fields` fields after it.
  const std::vector<std::string>& Expect(const std::string& keyword, std::size_t fields) {
    const std::string where = Where();
    const auto& tokens = Next();
    if (tokens[0] != keyword || tokens.size() != fields + 1) {
      Fail(where, "expected " + keyword + " with " + std::to_string(fields) + " field(s)");
    }
    return tokens;
  }
  // The next line as a record of two hex numbers.
  std::pair<std::uint32_t, std::uint32_t> Record() {
    const std::string where = Where();
    const auto& tokens = Next();
    if (tokens.size() != 2) Fail(where, "expected a record of two numbers");
    return {ParseNumber(where, tokens[0], 16), ParseNumber(where, tokens[1], 16)};
  }

 private:
  struct Line {
    int number;
    std::vector<std::string> tokens;
  };
  std::string path_;
  std::vector<Line> lines_;
  std::size_t next_ = 0;
};

void CheckUnit(const std::string& where, std::uint32_t unit) {
  if (unit >= kNoUnit) Fail(where, "unit out of range");
}

Page ReadBestFit(std::uint32_t codePage, const std::string& path) {
  TokenLines lines(path, ';');
  Page page;
  page.codePage = codePage;
  page.source = "kBestFit";
  if (ParseNumber(path, lines.Expect("CODEPAGE", 1)[1], 10) != codePage) {
    Fail(path, "describes another code page");
  }
  const auto cpinfo = lines.Expect("CPINFO", 3);
  const std::uint32_t maxBytes = ParseNumber(path, cpinfo[1], 10);
  const std::uint32_t defaultByte = ParseNumber(path, cpinfo[2], 16);
  const std::uint32_t unicodeDefault = ParseNumber(path, cpinfo[3], 16);
  if ((maxBytes != 1 && maxBytes != 2) || defaultByte > 0x7F) Fail(path, "unexpected CPINFO");
  CheckUnit(path, unicodeDefault);
  page.defaultByte = static_cast<std::uint8_t>(defaultByte);
  page.unicodeDefault = static_cast<char16_t>(unicodeDefault);

  // Bytes that MBTABLE leaves out (the lead bytes, for a DBCS page) read as the default character.
  page.byteUnits.fill(page.unicodeDefault);
  const std::uint32_t singles = ParseNumber(path, lines.Expect("MBTABLE", 1)[1], 10);
  for (std::uint32_t i = 0; i < singles; ++i) {
    const std::string where = lines.Where();
    const auto [byte, unit] = lines.Record();
    if (byte > 0xFF) Fail(where, "byte out of range");
    CheckUnit(where, unit);
    page.byteUnits[byte] = static_cast<char16_t>(unit);
  }

  if (maxBytes == 2) {
    const std::uint32_t ranges = ParseNumber(path, lines.Expect("DBCSRANGE", 1)[1], 10);
    for (std::uint32_t range = 0; range < ranges; ++range) {
      const std::string where = lines.Where();
      const auto [first, last] = lines.Record();
      if (first < 0x80 || last > 0xFE || first > last) Fail(where, "bad lead byte range");
      for (std::uint32_t lead = first; lead <= last; ++lead) {
        const std::uint32_t pairs = ParseNumber(path, lines.Expect("DBCSTABLE", 1)[1], 10);
        // A trail byte without a mapping makes an undefined pair: one default character.
        std::array<char16_t, 256> row;
        row.fill(page.unicodeDefault);
        for (std::uint32_t i = 0; i < pairs; ++i) {
          const std::string at = lines.Where();
          const auto [trail, unit] = lines.Record();
          if (trail > 0xFF) Fail(at, "trail byte out of range");
          CheckUnit(at, unit);
          row[trail] = static_cast<char16_t>(unit);
        }
        if (page.pairRows.size() >= 255) Fail(where, "too many lead bytes");
        page.pairRows.push_back(row);
        page.leadRows[lead] = static_cast<std::uint8_t>(page.pairRows.size());
      }
    }
  }

  const std::uint32_t units = ParseNumber(path, lines.Expect("WCTABLE", 1)[1], 10);
  for (std::uint32_t i = 0; i < units; ++i) {
    const std::string where = lines.Where();
    const auto [unit, bytes] = lines.Record();
    if (unit > 0xFFFF || (unit >= 0xD800 && unit <= 0xDFFF)) Fail(where, "not a BMP character");
    if (bytes > (maxBytes == 1 ? 0xFFu : 0xFEFFu)) Fail(where, "bytes out of range");
    if (bytes > 0xFF && page.leadRows[bytes >> 8] == 0) Fail(where, "pair without a lead byte");
    page.unitBytes[unit] = static_cast<std::uint16_t>(bytes);
  }
  lines.Expect("ENDCODEPAGE", 0);

  // The description is complete: whatever WCTABLE leaves out, surrogates included, is written as
  // the default byte (one per UTF-16 unit, so a supplementary character gives two).
  std::replace(page.unitBytes.begin(), page.unitBytes.end(), kNoBytes,
               static_cast<std::uint16_t>(page.defaultByte));
  return page;
}

Page ReadRoundTrip(std::uint32_t codePage, const std::string& path) {
  TokenLines lines(path, '#');
  Page page;
  page.codePage = codePage;
  page.source = "kRoundTrip";
  page.byteUnits.fill(kNoUnit);
  while (!lines.AtEnd()) {
    const std::string where = lines.Where();
    const auto& tokens = lines.Next();
    // A byte that the file marks undefined has no second column.
    if (tokens.size() == 1) continue;
    if (tokens.size() != 2) Fail(where, "expected a byte and a unit");
    const std::uint32_t byte = ParseNumber(where, tokens[0], 16);
    const std::uint32_t unit = ParseNumber(where, tokens[1], 16);
    if (byte > 0xFF) Fail(where, "byte out of range");
    CheckUnit(where, unit);
    if (page.byteUnits[byte] != kNoUnit) Fail(where, "byte mapped twice");
    page.byteUnits[byte] = static_cast<char16_t>(unit);
  }
  // Encoding inverts the table. Where several bytes give the same unit (875 has seven for U+001A)
  // the lowest byte is written.
  for (int byte = 0xFF; byte >= 0; --byte) {
    const char16_t unit = page.byteUnits[static_cast<std::size_t>(byte)];
    if (unit != kNoUnit) page.unitBytes[unit] = static_cast<std::uint16_t>(byte);
  }
  if (page.unitBytes[u'?'] == kNoBytes) Fail(path, "no byte for '?', the default character");
  page.defaultByte = static_cast<std::uint8_t>(page.unitBytes[u'?']);
  return page;
}

Page MakeRule(std::uint32_t codePage) {
  if (codePage != 20127) Fail(std::to_string(codePage), "no rule for this code page");
  Page page;
  page.codePage = codePage;
  page.source = "kRule";
  // US-ASCII reads every byte with its top bit cleared (80 gives U+0000) and writes only 00-7F;
  // no best-fit data is published for it, so the rest is the default byte.
  for (std::size_t byte = 0; byte < 256; ++byte) page.byteUnits[byte] = static_cast<char16_t>(byte & 0x7F);
  std::fill(page.unitBytes.begin(), page.unitBytes.end(), std::uint16_t{'?'});
  for (std::uint16_t unit = 0; unit < 0x80; ++unit) page.unitBytes[unit] = unit;
  return page;
}

// Writes `values` as a C++ array definition.
template <typename T>
void WriteArray(std::ostream& out, const char* type, const std::string& name, const T& values) {
  out << "constexpr " << type << ' ' << name << '[' << values.size() << "] = {";
  std::size_t column = 0;
  for (const auto value : values) {
    out << (column++ % 16 == 0 ? "\n    " : " ") << "0x" << std::hex
        << static_cast<std::uint32_t>(value) << std::dec << ',';
  }
  out << "\n};\n";
}

void WritePage(std::ostream& out, const Page& page) {
  const std::string suffix = std::to_string(page.codePage);
  WriteArray(out, "char16_t", "kByteUnits" + suffix, page.byteUnits);
  if (!page.pairRows.empty()) {
    WriteArray(out, "std::uint8_t", "kLeadRows" + suffix, page.leadRows);
    std::vector<char16_t> pairs;
    for (const auto& row : page.pairRows) pairs.insert(pairs.end(), row.begin(), row.end());
    WriteArray(out, "char16_t", "kPairUnits" + suffix, pairs);
  }
  // Encoding: 256 blocks of 256 units, identical blocks stored once.
  std::map<std::vector<std::uint16_t>, std::uint16_t> blockNumbers;
  std::vector<std::uint16_t> blockOf;
  std::vector<std::uint16_t> blocks;
  for (std::size_t high = 0; high < 256; ++high) {
    const auto first = page.unitBytes.begin() + static_cast<std::ptrdiff_t>(high * 256);
    std::vector<std::uint16_t> block(first, first + 256);
    const auto [it, added] =
        blockNumbers.emplace(block, static_cast<std::uint16_t>(blockNumbers.size()));
    if (added) blocks.insert(blocks.end(), block.begin(), block.end());
    blockOf.push_back(it->second);
  }
  WriteArray(out, "std::uint16_t", "kBlockOf" + suffix, blockOf);
  WriteArray(out, "std::uint16_t", "kUnitBytes" + suffix, blocks);
  out << '\n';
}

void WriteTables(const std::string& path, const std::vector<Page>& pages) {
  std::ostringstream out;
  out << "// Generated by codepage_table_generator from platform/codepage_data. Do not edit.\n"
         "#include <algorithm>\n#include <cstdint>\n\n#include \"platform/codepage_table.h\"\n\n"
         "namespace platform {\nnamespace {\n\n";
  for (const Page& page : pages) WritePage(out, page);
  out << "constexpr CodePageTable kTables[] = {\n";
  for (const Page& page : pages) {
    const std::string n = std::to_string(page.codePage);
    const bool dbcs = !page.pairRows.empty();
    out << "    {" << n << ", CodePageTableSource::" << page.source << ", 0x" << std::hex
        << unsigned{page.defaultByte} << ", 0x" << unsigned{page.unicodeDefault} << std::dec
        << ", kByteUnits" << n << ", " << (dbcs ? "kLeadRows" + n : "nullptr") << ", "
        << (dbcs ? "kPairUnits" + n : "nullptr") << ", kBlockOf" << n << ", kUnitBytes" << n
        << "},\n";
  }
  out << "};\n\n}  // namespace\n\n"
         "std::span<const CodePageTable> GeneratedCodePageTables() { return kTables; }\n\n"
         "const CodePageTable* FindGeneratedCodePageTable(std::uint32_t codePage) {\n"
         "  const auto it = std::lower_bound(std::begin(kTables), std::end(kTables), codePage,\n"
         "      [](const CodePageTable& table, std::uint32_t number) {\n"
         "        return table.codePage < number;\n"
         "      });\n"
         "  return it != std::end(kTables) && it->codePage == codePage ? &*it : nullptr;\n"
         "}\n\n}  // namespace platform\n";
  // Rewritten only when it changes, so that a rebuilt generator does not recompile the tables.
  std::ifstream previous(path, std::ios::binary);
  std::ostringstream old;
  old << previous.rdbuf();
  if (previous && old.str() == out.str()) return;
  previous.close();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out.str();
  if (!file.flush()) Fail(path, "cannot be written");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc < 2 || (argc - 2) % 3 != 0) {
      Fail("usage", "codepage_table_generator OUTPUT.cpp (KIND CODEPAGE FILE)...");
    }
    std::vector<Page> pages;
    for (int i = 2; i + 2 < argc; i += 3) {
      const std::string kind = argv[i];
      const std::uint32_t codePage = ParseNumber("arguments", argv[i + 1], 10);
      const std::string file = argv[i + 2];
      if (kind == "bestfit") {
        pages.push_back(ReadBestFit(codePage, file));
      } else if (kind == "roundtrip") {
        pages.push_back(ReadRoundTrip(codePage, file));
      } else if (kind == "rule") {
        pages.push_back(MakeRule(codePage));
      } else {
        Fail("arguments", "unknown kind '" + kind + "'");
      }
    }
    std::sort(pages.begin(), pages.end(),
              [](const Page& a, const Page& b) { return a.codePage < b.codePage; });
    for (std::size_t i = 1; i < pages.size(); ++i) {
      if (pages[i].codePage == pages[i - 1].codePage) Fail("arguments", "code page given twice");
    }
    WriteTables(argv[1], pages);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "codepage_table_generator: %s\n", error.what());
    return 1;
  }
}
