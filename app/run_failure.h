// A run that cannot go on: its exit code and the one line that tells the user why.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

class RunFailure : public std::runtime_error {
 public:
  RunFailure(int exitCode, std::string message)
      : std::runtime_error(std::move(message)), exitCode_(exitCode) {}
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

#if defined(__GNUC__)
#define MIROVEX_PRINTF_FORMAT(format_index, first_arg) \
  __attribute__((format(printf, format_index, first_arg)))
#else
#define MIROVEX_PRINTF_FORMAT(format_index, first_arg)
#endif

// printf-style message text.
std::string FormatMessage(const char* format, ...) MIROVEX_PRINTF_FORMAT(1, 2);
