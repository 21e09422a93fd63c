#include "codepage/installed_list.h"

#include <cctype>
#include <climits>

#include "codepage/code_page_table.h"
#include "platform/codepage_services.h"

std::vector<std::string> g_InstalledNames;
std::vector<std::int32_t> g_InstalledIndex;

namespace {

// atoi's reading of a number (leading blanks, a sign, digits), without its undefined overflow.
long long ParseLikeAtoi(const char* text) {
  if (text == nullptr) return 0;
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  long long value = 0;
  while (std::isdigit(static_cast<unsigned char>(*text)) && value <= INT_MAX) {
    value = value * 10 + (*text++ - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::string DisplayStringOfRow(std::size_t row) {
  const CodePageEntry& entry = g_CodePageTable[row];
  std::string display = std::to_string(entry.nCodePage);
  display += " - ";
  display += entry.strDescription;
  return display;
}

int EnumCodePagesProc(const char* codePageNumber) {
  const long long number = ParseLikeAtoi(codePageNumber);
  for (std::size_t row = 0; row < g_CodePageTable.size(); ++row) {
    if (static_cast<long long>(g_CodePageTable[row].nCodePage) == number) {
      g_InstalledNames.push_back(DisplayStringOfRow(row));
      g_InstalledIndex.push_back(static_cast<std::int32_t>(row));
      break;
    }
  }
  return 1;
}

void FillInstalledCodePages() { platform::ForEachInstalledCodePage(EnumCodePagesProc); }

std::int32_t FindInstalledIndex(CodePage codePage) {
  for (std::size_t position = 0; position < g_InstalledIndex.size(); ++position) {
    const auto row = static_cast<std::size_t>(g_InstalledIndex[position]);
    if (g_CodePageTable[row].nCodePage == codePage) return static_cast<std::int32_t>(position);
  }
  return 0;
}

CodePage InstalledCodePageAt(std::int32_t position) {
  if (position < 0 || static_cast<std::size_t>(position) >= g_InstalledIndex.size()) return 0;
  return g_CodePageTable[static_cast<std::size_t>(g_InstalledIndex[static_cast<std::size_t>(position)])]
      .nCodePage;
}
