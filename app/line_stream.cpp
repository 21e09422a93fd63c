#include "app/line_stream.h"

#include <cstring>
#include <memory>

#include "app/table_piece_converter.h"
#include "app/text_piece_converter.h"
#include "app/whole_lines_worker.h"
#include "codepage/character_table.h"

namespace {

// Buffers of lines at least this large are shared with a second thread.
constexpr std::size_t kShareAbove = std::size_t{256} << 10;

// The whole lines after the middle of `lines`, which ends with an LF; empty where the last line
// reaches past the middle.
std::string_view SecondHalf(std::string_view lines) {
  const std::size_t lineFeed = lines.find('\n', lines.size() / 2);
  return lines.substr(lineFeed + 1);
}

// A NUL would silently cut its line short: such input is not text in any supported page.
bool HoldsNul(std::string_view text) { return std::memchr(text.data(), '\0', text.size()) != nullptr; }

// One piece through the converter. False with the outcome set when the run must stop.
template <typename Converter>
bool ConvertNextPiece(LineReader& reader, Converter& converter, StreamOutcome& outcome) {
  std::string_view piece;
  bool endsLine = false;
  switch (reader.ReadPiece(piece, endsLine)) {
    case LineReader::Result::kEnd:
      return false;
    case LineReader::Result::kError:
      outcome.result = StreamOutcome::kReadError;
      return false;
    case LineReader::Result::kLine:
      break;
  }
  if (reader.MayHoldNul() && HoldsNul(piece)) {
    outcome = {StreamOutcome::kNulInInput, reader.LinesRead() + (endsLine ? 0 : 1)};
    return false;
  }
  if (!converter.Convert(piece, endsLine)) {
    outcome.result = StreamOutcome::kWriteError;
    return false;
  }
  return true;
}

}  // namespace

StreamOutcome ConvertStream(LineReader& reader, LineWriter& writer, CodePage source,
                            CodePage target) {
  StreamOutcome outcome;
  // Character by character where the pair allows it; else line by line through the services.
  if (std::unique_ptr<CharacterTable> table = CharacterTable::Create(source, target)) {
    TablePieceConverter converter(*table, source, target, writer);
    std::unique_ptr<WholeLinesWorker> worker;  // made for the first large buffer of lines
    bool workerTried = false;
    std::string_view lines;
    for (;;) {
      // Whole lines straight from the buffer, where the pair allows it and no NUL has been
      // seen; a line cut by the end of the buffer goes piece by piece.
      if (converter.TakesWholeLines() && !reader.MayHoldNul() && reader.ReadWholeLines(lines)) {
        if (lines.size() >= kShareAbove && !workerTried) {
          workerTried = true;
          worker = WholeLinesWorker::Create(source, target);
        }
        // The lines after the middle go to the worker, those before it are converted here.
        const std::string_view theirs = worker ? SecondHalf(lines) : std::string_view();
        const std::string_view mine = lines.substr(0, lines.size() - theirs.size());
        if (!theirs.empty()) worker->Start(theirs);
        std::uint64_t lineCount = 0;
        bool written = converter.ConvertWholeLines(mine, lineCount);
        if (!theirs.empty()) {
          std::uint64_t theirLineCount = 0;
          const std::string_view converted = worker->Finish(theirLineCount);
          written = written && writer.WriteRaw(converted.data(), converted.size());
          lineCount += theirLineCount;
        }
        if (!written) return {StreamOutcome::kWriteError, 0};
        reader.CountLinesTaken(lineCount);
        continue;
      }
      if (!ConvertNextPiece(reader, converter, outcome)) return outcome;
    }
  }
  TextPieceConverter converter(source, target, writer);
  while (ConvertNextPiece(reader, converter, outcome)) {
  }
  return outcome;
}
