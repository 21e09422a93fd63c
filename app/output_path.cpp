#include "app/output_path.h"

#include <cwchar>

std::string MakeOutputPath(const std::string& inputPath) {
  // Step over multibyte characters whole, so that a byte inside one never counts as a dot.
  std::size_t insertAt = 0;
  std::mbstate_t state{};
  for (std::size_t position = 0; position < inputPath.size();) {
    if (inputPath[position] == '.') insertAt = position;
    const std::size_t length =
        std::mbrlen(inputPath.data() + position, inputPath.size() - position, &state);
    if (length == 0 || length > inputPath.size() - position) {
      state = std::mbstate_t{};  // invalid or cut short: take the byte on its own
      ++position;
    } else {
      position += length;
    }
  }
  std::string outputPath = inputPath;
  outputPath.insert(insertAt, ".cvt");
  return outputPath;
}
