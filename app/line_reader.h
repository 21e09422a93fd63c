// Reads a text file line by line as the C runtime's text mode does: CR LF counts as LF, a CR not
// followed by LF is an ordinary byte, the first Ctrl-Z ends the input, LF separates lines, and a
// final LF does not begin another line. The conversion and the dialog's sample both read this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class LineReader {
 public:
  // Reads up to `capacity` bytes into `buffer`; 0 at the end; negative on a read error.
  using ReadFunction = std::function<std::ptrdiff_t(char* buffer, std::size_t capacity)>;

  enum class Result { kLine, kEnd, kError };

  static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

  explicit LineReader(ReadFunction read, std::size_t bufferSize = kDefaultBufferSize);

  // The next line, without its line end, in `line` (valid until the next call).
  Result ReadLine(std::string_view& line);

  // Number of lines returned so far.
  std::uint64_t LinesRead() const { return linesRead_; }

 private:
  bool Refill();
  Result Finish(std::string_view& line);

  ReadFunction read_;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;     // no more bytes will come (end of file or Ctrl-Z)
  bool failed_ = false;
  std::string carried_;    // the start of a line that runs past the buffer
  bool carrying_ = false;
  std::uint64_t linesRead_ = 0;
};
