// The code pages of the table that the system reports as installed, in the system's order, each
// with the display string under which the dialog offers it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codepage/code_page.h"

extern std::vector<std::string> g_InstalledNames;
extern std::vector<std::int32_t> g_InstalledIndex;  // row of g_CodePageTable, parallel to the names

// Called once per installed code page with its number as a decimal string; appends the page when
// the table knows it. Always returns 1 so that the enumeration runs to its end.
int EnumCodePagesProc(const char* codePageNumber);

// Asks the system for its installed code pages and appends the known ones to the list.
void FillInstalledCodePages();

// The first position of a code page in the list; 0 when it is absent (or the list is empty).
std::int32_t FindInstalledIndex(CodePage codePage);

// The code page at a position of the list; 0 for a position outside it.
CodePage InstalledCodePageAt(std::int32_t position);

// The display string of a table row: "%i - %s" of its number and description.
std::string DisplayStringOfRow(std::size_t row);
