#include "app/line_reader.h"

#include <cstring>

namespace {
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfText = '\x1A';  // Ctrl-Z

// The first LF or Ctrl-Z in [begin, end), or end.
const char* FindLineEnd(const char* begin, const char* end) {
  const void* lineFeed = std::memchr(begin, kLineFeed, static_cast<std::size_t>(end - begin));
  const char* limit = lineFeed != nullptr ? static_cast<const char*>(lineFeed) : end;
  const void* endOfText = std::memchr(begin, kEndOfText, static_cast<std::size_t>(limit - begin));
  return endOfText != nullptr ? static_cast<const char*>(endOfText) : limit;
}
}  // namespace

LineReader::LineReader(ReadFunction read, std::size_t bufferSize)
    : read_(std::move(read)), buffer_(bufferSize > 0 ? bufferSize : 1) {}

bool LineReader::Refill() {
  const std::ptrdiff_t count = read_(buffer_.data(), buffer_.size());
  if (count < 0) {
    failed_ = true;
    return false;
  }
  position_ = 0;
  end_ = static_cast<std::size_t>(count);
  if (count == 0) atEnd_ = true;
  return count > 0;
}

LineReader::Result LineReader::Finish(std::string_view& line) {
  // The bytes after the last line end, if any, form the last line.
  if (!carrying_) return Result::kEnd;
  carrying_ = false;
  line = carried_;
  ++linesRead_;
  return Result::kLine;
}

LineReader::Result LineReader::ReadLine(std::string_view& line) {
  if (failed_) return Result::kError;
  carried_.clear();
  carrying_ = false;
  for (;;) {
    if (atEnd_) return Finish(line);
    if (position_ == end_ && !Refill()) {
      if (failed_) return Result::kError;
      return Finish(line);
    }
    const char* begin = buffer_.data() + position_;
    const char* end = buffer_.data() + end_;
    const char* stop = FindLineEnd(begin, end);
    if (stop == end) {
      carried_.append(begin, end);
      carrying_ = true;
      position_ = end_;
      continue;
    }
    position_ = static_cast<std::size_t>(stop - buffer_.data()) + 1;
    if (*stop == kEndOfText) {
      atEnd_ = true;
      if (!carrying_ && stop == begin) return Result::kEnd;
      carried_.append(begin, stop);
      carrying_ = true;
      return Finish(line);
    }
    // A CR right before the LF belongs to the line end; it may have come with the previous read.
    std::string_view piece(begin, static_cast<std::size_t>(stop - begin));
    ++linesRead_;
    if (!carrying_) {
      if (!piece.empty() && piece.back() == kCarriageReturn) piece.remove_suffix(1);
      line = piece;
      return Result::kLine;
    }
    carried_.append(piece);
    if (!carried_.empty() && carried_.back() == kCarriageReturn) carried_.pop_back();
    line = carried_;
    return Result::kLine;
  }
}
