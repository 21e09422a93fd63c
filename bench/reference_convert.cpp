// The line rules written out plainly, for checking the program's output on large corpora:
// reference-convert <source> <target> <input> <output>. Every line is read whole and converted
// whole with ConvertCodePage; nothing of the program's fast path is used.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codepage/transcoder.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: reference-convert <source> <target> <input> <output>\n");
    return 2;
  }
  const auto source = static_cast<CodePage>(std::strtoul(argv[1], nullptr, 10));
  const auto target = static_cast<CodePage>(std::strtoul(argv[2], nullptr, 10));
  std::FILE* input = std::fopen(argv[3], "rb");
  std::FILE* output = std::fopen(argv[4], "wb");
  if (input == nullptr || output == nullptr) return 1;
  std::string line;
  bool inLine = false;
  const auto flush = [&] {
    for (char c : ConvertCodePage(line, source, target)) {
      if (c == '\n') std::fputc('\r', output);
      std::fputc(c, output);
    }
    std::fputs("\r\n", output);
    line.clear();
    inLine = false;
  };
  for (int c; (c = std::fgetc(input)) != EOF && c != 0x1A;) {
    if (c == '\r') {
      const int next = std::fgetc(input);
      if (next == '\n') {
        flush();
        continue;
      }
      if (next != EOF) std::ungetc(next, input);
    }
    if (c == '\n') {
      flush();
      continue;
    }
    line += static_cast<char>(c);
    inLine = true;
  }
  if (inLine) flush();
  std::fclose(input);
  return std::fclose(output) == 0 ? 0 : 1;
}
