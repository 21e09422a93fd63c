#include "app/line_writer.h"

#include <cstring>

LineWriter::LineWriter(WriteFunction write, std::size_t bufferSize)
    : write_(std::move(write)), buffer_(bufferSize > 2 ? bufferSize : 2) {}

bool LineWriter::Append(const char* data, std::size_t size) {
  while (size > 0) {
    if (used_ == buffer_.size() && !Flush()) return false;
    const std::size_t room = buffer_.size() - used_;
    const std::size_t chunk = size < room ? size : room;
    std::memcpy(buffer_.data() + used_, data, chunk);
    used_ += chunk;
    data += chunk;
    size -= chunk;
  }
  return true;
}

bool LineWriter::WriteLine(std::string_view text) {
  static constexpr char kLineEnd[] = {'\r', '\n'};
  while (!text.empty()) {
    const void* lineFeed = std::memchr(text.data(), '\n', text.size());
    if (lineFeed == nullptr) {
      if (!Append(text.data(), text.size())) return false;
      break;
    }
    const auto before = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - text.data());
    if (!Append(text.data(), before) || !Append(kLineEnd, sizeof kLineEnd)) return false;
    text.remove_prefix(before + 1);
  }
  return Append(kLineEnd, sizeof kLineEnd);
}

bool LineWriter::Flush() {
  if (used_ == 0) return true;
  const bool written = write_(buffer_.data(), used_);
  used_ = 0;
  return written;
}
