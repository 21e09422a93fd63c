// Deterministic test corpora: text in a given code page, in lines of realistic lengths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace corpus {

enum class Kind {
  kJapanese932,      // Shift-JIS: kanji, hiragana and ASCII, CR LF lines of 10-200 bytes
  kWestern1252,      // mostly ASCII with accented letters, CR LF lines
  kWesternUtf8,      // the same text in UTF-8
  kDosBoxDrawing437, // DOS text with box drawing, CR LF lines
  kChinese936,       // GBK text, CR LF lines
  kEbcdic37,         // EBCDIC text without any 0x0A byte: one long line
  kEmptyLines,       // CR LF only
};

// About `bytes` bytes of the corpus (whole lines; a little more or less), from a fixed seed.
std::string Generate(Kind kind, std::size_t bytes, std::uint64_t seed = 1);

bool ParseKind(const std::string& name, Kind& kind);

// The corpus size for the benchmarks: MIROVEX_BENCH_MIB mebibytes, 32 when it is not set.
std::size_t BenchmarkBytes();

// A reader's read function that hands out `text` from its beginning.
std::function<std::ptrdiff_t(char*, std::size_t)> ReadFrom(const std::string& text);

}  // namespace corpus
