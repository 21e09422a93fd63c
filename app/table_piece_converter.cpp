#include "app/table_piece_converter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

using Entry = CharacterTable::Entry;
using platform::CodePageShape;

namespace {

// The length of the UTF-8 sequence at `bytes` with its code point: > 0 for a valid sequence,
// 0 for an invalid one, -1 when the bytes available are a valid beginning but too few.
int DecodeUtf8(const unsigned char* bytes, std::size_t available, std::uint32_t& codePoint) {
  const unsigned char first = bytes[0];
  int length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (first < 0x80) {
    codePoint = first;
    return 1;
  } else if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    codePoint = first & 0x1Fu;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    codePoint = first & 0x0Fu;
    if (first == 0xE0) low = 0xA0;
    if (first == 0xED) high = 0x9F;  // no surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    codePoint = first & 0x07u;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (int at = 1; at < length; ++at) {
    if (static_cast<std::size_t>(at) >= available) return -1;
    const unsigned char next = bytes[at];
    if (next < (at == 1 ? low : 0x80) || next > (at == 1 ? high : 0xBF)) return 0;
    codePoint = codePoint << 6 | (next & 0x3Fu);
  }
  return length;
}

}  // namespace

namespace {

// Input bytes converted between two checks for room in the writer's buffer.
constexpr std::size_t kChunk = 1024;
// A plain entry writes at most three bytes, stored as four.
constexpr std::size_t kRoomPerByte = 3;

// Stores a plain entry's bytes and moves past them.
inline void Put(char*& out, Entry entry) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &entry, sizeof entry);
  } else {
    out[0] = static_cast<char>(entry & 0xFF);
    out[1] = static_cast<char>((entry >> 8) & 0xFF);
    out[2] = static_cast<char>((entry >> 16) & 0xFF);
  }
  out += CharacterTable::Length(entry);
}

// Copies the ASCII bytes at `at` as they are (the pair keeps ASCII), eight at a time while
// eight remain before `stop`, then one by one up to the first byte that is not ASCII.
inline void CopyAsciiWords(const unsigned char*& at, const unsigned char* stop, char*& out) {
  while (stop - at >= 8) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    if ((word & 0x8080808080808080ull) != 0) break;
    std::memcpy(out, &word, sizeof word);
    at += 8;
    out += 8;
  }
  // The last few, one by one: they stand for themselves, no table needed.
  while (at < stop && *at < 0x80) *out++ = static_cast<char>(*at++);
}

}  // namespace

TablePieceConverter::TablePieceConverter(CharacterTable& table, CodePage source, CodePage target,
                               LineWriter& writer)
    : table_(table), writer_(writer), rest_(source, target, writer) {}

bool TablePieceConverter::Convert(std::string_view piece, bool endsLine) {
  if (piece.empty() && endsLine && carriedLength_ == 0 && !inTail_ && !truncated_) {
    return writer_.EndLine();  // an empty line, the commonest line of all
  }
  const auto* at = reinterpret_cast<const unsigned char*>(piece.data());
  const auto* end = at + piece.size();
  if (carriedLength_ > 0 && !ResumeCarried(at, end, endsLine)) return false;
  if (!ConvertRun(at, end, endsLine)) return false;
  return endsLine ? FinishLine() : true;
}

