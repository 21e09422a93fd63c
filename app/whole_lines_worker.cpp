#include "app/whole_lines_worker.h"

#include <utility>

namespace {

// The worker collects its bytes in memory, in pieces of this size.
constexpr std::size_t kWriterBufferSize = std::size_t{64} << 10;

}  // namespace

std::unique_ptr<WholeLinesWorker> WholeLinesWorker::Create(CodePage source, CodePage target) {
  if (std::thread::hardware_concurrency() < 2) return nullptr;
  std::unique_ptr<CharacterTable> table = CharacterTable::Create(source, target);
  if (!table || !table->KeepsAscii()) return nullptr;
  return std::unique_ptr<WholeLinesWorker>(new WholeLinesWorker(std::move(table), source, target));
}

WholeLinesWorker::WholeLinesWorker(std::unique_ptr<CharacterTable> table, CodePage source,
                                   CodePage target)
    : table_(std::move(table)),
      writer_(
          [this](const char* data, std::size_t size) {
            output_.append(data, size);
            return true;
          },
          kWriterBufferSize),
      converter_(*table_, source, target, writer_),
      thread_([this] { Run(); }) {}

WholeLinesWorker::~WholeLinesWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void WholeLinesWorker::Start(std::string_view lines) {
  {
    const std::lock_guard lock(mutex_);
    lines_ = lines;
    pending_ = true;
  }
  changed_.notify_all();
}

std::string_view WholeLinesWorker::Finish(std::uint64_t& lineCount) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  lineCount = lineCount_;
  return output_;
}

void WholeLinesWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return pending_ || stopping_; });
    if (!pending_) return;
    const std::string_view lines = lines_;
    lock.unlock();
    std::uint64_t lineCount = 0;
    std::exception_ptr failure;
    try {
      output_.clear();
      // Writing into memory cannot fail: only an exception stops it.
      converter_.ConvertWholeLines(lines, lineCount);
      writer_.Flush();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    lineCount_ = lineCount;
    failure_ = failure;
    pending_ = false;
    changed_.notify_all();
  }
}
