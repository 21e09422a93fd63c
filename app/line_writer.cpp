#include "app/line_writer.h"

#include <cstring>

LineWriter::LineWriter(WriteFunction write, std::size_t bufferSize)
    : write_(std::move(write)), buffer_(bufferSize > kMaxReserve ? bufferSize : kMaxReserve) {}

bool LineWriter::WriteRaw(const char* data, std::size_t size) {
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

bool LineWriter::Write(std::string_view text) {
  while (!text.empty()) {
    const void* lineFeed = std::memchr(text.data(), '\n', text.size());
    if (lineFeed == nullptr) return WriteRaw(text.data(), text.size());
    const auto before = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - text.data());
    if (!WriteRaw(text.data(), before) || !EndLine()) return false;
    text.remove_prefix(before + 1);
  }
  return true;
}

bool LineWriter::Flush() {
  if (used_ == 0) return true;
  const bool written = write_(buffer_.data(), used_);
  used_ = 0;
  return written;
}