namespace {

// How many bytes of a word have their high bit set, where no other bit is: a multiplication
// adds them up (the baseline x86-64 has no population count instruction).
inline std::uint64_t CountMarkedBytes(std::uint64_t highBits) {
  return ((highBits >> 7) * 0x0101010101010101ull) >> 56;
}

// The first byte in [at, end) that is not ASCII, or is an LF without a CR before it; `end`
// when there is none. `begin` is where the lines start: a CR before `at` counts. The LFs passed
// over on the way (those of CR LF) are added to `lineFeeds`.
const char* FindNonAsciiOrBareLineFeed(const char* begin, const char* at, const char* end,
                                       std::uint64_t& lineFeeds) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kLineFeeds = 0x0A0A0A0A0A0A0A0Aull;
    constexpr std::uint64_t kCarriageReturns = 0x0D0D0D0D0D0D0D0Dull;
    const auto zeroBytes = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
    // The high bit of each byte that follows a CR, carried from one word to the next.
    std::uint64_t afterCr = at > begin && at[-1] == '\r' ? 0x80 : 0;
    while (end - at >= 8) {
      std::uint64_t bytes;
      std::memcpy(&bytes, at, sizeof bytes);
      const std::uint64_t carriageReturns = zeroBytes(bytes ^ kCarriageReturns);
      const std::uint64_t lineFeedBits = zeroBytes(bytes ^ kLineFeeds);
      const std::uint64_t found =
          (bytes & kHighBits) | (lineFeedBits & ~((carriageReturns << 8) | afterCr));
      if (found != 0) {
        const int bit = std::countr_zero(found);
        lineFeeds += CountMarkedBytes(lineFeedBits & ((std::uint64_t{1} << bit) - 1));
        return at + bit / 8;
      }
      lineFeeds += CountMarkedBytes(lineFeedBits);
      afterCr = carriageReturns >> 56;
      at += 8;
    }
  }
  for (; at < end; ++at) {
    if (static_cast<unsigned char>(*at) >= 0x80) return at;
    if (*at == '\n') {
      if (at == begin || at[-1] != '\r') return at;
      ++lineFeeds;
    }
  }
  return end;
}

}  // namespace

// Where the text goes on after the character at `at`, with its plain entry, when that character
// is a single byte or a UTF-8 sequence that the table knows and ASCII follows it; nullptr
// otherwise. Lead bytes and runs of such characters are left to the careful way.
const char* TablePieceConverter::IsolatedCharacterAt(const char* at, const char* end,
                                                     Entry& entry) const {
  const auto* bytes = reinterpret_cast<const unsigned char*>(at);
  std::size_t length = 1;
  switch (table_.SourceShape()) {
    case CodePageShape::kSingleByte:
      entry = table_.Byte(*bytes);
      break;
    case CodePageShape::kUtf8: {
      std::uint32_t codePoint = 0;
      const int sequence = DecodeUtf8(bytes, static_cast<std::size_t>(end - at), codePoint);
      if (sequence <= 0) return nullptr;
      length = static_cast<std::size_t>(sequence);
      entry = table_.PeekCodePoint(codePoint);
      break;
    }
    default:
      return nullptr;
  }
  // Only where eight ASCII bytes follow: among denser characters the careful way is faster.
  const char* next = at + length;
  if ((entry & CharacterTable::kSpecial) != 0 || end - next < 8) return nullptr;
  std::uint64_t following;
  std::memcpy(&following, next, sizeof following);
  return (following & 0x8080808080808080ull) == 0 ? next : nullptr;
}

bool TablePieceConverter::ConvertWholeLines(std::string_view lines, std::uint64_t& lineCount) {
  const char* begin = lines.data();
  const char* end = begin + lines.size();
  const char* run = begin;  // bytes from here on go out as they are
  const char* at = begin;
  lineCount = 0;
  while (at < end) {
    const char* found = FindNonAsciiOrBareLineFeed(begin, at, end, lineCount);
    if (found == end) break;
    // ASCII and CR LF up to here go out as they are.
    if (!writer_.WriteRaw(run, static_cast<std::size_t>(found - run))) return false;
    if (*found == '\n') {
      ++lineCount;
      if (!writer_.EndLine()) return false;
      at = run = found + 1;
      continue;
    }
    // Not ASCII. A known character with ASCII after it goes out here and the scan goes on;
    // otherwise the rest of the line goes character by character.
    Entry entry = 0;
    if (const char* next = IsolatedCharacterAt(found, end, entry)) {
      char* room = writer_.Reserve(sizeof entry);
      if (room == nullptr) return false;
      char* out = room;
      Put(out, entry);
      writer_.Advance(static_cast<std::size_t>(out - room));
      at = run = next;
      continue;
    }
    const char* lineFeed =
        static_cast<const char*>(std::memchr(found, '\n', static_cast<std::size_t>(end - found)));
    const char* lineEnd = lineFeed > found && lineFeed[-1] == '\r' ? lineFeed - 1 : lineFeed;
    ++lineCount;
    if (!Convert(std::string_view(found, static_cast<std::size_t>(lineEnd - found)), true)) {
      return false;
    }
    at = run = lineFeed + 1;
  }
  return writer_.WriteRaw(run, static_cast<std::size_t>(end - run));
}

