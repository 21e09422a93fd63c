#include "app/line_stream.h"

#include <cstring>
#include <memory>

#include "app/table_piece_converter.h"
#include "app/text_piece_converter.h"
#include "codepage/character_table.h"

namespace {

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
    std::string_view lines;
    for (;;) {
      // Whole lines straight from the buffer, where the pair allows it and no NUL has been
      // seen; a line cut by the end of the buffer goes piece by piece.
      if (converter.TakesWholeLines() && !reader.MayHoldNul() && reader.ReadWholeLines(lines)) {
        std::uint64_t lineCount = 0;
        if (!converter.ConvertWholeLines(lines, lineCount)) return {StreamOutcome::kWriteError, 0};
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
