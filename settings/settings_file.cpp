#include "settings/settings_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/environment.h"
#include "platform/files.h"

namespace {

// A settings file holds two short numbers; reading more than this says nothing new.
constexpr std::size_t kSettingsReadLimit = 4096;

// One "%u" conversion: skips white space, takes an optional sign and at least one digit. The
// position moves past what was consumed, also when no number was found (a lone sign is consumed,
// as the C library does).
bool ScanUnsigned(const std::string& text, std::size_t& position, CodePage& value) {
  while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position]))) {
    ++position;
  }
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position++] == '-';
  }
  if (position >= text.size() || !std::isdigit(static_cast<unsigned char>(text[position]))) {
    return false;
  }
  unsigned long long number = 0;
  bool overflow = false;
  while (position < text.size() && std::isdigit(static_cast<unsigned char>(text[position]))) {
    number = number * 10 + static_cast<unsigned>(text[position++] - '0');
    if (number > 0xFFFFFFFFull) overflow = true, number = 0xFFFFFFFFull;
  }
  // Too large a number saturates, as the C library's conversion does; a minus sign negates.
  const auto magnitude = static_cast<CodePage>(number);
  value = overflow ? 0xFFFFFFFFu : (negative ? static_cast<CodePage>(0u - magnitude) : magnitude);
  return true;
}

}  // namespace

std::string GetSettingsPath() {
  return platform::UserTempDirectory() + platform::kPathSeparator + kSettingsFileName;
}

void ParseSettings(const std::string& contents, CodePage& source, CodePage& target) {
  std::size_t position = 0;
  CodePage value = 0;
  if (ScanUnsigned(contents, position, value)) source = value;
  if (ScanUnsigned(contents, position, value)) target = value;
}

void LoadSettings(const std::string& settingsPath, CodePage& source, CodePage& target) {
  const platform::PrivateFileRead read = platform::ReadPrivateFile(settingsPath, kSettingsReadLimit);
  switch (read.status) {
    case platform::PrivateFileStatus::kRead:
      ParseSettings(read.contents, source, target);
      return;
    case platform::PrivateFileStatus::kMissing:
      return;
    default:
      std::fprintf(stderr, "Mirovex: warning: settings file \"%s\" not read: %s\n",
                   settingsPath.c_str(), read.error.c_str());
      return;
  }
}

std::string FormatSettings(CodePage source, CodePage target, const char* format) {
  char text[32];
  if (format != nullptr && std::strcmp(format, kFormatAfterConversion) == 0) {
    std::snprintf(text, sizeof text, "%i %i", static_cast<int>(source), static_cast<int>(target));
  } else {
    std::snprintf(text, sizeof text, "%u %u", static_cast<unsigned>(source),
                  static_cast<unsigned>(target));
  }
  return text;
}

void SaveSettings(const std::string& settingsPath, CodePage source, CodePage target,
                  const char* format) {
  const std::string error =
      platform::WritePrivateFile(settingsPath, FormatSettings(source, target, format));
  if (!error.empty()) {
    std::fprintf(stderr, "Mirovex: warning: settings file \"%s\" not written: %s\n",
                 settingsPath.c_str(), error.c_str());
  }
}
