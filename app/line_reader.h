// Reads a text file line by line as the C runtime's text mode does: CR LF counts as LF, a CR not
// followed by LF is an ordinary byte, the first Ctrl-Z ends the input, LF separates lines, and a
// final LF does not begin another line. The conversion and the dialog's sample both read this way.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "app/byte_buffer.h"

class LineReader {
 public:
  // Reads up to `capacity` bytes into `buffer`; 0 at the end; negative on a read error.
  using ReadFunction = std::function<std::ptrdiff_t(char* buffer, std::size_t capacity)>;

  enum class Result { kLine, kEnd, kError };

  static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;

  explicit LineReader(ReadFunction read, std::size_t bufferSize = kDefaultBufferSize);

  // The next whole line, without its line end, in `line` (valid until the next call). A line
  // longer than the buffer is gathered in memory.
  Result ReadLine(std::string_view& line);

  // The next piece of a line, without its line end: a whole line, or, for a line longer than
  // the buffer, one buffer's worth of it at a time. `endsLine` tells whether the piece is the
  // last of its line. Memory stays bounded by the buffer, whatever the length of the line.
  Result ReadPiece(std::string_view& piece, bool& endsLine) {
    // Most lines lie whole in the buffer: they are handed out here, without a call.
    const char* begin = buffer_.data() + position_;
    const char* lineFeed = FindLineFeed(begin, buffer_.data() + end_);
    if (lineFeed == nullptr) return ReadPieceAcrossReads(piece, endsLine);
    const auto stop = static_cast<std::size_t>(lineFeed - buffer_.data());
    // A CR right before the LF belongs to the line end.
    const bool crlf = stop > position_ && buffer_[stop - 1] == '\r';
    return Piece(piece, endsLine, position_, crlf ? stop - 1 : stop, stop + 1, true);
  }

  // True when the bytes read so far may hold a NUL; until then no piece needs a search for one.
  bool MayHoldNul() const { return mayHoldNul_; }

  // All the whole lines that the buffer holds right now, line ends included, when the reader
  // stands at the start of a line; false (and nothing taken) when there is none. The caller
  // applies the line rules itself, and tells how many lines it found with CountLinesTaken.
  bool ReadWholeLines(std::string_view& lines) {
    if (midLine_ || position_ == end_) return false;
    const char* begin = buffer_.data() + position_;
    const char* last = LastLineFeed(begin, buffer_.data() + end_);
    if (last == nullptr) return false;
    lines = std::string_view(begin, static_cast<std::size_t>(last + 1 - begin));
    position_ += lines.size();
    return true;
  }
  void CountLinesTaken(std::uint64_t lines) { linesRead_ += lines; }

  // Number of lines finished so far (the current line, once its last piece has been returned).
  std::uint64_t LinesRead() const { return linesRead_; }

 private:
  // The first LF in [begin, end), or nullptr. Short lines, the common case, are searched eight
  // bytes at a time right here; the rest of a longer line by the library's memchr.
  static const char* FindLineFeed(const char* begin, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
      constexpr std::uint64_t kLineFeeds = 0x0A0A0A0A0A0A0A0Aull;
      constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
      for (int word = 0; word < 2 && end - begin >= 8; ++word, begin += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, begin, sizeof bytes);
        const std::uint64_t x = bytes ^ kLineFeeds;  // a zero byte where an LF stands
        const std::uint64_t zeros = ~(((x & kLow7) + kLow7) | x | kLow7);
        if (zeros != 0) return begin + std::countr_zero(zeros) / 8;
      }
    }
    return static_cast<const char*>(
        std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
  }

  static const char* LastLineFeed(const char* begin, const char* end) {
#ifdef __GLIBC__
    return static_cast<const char*>(memrchr(begin, '\n', static_cast<std::size_t>(end - begin)));
#else
    for (const char* at = end; at != begin;) {
      if (*--at == '\n') return at;
    }
    return nullptr;
#endif
  }

  Result ReadPieceAcrossReads(std::string_view& piece, bool& endsLine);
  bool Refill();
  Result Piece(std::string_view& piece, bool& endsLine, std::size_t from, std::size_t to,
               std::size_t next, bool ends) {
    piece = std::string_view(buffer_.data() + from, to - from);
    endsLine = ends;
    position_ = next;
    midLine_ = !ends;
    if (ends) ++linesRead_;
    return Result::kLine;
  }

  ReadFunction read_;
  ByteBuffer buffer_;
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool sawEndOfText_ = false;
  bool atEnd_ = false;       // no more bytes will come
  bool failed_ = false;
  bool midLine_ = false;     // pieces of the current line have been returned already
  bool mayHoldNul_ = false;
  std::string gathered_;     // a long line gathered by ReadLine
  std::uint64_t linesRead_ = 0;
};
