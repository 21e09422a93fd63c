#include "platform/environment.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

std::optional<std::string> EnvironmentValue(const char* name) {
#ifdef _WIN32
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::string value(needed, '\0');
  const DWORD written = GetEnvironmentVariableA(name, value.data(), needed);
  value.resize(written < needed ? written : 0);
  return value;
#else
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
#endif
}

std::string UserTempDirectory() {
#ifdef _WIN32
  return EnvironmentValue("TEMP").value_or(std::string());
#else
  // TEMP is rarely set on POSIX systems and "/" is not writable there, so fall back the usual way.
  for (const char* name : {"TEMP", "TMPDIR"}) {
    if (auto value = EnvironmentValue(name); value && !value->empty()) return *value;
  }
  return "/tmp";
#endif
}

}  // namespace platform
