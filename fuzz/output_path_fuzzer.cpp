// MakeOutputPath: ".cvt" goes in before the last "." of the path, or in front when there is none.
// In the C and UTF-8 locales a "." byte is never part of a longer character, so the last "." byte
// is the place, whatever else the bytes hold.
#include <clocale>
#include <cstdlib>
#include <string>

#include "app/output_path.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  static const bool haveUtf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
  std::setlocale(LC_ALL, (input.Byte() & 1u) != 0 && haveUtf8 ? "C.UTF-8" : "C");
  const std::string path(input.Rest());

  std::string expected = path;
  const std::size_t dot = path.rfind('.');
  expected.insert(dot == std::string::npos ? 0 : dot, ".cvt");
  if (MakeOutputPath(path) != expected) std::abort();
  return 0;
}
