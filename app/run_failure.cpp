#include "app/run_failure.h"

#include <cstdarg>
#include <cstdio>

std::string FormatMessage(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::va_list copy;
  va_copy(copy, arguments);
  const int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, arguments);
  va_end(arguments);
  return text;
}