bool TablePieceConverter::FinishLine() {
  bool written = true;
  if (inTail_) {
    // The rest of the line went to the services, which end it.
    written = rest_.Convert({}, true);
  } else {
    written = writer_.EndLine();
  }
  carriedLength_ = 0;
  truncated_ = false;
  inTail_ = false;
  return written;
}

bool TablePieceConverter::StartTail(const unsigned char* from, const unsigned char* end) {
  inTail_ = true;
  return rest_.Convert(
      std::string_view(reinterpret_cast<const char*>(from), static_cast<std::size_t>(end - from)),
      false);
}

bool TablePieceConverter::Emit(Entry entry) {
  if ((entry & CharacterTable::kSpecial) == 0) {
    char* room = writer_.Reserve(4);
    if (room == nullptr) return false;
    const std::uint32_t bytes = entry;  // little-endian order of the packed bytes
    room[0] = static_cast<char>(bytes & 0xFF);
    room[1] = static_cast<char>((bytes >> 8) & 0xFF);
    room[2] = static_cast<char>((bytes >> 16) & 0xFF);
    writer_.Advance(CharacterTable::Length(entry));
    return true;
  }
  const std::string_view bytes = table_.Bytes(entry);
  const bool written = (entry & CharacterTable::kHasLineFeed) != 0
                           ? writer_.Write(bytes)
                           : writer_.WriteRaw(bytes.data(), bytes.size());
  if ((entry & CharacterTable::kTruncates) != 0) truncated_ = true;
  return written;
}

// Completes the character cut by the end of the previous piece.
bool TablePieceConverter::ResumeCarried(const unsigned char*& at, const unsigned char* end,
                                   bool endsLine) {
  if (table_.SourceShape() == CodePageShape::kDoubleByte) {
    const unsigned char lead = carried_[0];
    if (at == end && !endsLine) return true;  // still waiting for the trail
    carriedLength_ = 0;
    if (at == end) return Emit(table_.Byte(lead));
    return Emit(table_.Pair(lead, *at++));
  }
  // UTF-8: take what the sequence still needs.
  while (at < end && carriedLength_ < sizeof carried_) {
    std::uint32_t codePoint = 0;
    const int length = DecodeUtf8(carried_, carriedLength_, codePoint);
    if (length != -1) break;
    carried_[carriedLength_++] = *at++;
  }
  std::uint32_t codePoint = 0;
  const int length = DecodeUtf8(carried_, carriedLength_, codePoint);
  if (length == -1 && !endsLine) return true;  // still incomplete: wait for the next piece
  const std::size_t carried = carriedLength_;
  carriedLength_ = 0;
  if (length > 0 && static_cast<std::size_t>(length) == carried) {
    return Emit(table_.CodePointOf(codePoint, reinterpret_cast<const char*>(carried_), carried));
  }
  return StartTail(carried_, carried_ + carried);
}


