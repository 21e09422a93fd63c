// Converts whole lines on a second thread, so that a large file keeps both cores busy: while the
// caller converts one part of a buffer of lines, the worker converts the part after it into a
// buffer of its own, which the caller then writes after its own part. Lines convert each on its
// own, so the bytes are the same as converting them one after another.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "app/line_writer.h"
#include "app/table_piece_converter.h"
#include "codepage/character_table.h"

class WholeLinesWorker {
 public:
  // nullptr where the pair is not converted in whole lines or there is no second core.
  static std::unique_ptr<WholeLinesWorker> Create(CodePage source, CodePage target);
  ~WholeLinesWorker();

  // Starts converting `lines`: whole lines, line ends included, valid until Finish returns.
  void Start(std::string_view lines);
  // Waits for the lines started; gives their bytes in the output format (valid until the next
  // Start) and sets `lineCount`. Rethrows what the conversion threw.
  std::string_view Finish(std::uint64_t& lineCount);

 private:
  WholeLinesWorker(std::unique_ptr<CharacterTable> table, CodePage source, CodePage target);
  void Run();

  std::unique_ptr<CharacterTable> table_;  // its own: a table fills itself in as it goes
  std::string output_;
  LineWriter writer_;
  TablePieceConverter converter_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::string_view lines_;
  bool pending_ = false;   // lines handed over and not yet converted
  bool stopping_ = false;
  std::uint64_t lineCount_ = 0;
  std::exception_ptr failure_;
  std::thread thread_;     // last: it starts once everything it uses is there
};
