// The small file in the user's temporary directory that remembers the pair of code pages.
#pragma once

#include <string>

#include "codepage/code_page.h"

inline constexpr const char* kSettingsFileName = "Mirovex_Tempconf.cvt";
inline constexpr const char* kFormatAfterConversion = "%i %i";
inline constexpr const char* kFormatAfterCancel = "%u %u";

std::string GetSettingsPath();

// Replaces source and target only where the file supplies a number, read as "%u" reads it.
void LoadSettings(const std::string& settingsPath, CodePage& source, CodePage& target);

// Reads the pair from the text of a settings file under the same rules.
void ParseSettings(const std::string& contents, CodePage& source, CodePage& target);

// Writes "<source> <target>" with the given format ("%i %i" or "%u %u"), no line end. A failure
// is reported on stderr as a warning; it never changes the outcome of the run.
void SaveSettings(const std::string& settingsPath, CodePage source, CodePage target,
                  const char* format);

// The bytes SaveSettings writes.
std::string FormatSettings(CodePage source, CodePage target, const char* format);