// The plain characters of [at, stop) go straight into the writer's buffer; the loop stops at the
// first character that needs more care, which ConvertCarefully then takes.
const unsigned char* TablePieceConverter::ConvertPlain(const unsigned char* at, const unsigned char* stop,
                                                  const unsigned char* end, char*& result) {
  const bool keepsAscii = table_.KeepsAscii();
  // Kept in registers: the compiler cannot tell that the bytes written never change them.
  char* out = result;
  const Entry* const byteEntries = table_.ByteEntries();
  const Entry* const plainEntries = table_.PlainEntries();
  const bool writesOneByte = table_.WritesOneByte();
  switch (table_.SourceShape()) {
    case CodePageShape::kSingleByte:
      if (writesOneByte) {
        // Byte for byte: no output position waits on the entry before it.
        while (at < stop) {
          const Entry entry = byteEntries[*at];
          if ((entry & CharacterTable::kSpecial) != 0) break;
          *out++ = static_cast<char>(entry & 0xFF);
          ++at;
        }
        break;
      }
      while (at < stop) {
        if (keepsAscii && *at < 0x80) {
          CopyAsciiWords(at, stop, out);
          if (at == stop) break;
        }
        const Entry entry = byteEntries[*at];
        if ((entry & CharacterTable::kSpecial) != 0) break;
        Put(out, entry);
        ++at;
      }
      break;
    case CodePageShape::kDoubleByte:
      while (at < stop) {
        if (keepsAscii && *at < 0x80) {
          CopyAsciiWords(at, stop, out);
          if (at == stop) break;
        }
        // One lookup tells a plain byte from a lead byte; a pair not met before is left to
        // ConvertCarefully, which fills it in.
        Entry entry = plainEntries[*at];
        if ((entry & CharacterTable::kSpecial) != 0) {
          if (entry != CharacterTable::kLeadByte || end - at < 2) break;
          entry = table_.PeekPair(at[0], at[1]);
          if ((entry & CharacterTable::kSpecial) != 0) break;
          at += 2;
        } else {
          ++at;
        }
        Put(out, entry);
      }
      break;
    case CodePageShape::kUtf8:
      while (at < stop) {
        if (keepsAscii && *at < 0x80) {
          CopyAsciiWords(at, stop, out);
          if (at == stop) break;
        }
        Entry entry;
        int length = 1;
        if (*at < 0x80) {
          entry = byteEntries[*at];
        } else {
          std::uint32_t codePoint = 0;
          length = DecodeUtf8(at, static_cast<std::size_t>(end - at), codePoint);
          if (length <= 0) break;
          entry = table_.CodePointOf(codePoint, reinterpret_cast<const char*>(at),
                                     static_cast<std::size_t>(length));
        }
        if ((entry & CharacterTable::kSpecial) != 0) break;
        if (writesOneByte) {
          *out++ = static_cast<char>(entry & 0xFF);
        } else {
          Put(out, entry);
        }
        at += length;
      }
      break;
    case CodePageShape::kOther:
      break;
  }
  result = out;
  return at;
}

bool TablePieceConverter::ConvertRun(const unsigned char* at, const unsigned char* end, bool endsLine) {
  while (at < end) {
    if (truncated_) return true;
    if (inTail_) return StartTail(at, end);
    const std::size_t chunk = std::min(static_cast<std::size_t>(end - at), kChunk);
    char* room = writer_.Reserve(chunk * kRoomPerByte + sizeof(Entry));
    if (room == nullptr) return false;
    char* out = room;
    const unsigned char* stopped = ConvertPlain(at, at + chunk, end, out);
    writer_.Advance(static_cast<std::size_t>(out - room));
    if (stopped == at + chunk) {
      at = stopped;
      continue;
    }
    at = stopped;
    if (!ConvertCarefully(at, end, endsLine)) return false;
  }
  return true;
}

// One character that the plain loop left: a special entry, a lead byte at the end of the piece,
// or UTF-8 that is cut short or invalid.
bool TablePieceConverter::ConvertCarefully(const unsigned char*& at, const unsigned char* end,
                                      bool endsLine) {
  const unsigned char* start = at;
  Entry entry = 0;
  switch (table_.SourceShape()) {
    case CodePageShape::kSingleByte:
      entry = table_.Byte(*at++);
      break;
    case CodePageShape::kDoubleByte:
      if (!table_.IsLeadByte(*at)) {
        entry = table_.Byte(*at++);
      } else if (end - at >= 2) {
        entry = table_.Pair(at[0], at[1]);
        at += 2;
      } else if (endsLine) {
        entry = table_.Byte(*at++);  // a lead byte at the end of the line
      } else {
        carried_[0] = *at++;
        carriedLength_ = 1;
        return true;
      }
      break;
    case CodePageShape::kUtf8: {
      std::uint32_t codePoint = 0;
      const int length = DecodeUtf8(at, static_cast<std::size_t>(end - at), codePoint);
      if (length == -1 && !endsLine) {
        carriedLength_ = static_cast<std::size_t>(end - at);
        std::memcpy(carried_, at, carriedLength_);
        at = end;
        return true;
      }
      if (length <= 0) {
        // Invalid UTF-8: the services' own rules apply, to the rest of the line at once.
        const unsigned char* from = at;
        at = end;
        return StartTail(from, end);
      }
      entry = *at < 0x80 ? table_.Byte(*at)
                         : table_.CodePointOf(codePoint, reinterpret_cast<const char*>(at),
                                              static_cast<std::size_t>(length));
      at += length;
      break;
    }
    case CodePageShape::kOther:
      break;
  }
  if (entry == CharacterTable::kUnusable) {
    at = end;
    return StartTail(start, end);
  }
  return Emit(entry);
}
