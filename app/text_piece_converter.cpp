#include "app/text_piece_converter.h"

#include <algorithm>

TextPieceConverter::TextPieceConverter(CodePage source, CodePage target, LineWriter& writer)
    : source_(source), target_(target), writer_(writer), decoder_(source), encoder_(target) {}

bool TextPieceConverter::Convert(std::string_view piece, bool endsLine) {
  if (!midLine_ && endsLine) return writer_.WriteLine(transcoder_.Convert(piece, source_, target_));
  const bool piecewise = decoder_.IsUsable() && encoder_.IsUsable();
  if (!piecewise) {
    gathered_.append(piece);
    midLine_ = !endsLine;
    if (!endsLine) return true;
    const bool written = writer_.WriteLine(transcoder_.Convert(gathered_, source_, target_));
    gathered_.clear();
    return written;
  }
  return ConvertPiecewise(piece, endsLine);
}

bool TextPieceConverter::ConvertPiecewise(std::string_view piece, bool endsLine) {
  if (!midLine_) {
    decoder_.Begin();
    encoder_.Begin();
    truncated_ = false;
  }
  midLine_ = !endsLine;
  bool written = true;
  if (!truncated_) {
    units_.clear();
    bytes_.clear();
    decoder_.Decode(piece.data(), piece.size(), endsLine, units_);
    // As for a whole line: a U+0000 ends the text, and so does a NUL byte in the result.
    const auto nulUnit = units_.find(u'\0');
    bool last = endsLine;
    if (nulUnit != std::u16string::npos) {
      units_.resize(nulUnit);
      last = true;
      truncated_ = true;
    }
    encoder_.Encode(units_.data(), units_.size(), last, bytes_);
    const auto nulByte = bytes_.find('\0');
    if (nulByte != std::string::npos) {
      bytes_.resize(nulByte);
      truncated_ = true;
    }
    written = writer_.Write(bytes_);
  }
  return endsLine ? written && writer_.EndLine() : written;
}
