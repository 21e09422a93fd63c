// Writes converted lines in the output format: every LF inside a line as CR LF, then CR LF after
// each line, gathered into large writes.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

class LineWriter {
 public:
  // Writes all of the bytes; false on failure.
  using WriteFunction = std::function<bool(const char* data, std::size_t size)>;

  static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

  explicit LineWriter(WriteFunction write, std::size_t bufferSize = kDefaultBufferSize);

  bool WriteLine(std::string_view text);
  bool Flush();

 private:
  bool Append(const char* data, std::size_t size);

  WriteFunction write_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};
