#include "app/line_stream.h"

#include <cstring>
#include <memory>

#include "app/conversion_worker.h"
#include "app/table_piece_converter.h"
#include "app/text_piece_converter.h"
#include "codepage/character_table.h"

namespace {

// A NUL would silently cut its line short: such input is not text in any supported page.
bool HoldsNul(std::string_view text) { return std::memchr(text.data(), '\0', text.size()) != nullptr; }

// The next piece of a line, checked for NUL. False with the outcome set when the run must stop.
bool ReadCheckedPiece(LineReader& reader, std::string_view& piece, bool& endsLine,
                      StreamOutcome& outcome) {
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
  return true;
}

// Conversion through the character table, large buffers shared with a worker thread where the
// machine has a second core.
class TableStream {
 public:
  TableStream(CharacterTable& table, CodePage source, CodePage target, LineWriter& writer,
              std::size_t shareAbove)
      : source_(source),
        target_(target),
        shareAbove_(shareAbove),
        writer_(writer),
        converter_(table, source, target, writer) {}

  StreamOutcome Run(LineReader& reader) {
    StreamOutcome outcome;
    std::string_view text;
    for (;;) {
      // Whole lines straight from the buffer, where the pair allows it and no NUL has been
      // seen; a line cut by the end of the buffer goes piece by piece.
      if (converter_.TakesWholeLines() && !reader.MayHoldNul() && reader.ReadWholeLines(text)) {
        std::uint64_t lineCount = 0;
        if (!ConvertLines(text, lineCount)) return {StreamOutcome::kWriteError, 0};
        reader.CountLinesTaken(lineCount);
        continue;
      }
      bool endsLine = false;
      if (!ReadCheckedPiece(reader, text, endsLine, outcome)) return outcome;
      if (!ConvertPiece(text, endsLine)) return {StreamOutcome::kWriteError, 0};
    }
  }

 private:
  // The worker, made when a buffer first is large enough to share.
  ConversionWorker* Worker(std::size_t size) {
    if (size < shareAbove_) return nullptr;
    if (!workerTried_) {
      workerTried_ = true;
      worker_ = ConversionWorker::Create(source_, target_);
    }
    return worker_.get();
  }

  // The lines after the middle go to the worker, those before it are converted here.
  bool ConvertLines(std::string_view lines, std::uint64_t& lineCount) {
    ConversionWorker* worker = Worker(lines.size());
    const std::string_view theirs =
        worker != nullptr ? lines.substr(lines.find('\n', lines.size() / 2) + 1) : std::string_view();
    if (theirs.empty()) return converter_.ConvertWholeLines(lines, lineCount);
    worker->StartLines(theirs);
    bool written = converter_.ConvertWholeLines(lines.substr(0, lines.size() - theirs.size()), lineCount);
    std::uint64_t theirLineCount = 0;
    const std::string_view converted = worker->Finish(theirLineCount);
    lineCount += theirLineCount;
    return written && writer_.WriteRaw(converted.data(), converted.size());
  }

  // A large piece of a long line is cut where a character begins, near its middle, and the part
  // after the cut goes to the worker. Where the table could not take all of either part, only
  // converting in order gives the right bytes: the second part is converted here after all.
  bool ConvertPiece(std::string_view piece, bool endsLine) {
    ConversionWorker* worker = Worker(piece.size());
    const std::size_t cut = worker != nullptr && converter_.TookAllByTable()
                                ? converter_.CharacterStartFrom(piece, piece.size() / 2)
                                : 0;
    if (cut == 0) return converter_.Convert(piece, endsLine);
    worker->StartPiece(piece.substr(cut));
    bool written = converter_.Convert(piece.substr(0, cut), false);
    std::uint64_t unused = 0;
    const std::string_view converted = worker->Finish(unused);
    if (converter_.AtCharacterStart() && worker->Converter().TookAllByTable()) {
      written = written && writer_.WriteRaw(converted.data(), converted.size());
      converter_.TakeCarryFrom(worker->Converter());
    } else {
      written = written && converter_.Convert(piece.substr(cut), false);
    }
    return written && (!endsLine || converter_.Convert({}, true));
  }

  CodePage source_;
  CodePage target_;
  std::size_t shareAbove_;
  LineWriter& writer_;
  TablePieceConverter converter_;
  std::unique_ptr<ConversionWorker> worker_;
  bool workerTried_ = false;
};

}  // namespace

StreamOutcome ConvertStream(LineReader& reader, LineWriter& writer, CodePage source,
                            CodePage target, std::size_t shareAbove) {
  // Character by character where the pair allows it; else line by line through the services.
  if (std::unique_ptr<CharacterTable> table = CharacterTable::Create(source, target)) {
    return TableStream(*table, source, target, writer, shareAbove).Run(reader);
  }
  TextPieceConverter converter(source, target, writer);
  StreamOutcome outcome;
  std::string_view piece;
  bool endsLine = false;
  while (ReadCheckedPiece(reader, piece, endsLine, outcome)) {
    if (!converter.Convert(piece, endsLine)) return {StreamOutcome::kWriteError, 0};
  }
  return outcome;
}
