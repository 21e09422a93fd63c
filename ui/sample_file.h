// The file whose first lines the configuration dialog previews, read with the conversion's own
// line reader so that the preview splits lines exactly as the conversion will.
#pragma once

#include <optional>
#include <string>

#include "app/line_reader.h"
#include "platform/files.h"

class SampleFile {
 public:
  // A file that cannot be opened reads as empty: the dialog then previews nothing.
  void Open(const std::string& path);
  // The next line without its line end; false at the end. A read error ends the sample too.
  bool ReadLine(std::string& line);
  void Close();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{64} << 10;

  platform::InputFile file_;
  std::optional<LineReader> reader_;
};
