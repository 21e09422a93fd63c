#include "app/conversion_worker.h"

#include <system_error>
#include <utility>

#include "app/line_reader.h"

namespace {

// Room for the bytes of one job: a buffer of input gives at most three times as many, so they
// stay where they were converted and are not copied once more.
constexpr std::size_t kWriterBufferSize = 3 * LineReader::kDefaultBufferSize + (std::size_t{64} << 10);

}  // namespace

std::unique_ptr<ConversionWorker> ConversionWorker::Create(CodePage source, CodePage target) {
  if (std::thread::hardware_concurrency() < 2) return nullptr;
  std::unique_ptr<CharacterTable> table = CharacterTable::Create(source, target);
  if (!table) return nullptr;
  try {
    return std::unique_ptr<ConversionWorker>(new ConversionWorker(std::move(table), source, target));
  } catch (const std::system_error&) {
    return nullptr;  // no thread to be had (a process limit): one thread does it all
  }
}

ConversionWorker::ConversionWorker(std::unique_ptr<CharacterTable> table, CodePage source,
                                   CodePage target)
    : source_(source),
      target_(target),
      table_(std::move(table)),
      writer_(
          [this](const char* data, std::size_t size) {
            // The job's only write, at its end, is left where it is; anything else is gathered.
            if (finishing_ && output_.empty()) {
              kept_ = std::string_view(data, size);
            } else {
              output_.append(data, size);
            }
            return true;
          },
          kWriterBufferSize),
      converter_(std::in_place, *table_, source, target, writer_),
      thread_([this] { Run(); }) {}

ConversionWorker::~ConversionWorker() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ConversionWorker::StartLines(std::string_view lines) { Start(Job::kLines, lines); }

void ConversionWorker::StartPiece(std::string_view piece) { Start(Job::kPiece, piece); }

void ConversionWorker::Start(Job job, std::string_view text) {
  // A converter left inside a line by a result that was not taken starts afresh.
  if (!converter_->AtCharacterStart()) converter_.emplace(*table_, source_, target_, writer_);
  {
    const std::lock_guard lock(mutex_);
    job_ = job;
    text_ = text;
    pending_ = true;
  }
  changed_.notify_all();
}

std::string_view ConversionWorker::Finish(std::uint64_t& lineCount) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !pending_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  lineCount = lineCount_;
  return kept_.empty() ? std::string_view(output_) : kept_;
}

void ConversionWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return pending_ || stopping_; });
    if (!pending_) return;
    const Job job = job_;
    const std::string_view text = text_;
    lock.unlock();
    std::uint64_t lineCount = 0;
    std::exception_ptr failure;
    try {
      output_.clear();
      kept_ = {};
      finishing_ = false;
      // Writing into memory cannot fail: only an exception stops it.
      if (job == Job::kLines) {
        converter_->ConvertWholeLines(text, lineCount);
      } else {
        converter_->Convert(text, false);
      }
      finishing_ = true;
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
