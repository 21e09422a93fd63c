// The calling conventions of the code page services (see codepage_services.h), shared by every
// implementation: explicit or NUL-terminated input, size query, terminator, 0 for failure.
#pragma once

#include <climits>
#include <cstddef>

namespace platform {

// `convert(input, length, output, capacity)` converts exactly `length` elements, writes at most
// `capacity` (none when `output` is null) and returns how many the whole input needs, or a
// negative number when it fails.
template <typename In, typename Out, typename Convert>
int ConvertWithConventions(const In* input, int inputLength, Out* output, int outputCapacity,
                           Convert convert) {
  if (input == nullptr || inputLength < -1 || outputCapacity < 0 ||
      (outputCapacity > 0 && output == nullptr)) {
    return 0;
  }
  const bool countTerminator = inputLength == -1;
  std::size_t length = 0;
  if (countTerminator) {
    while (input[length] != 0) ++length;
  } else {
    length = static_cast<std::size_t>(inputLength);
  }
  if (length == 0 && !countTerminator) return 0;
  if (length > static_cast<std::size_t>(INT_MAX)) return 0;

  const long long produced =
      convert(input, length, outputCapacity > 0 ? output : nullptr, outputCapacity);
  if (produced < 0) return 0;
  const long long total = produced + (countTerminator ? 1 : 0);
  if (total > INT_MAX) return 0;
  if (outputCapacity > 0) {
    if (total > outputCapacity) return 0;
    if (countTerminator) output[produced] = 0;
  }
  return static_cast<int>(total);
}

}  // namespace platform
