// Converts everything a reader gives, line by line, into a writer: the part of the file
// conversion that knows nothing of files.
#pragma once

#include <cstdint>

#include "app/line_reader.h"
#include "app/line_writer.h"
#include "codepage/code_page.h"

struct StreamOutcome {
  enum Result { kDone, kReadError, kWriteError, kNulInInput };
  Result result = kDone;
  std::uint64_t line = 0;  // for kNulInInput: the line that holds the NUL, counted from 1
};

// Buffers of at least this many bytes are shared with a second thread, where there is a core
// for it.
inline constexpr std::size_t kShareAbove = std::size_t{256} << 10;

// Stops at the first failure; the writer is not flushed.
StreamOutcome ConvertStream(LineReader& reader, LineWriter& writer, CodePage source,
                            CodePage target, std::size_t shareAbove = kShareAbove);
