// Converts lines piece by piece through a character table and writes them in the output format.
// It gives the same bytes as converting each line whole with the Transcoder, in memory bounded by
// the size of a piece: a character cut by the end of a piece is carried over to the next one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/double_byte_blocks.h"
#include "app/line_writer.h"
#include "app/piece_converter.h"
#include "codepage/character_table.h"
#include "app/text_piece_converter.h"

class TablePieceConverter final : public PieceConverter {
 public:
  TablePieceConverter(CharacterTable& table, CodePage source, CodePage target, LineWriter& writer);

  bool Convert(std::string_view piece, bool endsLine) override;

  // True when whole lines can be handed over at once (both pages keep ASCII as it is).
  bool TakesWholeLines() const { return table_.KeepsAscii(); }
  // Whole lines, each with its line end as read (LF or CR LF), the last one included. Runs of
  // ASCII and CR LF go out as they are, plain characters through the table; a line with a
  // character that needs more care is finished piecewise from that character.
  // `lineCount` is set to the number of lines.
  bool ConvertWholeLines(std::string_view lines, std::uint64_t& lineCount);

  // True when the converter stands where a character begins, with nothing held over.
  bool AtCharacterStart() const { return carriedLength_ == 0 && !inTail_ && !truncated_; }
  // True when everything so far went through the table: a character cut by the end of the last
  // piece may be held over, but no part of the line was left to the services or dropped.
  bool TookAllByTable() const { return !inTail_ && !truncated_; }
  // Takes over the character that `other` holds over from the end of its last piece.
  void TakeCarryFrom(TablePieceConverter& other);
  // A place at or after `from` in `text` where a character begins, whatever came before it; 0
  // when there is none within a short way.
  std::size_t CharacterStartFrom(std::string_view text, std::size_t from) const;

 private:
  bool ConvertRun(const unsigned char* at, const unsigned char* end, bool endsLine);
  const unsigned char* ConvertPlain(const unsigned char* begin, const unsigned char* at,
                                    const unsigned char* stop, const unsigned char* end,
                                    char*& out, std::uint64_t& lineFeeds);
  bool TakeDoubleByteBlock(const unsigned char* begin, const unsigned char*& at, char*& out,
                           std::uint64_t& lineFeeds);
  template <bool kAsciiInline, bool kUntilAscii = false>
  bool TakeCharacters(const unsigned char* begin, const unsigned char*& position,
                      const unsigned char* stop, const unsigned char* end, char*& output,
                      std::uint64_t& lineFeeds);
  bool ConvertCarefully(const unsigned char*& at, const unsigned char* end, bool endsLine);
  bool ResumeCarried(const unsigned char*& at, const unsigned char* end, bool endsLine);
  bool Emit(CharacterTable::Entry entry);
  bool StartTail(const unsigned char* from, const unsigned char* end);
  bool FinishLine();

  CharacterTable& table_;
  LineWriter& writer_;
  TextPieceConverter rest_;  // takes what the table cannot: the rest of the line
  unsigned char carried_[4] = {};
  std::size_t carriedLength_ = 0;
  bool truncated_ = false;   // a NUL ended the line's text: the rest of the line is dropped
  bool inTail_ = false;      // the rest of the line goes to rest_
  // For a double-byte source whose lead bytes form a few ranges: characters found by blocks.
  bool takesBlocks_ = false;
  double_byte_blocks::LeadRanges leadRanges_;
};
