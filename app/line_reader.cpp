#include "app/line_reader.h"

#include <cstring>

namespace {
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfText = '\x1A';  // Ctrl-Z
}  // namespace

LineReader::LineReader(ReadFunction read, std::size_t bufferSize)
    : read_(std::move(read)), buffer_(bufferSize > 2 ? bufferSize : 2) {}

// Keeps the unread bytes, moved to the front, and reads more after them.
bool LineReader::Refill() {
  if (sawEndOfText_ || atEnd_) {
    atEnd_ = true;
    return false;
  }
  const std::size_t kept = end_ - position_;
  if (kept > 0 && position_ > 0) std::memmove(buffer_.data(), buffer_.data() + position_, kept);
  position_ = 0;
  end_ = kept;
  const std::ptrdiff_t count = read_(buffer_.data() + end_, buffer_.size() - end_);
  if (count < 0) {
    failed_ = true;
    return false;
  }
  if (count == 0) {
    atEnd_ = true;
    return false;
  }
  const char* fresh = buffer_.data() + end_;
  end_ += static_cast<std::size_t>(count);
  if (!mayHoldNul_) mayHoldNul_ = std::memchr(fresh, '\0', static_cast<std::size_t>(count)) != nullptr;
  const void* endOfText = std::memchr(fresh, kEndOfText, static_cast<std::size_t>(count));
  if (endOfText != nullptr) {
    sawEndOfText_ = true;
    end_ = static_cast<std::size_t>(static_cast<const char*>(endOfText) - buffer_.data());
  }
  return true;
}

// The line runs past the bytes read so far: read more, or hand out what there is.
LineReader::Result LineReader::ReadPieceAcrossReads(std::string_view& piece, bool& endsLine) {
  for (;;) {
    if (failed_) return Result::kError;
    const std::size_t available = end_ - position_;
    const char* lineFeed = FindLineFeed(buffer_.data() + position_, buffer_.data() + end_);
    if (lineFeed != nullptr) {
      const auto stop = static_cast<std::size_t>(lineFeed - buffer_.data());
      // A CR right before the LF belongs to the line end.
      const bool crlf = stop > position_ && buffer_[stop - 1] == kCarriageReturn;
      return Piece(piece, endsLine, position_, crlf ? stop - 1 : stop, stop + 1, true);
    }
    const bool roomLeft = position_ > 0 || end_ < buffer_.size();
    if (roomLeft && Refill()) continue;
    if (failed_) return Result::kError;
    if (atEnd_) {
      // The bytes after the last line end, if any, form the last line.
      if (available > 0 || midLine_) return Piece(piece, endsLine, position_, end_, end_, true);
      return Result::kEnd;
    }
    // The buffer holds nothing but part of one long line: hand it out, keeping back a final CR
    // that may turn out to be half of a CR LF.
    const bool lastIsCr = buffer_[end_ - 1] == kCarriageReturn;
    const std::size_t cut = lastIsCr ? end_ - 1 : end_;
    return Piece(piece, endsLine, position_, cut, cut, false);
  }
}

LineReader::Result LineReader::ReadLine(std::string_view& line) {
  bool endsLine = false;
  Result result = ReadPiece(line, endsLine);
  if (result != Result::kLine || endsLine) return result;
  gathered_.assign(line);
  while (!endsLine) {
    std::string_view piece;
    result = ReadPiece(piece, endsLine);
    if (result != Result::kLine) return Result::kError;
    gathered_.append(piece);
  }
  line = gathered_;
  return Result::kLine;
}
