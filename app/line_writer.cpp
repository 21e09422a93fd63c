#include "app/line_writer.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

// The writing thread, with the buffer it writes from. It is started by the first buffer handed
// over, so small outputs never start it.
class LineWriter::Background {
 public:
  Background(WriteFunction write, std::size_t bufferSize)
      : write_(std::move(write)), spare_(bufferSize) {}

  ~Background() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }

  // Waits for the write in progress, then starts writing `used` bytes of `buffer`, which it
  // swaps with the spare one. False when a write failed.
  bool Start(ByteBuffer& buffer, std::size_t used) {
    if (!thread_.joinable() && !noThread_) {
      try {
        thread_ = std::thread([this] { Run(); });
      } catch (const std::system_error&) {
        noThread_ = true;  // no thread to be had (a process limit): written in place
      }
    }
    if (noThread_) {
      if (failed_) return false;
      failed_ = !write_(buffer.data(), used);
      return !failed_;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return pendingSize_ == 0; });
    if (failed_) return false;  // nothing more is written after a failure: the run ends with it
    std::swap(buffer, spare_);
    pendingSize_ = used;
    lock.unlock();
    changed_.notify_all();
    return true;
  }

  // Waits until everything handed over is written. False when a write failed.
  bool Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return pendingSize_ == 0; });
    return !failed_;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return pendingSize_ != 0 || stopping_; });
      if (pendingSize_ == 0) return;
      lock.unlock();
      const bool written = write_(spare_.data(), pendingSize_);
      lock.lock();
      failed_ = !written;
      pendingSize_ = 0;
      changed_.notify_all();
    }
  }

  WriteFunction write_;
  ByteBuffer spare_;  // the bytes being written
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t pendingSize_ = 0;
  bool failed_ = false;
  bool stopping_ = false;
  bool noThread_ = false;  // the thread could not be started: Start writes in place
  std::thread thread_;
};

LineWriter::LineWriter(WriteFunction write, std::size_t bufferSize, Mode mode)
    : write_(std::move(write)), buffer_(bufferSize > kMaxReserve ? bufferSize : kMaxReserve) {
  if (mode == Mode::kInBackground) background_ = std::make_unique<Background>(write_, buffer_.size());
}

LineWriter::LineWriter(LineWriter&&) noexcept = default;
LineWriter::~LineWriter() = default;

bool LineWriter::WriteRaw(const char* data, std::size_t size) {
  while (size > 0) {
    if (used_ == buffer_.size() && !HandOver()) return false;
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

bool LineWriter::HandOver() {
  if (used_ == 0) return true;
  const std::size_t used = std::exchange(used_, 0);
  return background_ ? background_->Start(buffer_, used) : write_(buffer_.data(), used);
}

bool LineWriter::Flush() {
  const bool handedOver = HandOver();
  return background_ ? background_->Wait() && handedOver : handedOver;
}
