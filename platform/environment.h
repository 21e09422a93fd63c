// What the program reads from its environment.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Separator between a directory and a name in a path.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The value of an environment variable; nothing when it is not set.
std::optional<std::string> EnvironmentValue(const char* name);

// The user's temporary directory. Windows: the value of TEMP (empty when unset). POSIX: TEMP when
// set and not empty, else TMPDIR when set and not empty, else /tmp.
std::string UserTempDirectory();

}  // namespace platform
