// Writes converted lines in the output format: every LF inside a line as CR LF, then CR LF after
// each line, gathered into large writes. In the background, the writes go on a thread of their
// own, from one buffer while the other fills.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "app/byte_buffer.h"

class LineWriter {
 public:
  // Writes all of the bytes; false on failure.
  using WriteFunction = std::function<bool(const char* data, std::size_t size)>;

  static constexpr std::size_t kDefaultBufferSize = std::size_t{1} << 20;
  // What Reserve can always provide.
  static constexpr std::size_t kMaxReserve = 4096;

  enum class Mode { kInPlace, kInBackground };

  explicit LineWriter(WriteFunction write, std::size_t bufferSize = kDefaultBufferSize,
                      Mode mode = Mode::kInPlace);
  LineWriter(LineWriter&&) noexcept;
  ~LineWriter();  // waits for a write in progress

  // Converted text of a line, each LF in it written as CR LF.
  bool Write(std::string_view text);
  // The line end, CR LF.
  bool EndLine() {
    char* room = Reserve(2);
    if (room == nullptr) return false;
    room[0] = '\r';
    room[1] = '\n';
    used_ += 2;
    return true;
  }
  bool WriteLine(std::string_view text) { return Write(text) && EndLine(); }

  // Bytes known to hold no LF, copied as they are.
  bool WriteRaw(const char* data, std::size_t size);

  // Room for at least `size` (at most kMaxReserve) bytes that hold no LF: write them at the
  // pointer returned, then Advance by what was written. nullptr when a flush failed.
  char* Reserve(std::size_t size) {
    if (buffer_.size() - used_ < size && !HandOver()) return nullptr;
    return buffer_.data() + used_;
  }
  void Advance(std::size_t size) { used_ += size; }

  // Writes all that is buffered and, in the background, waits until it is written. False when
  // any write so far failed.
  bool Flush();

 private:
  class Background;

  // Writes the buffer, or in the background hands it to the thread and goes on with the other.
  bool HandOver();

  WriteFunction write_;
  ByteBuffer buffer_;
  std::size_t used_ = 0;
  std::unique_ptr<Background> background_;
};
