// Converts text between two code pages by way of UTF-16.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codepage/code_page.h"

// Converts one text at a time and keeps its buffers between calls, so a stream of lines costs no
// allocation once the buffers have grown to the longest line.
class Transcoder {
 public:
  // The text up to its first NUL byte, converted from `source` to `target`; empty when either code
  // page cannot be used. The result never holds a NUL byte and stays valid until the next call.
  std::string_view Convert(std::string_view text, CodePage source, CodePage target);

 private:
  std::vector<char16_t> wide_;
  std::vector<char> bytes_;
};

// One conversion with its own buffers; the same result as Transcoder::Convert.
std::string ConvertCodePage(std::string_view text, CodePage source, CodePage target);
