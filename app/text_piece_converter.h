// Converts lines through the code page services as whole texts: the way for stateful pages
// (ISO-2022, HZ, UTF-7) and for pages without a character table. A line that fits one piece is
// converted whole; a longer one goes through the services' piecewise conversion, which keeps the
// shift state from piece to piece, or, where the system has none, is gathered whole.
#pragma once

#include <string>
#include <string_view>

#include "app/line_writer.h"
#include "app/piece_converter.h"
#include "codepage/transcoder.h"
#include "platform/codepage_streams.h"

class TextPieceConverter final : public PieceConverter {
 public:
  TextPieceConverter(CodePage source, CodePage target, LineWriter& writer);

  bool Convert(std::string_view piece, bool endsLine) override;

 private:
  bool ConvertPiecewise(std::string_view piece, bool endsLine);

  CodePage source_;
  CodePage target_;
  LineWriter& writer_;
  Transcoder transcoder_;
  platform::PieceDecoder decoder_;
  platform::PieceEncoder encoder_;
  bool midLine_ = false;
  bool truncated_ = false;  // a NUL ended the line's text: the rest of the line is dropped
  std::string gathered_;    // the line so far, where the system cannot convert piecewise
  std::u16string units_;
  std::string bytes_;
};
