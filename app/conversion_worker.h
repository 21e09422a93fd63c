// Converts on a second thread, so that a large file keeps both cores busy: while the caller
// converts one part of a buffer, the worker converts the part after it into memory of its own,
// which the caller then writes after its own part. Lines convert each on their own, and a long
// line can be cut where a character begins, so the bytes are the same as converting in order.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "app/line_writer.h"
#include "app/table_piece_converter.h"
#include "codepage/character_table.h"

class ConversionWorker {
 public:
  // nullptr where the pair has no character table or there is no second core.
  static std::unique_ptr<ConversionWorker> Create(CodePage source, CodePage target);
  ~ConversionWorker();

  // Starts converting `lines`: whole lines, line ends included, valid until Finish returns.
  void StartLines(std::string_view lines);
  // Starts converting `piece`: a part of a line that begins where a character begins and is not
  // the line's end, valid until Finish returns.
  void StartPiece(std::string_view piece);
  // Waits for what was started; gives its bytes in the output format (valid until the next
  // start) and sets `lineCount`. Rethrows what the conversion threw.
  std::string_view Finish(std::uint64_t& lineCount);
  // The converter that did the work: after a piece, it tells whether the table took all of it,
  // and holds a character cut by the piece's end.
  TablePieceConverter& Converter() { return *converter_; }

 private:
  enum class Job { kLines, kPiece };

  ConversionWorker(std::unique_ptr<CharacterTable> table, CodePage source, CodePage target);
  void Start(Job job, std::string_view text);
  void Run();

  CodePage source_;
  CodePage target_;
  std::unique_ptr<CharacterTable> table_;  // its own: a table fills itself in as it goes
  std::string output_;      // the job's bytes, where they did not fit the writer's buffer
  std::string_view kept_;   // else the job's bytes, left in the writer's buffer
  bool finishing_ = false;  // the writer is writing out the end of the job
  LineWriter writer_;
  std::optional<TablePieceConverter> converter_;

  std::mutex mutex_;
  std::condition_variable changed_;
  Job job_ = Job::kLines;
  std::string_view text_;
  bool pending_ = false;   // work handed over and not yet done
  bool stopping_ = false;
  std::uint64_t lineCount_ = 0;
  std::exception_ptr failure_;
  std::thread thread_;     // last: it starts once everything it uses is there
};
