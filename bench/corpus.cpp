#include "bench/corpus.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace corpus {
namespace {

// A small, fast, reproducible generator (splitmix64).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  unsigned Below(unsigned limit) { return static_cast<unsigned>(Next() % limit); }

 private:
  std::uint64_t state_;
};

constexpr const char* kWords[] = {"the", "of", "and", "to", "in", "is", "that", "for", "it",
                                  "with", "as", "was", "on", "be", "at", "by", "this", "from",
                                  "code", "page", "file", "line", "text", "data", "report"};

void AppendWord(std::string& out, Random& random) {
  out += kWords[random.Below(sizeof kWords / sizeof kWords[0])];
}

// Shift-JIS: JIS level-1 kanji rows (leads 89-97 are fully assigned), hiragana, ASCII words.
void AppendJapaneseLine(std::string& out, Random& random) {
  const unsigned length = 10 + random.Below(191);
  const std::size_t start = out.size();
  while (out.size() - start + 2 <= length) {
    const unsigned pick = random.Below(10);
    if (pick < 5) {
      out += static_cast<char>(0x89 + random.Below(15));
      const unsigned trail = random.Below(188);
      out += static_cast<char>(trail < 63 ? 0x40 + trail : 0x80 + (trail - 63));
    } else if (pick < 8) {
      out += '\x82';
      out += static_cast<char>(0x9F + random.Below(83));
    } else {
      out += ' ';
      AppendWord(out, random);
    }
  }
  out += "\r\n";
}

// GBK: GB2312 hanzi (leads B0-D6, trails A1-FE) and ASCII words.
void AppendChineseLine(std::string& out, Random& random) {
  const unsigned length = 10 + random.Below(191);
  const std::size_t start = out.size();
  while (out.size() - start + 2 <= length) {
    if (random.Below(8) < 7) {
      out += static_cast<char>(0xB0 + random.Below(39));
      out += static_cast<char>(0xA1 + random.Below(94));
    } else {
      out += ' ';
      AppendWord(out, random);
    }
  }
  out += "\r\n";
}

constexpr std::array<const char*, 8> kAccented1252 = {"\xE9", "\xE8", "\xE0", "\xFC",
                                                      "\xDF", "\xE7", "\xF1", "\xF6"};
constexpr std::array<const char*, 8> kAccentedUtf8 = {"\xC3\xA9", "\xC3\xA8", "\xC3\xA0",
                                                      "\xC3\xBC", "\xC3\x9F", "\xC3\xA7",
                                                      "\xC3\xB1", "\xC3\xB6"};

void AppendWesternLine(std::string& out, Random& random, const std::array<const char*, 8>& accents,
                       const char* lineEnd) {
  const unsigned words = 2 + random.Below(25);
  for (unsigned word = 0; word < words; ++word) {
    if (word > 0) out += ' ';
    AppendWord(out, random);
    if (random.Below(12) == 0) out += accents[random.Below(8)];
  }
  out += lineEnd;
}

void AppendBoxDrawingLine(std::string& out, Random& random) {
  const unsigned width = 10 + random.Below(60);
  out += '\xBA';  // double vertical
  for (unsigned column = 0; column < width; ++column) {
    const unsigned pick = random.Below(20);
    out += pick == 0 ? '\xC4' : pick == 1 ? '\xB3' : pick == 2 ? '\x82' : static_cast<char>('a' + pick);
  }
  out += "\xBA\r\n";
}

// EBCDIC 037: letters C1-C9, D1-D9, E2-E9, digits F0-F9, blank 40; no 0x25 (EBCDIC LF) and no
// 0x0A, so the whole corpus is one line.
void AppendEbcdicWord(std::string& out, Random& random) {
  static constexpr unsigned char kLetters[] = {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88,
                                               0x89, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
                                               0x98, 0x99, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
                                               0xA8, 0xA9, 0xC1, 0xC5, 0xF1, 0xF2};
  const unsigned length = 1 + random.Below(9);
  for (unsigned letter = 0; letter < length; ++letter) {
    out += static_cast<char>(kLetters[random.Below(sizeof kLetters)]);
  }
  out += '\x40';
}

}  // namespace

std::string Generate(Kind kind, std::size_t bytes, std::uint64_t seed) {
  Random random(seed);
  std::string out;
  out.reserve(bytes + 256);
  while (out.size() < bytes) {
    switch (kind) {
      case Kind::kJapanese932: AppendJapaneseLine(out, random); break;
      case Kind::kWestern1252: AppendWesternLine(out, random, kAccented1252, "\r\n"); break;
      case Kind::kWesternUtf8: AppendWesternLine(out, random, kAccentedUtf8, "\r\n"); break;
      case Kind::kDosBoxDrawing437: AppendBoxDrawingLine(out, random); break;
      case Kind::kChinese936: AppendChineseLine(out, random); break;
      case Kind::kEbcdic37: AppendEbcdicWord(out, random); break;
      case Kind::kEmptyLines: out += "\r\n"; break;
    }
  }
  return out;
}

bool ParseKind(const std::string& name, Kind& kind) {
  static const std::pair<const char*, Kind> kNames[] = {
      {"japanese932", Kind::kJapanese932},   {"western1252", Kind::kWestern1252},
      {"westernutf8", Kind::kWesternUtf8},   {"dos437", Kind::kDosBoxDrawing437},
      {"chinese936", Kind::kChinese936},     {"ebcdic37", Kind::kEbcdic37},
      {"emptylines", Kind::kEmptyLines}};
  for (const auto& [text, value] : kNames) {
    if (name == text) {
      kind = value;
      return true;
    }
  }
  return false;
}

std::size_t BenchmarkBytes() {
  const char* mebibytes = std::getenv("MIROVEX_BENCH_MIB");
  return (mebibytes != nullptr ? std::strtoull(mebibytes, nullptr, 10) : 32) << 20;
}

std::function<std::ptrdiff_t(char*, std::size_t)> ReadFrom(const std::string& text) {
  return [&text, offset = std::size_t{0}](char* buffer, std::size_t capacity) mutable {
    const std::size_t count = std::min(capacity, text.size() - offset);
    std::memcpy(buffer, text.data() + offset, count);
    offset += count;
    return static_cast<std::ptrdiff_t>(count);
  };
}

}  // namespace corpus
