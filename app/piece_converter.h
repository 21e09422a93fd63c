// Converts the lines of a file as they come from the reader, piece by piece, and writes them in
// the output format. Each line gives exactly the bytes of converting it whole.
#pragma once

#include <string_view>

class PieceConverter {
 public:
  virtual ~PieceConverter() = default;
  // Converts one piece of a line; after the last piece of a line, writes the line end. False
  // when writing failed.
  virtual bool Convert(std::string_view piece, bool endsLine) = 0;
};
