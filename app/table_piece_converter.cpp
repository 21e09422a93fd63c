#include "app/table_piece_converter.h"

#include "app/ascii_copy.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

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
// A byte of input gives at most three bytes of output.
constexpr std::size_t kRoomPerByte = 3;
// Room beyond that: a block of ASCII is stored whole, a plain entry as four bytes.
constexpr std::size_t kSlack = ascii_copy::kOvershoot + 2 * sizeof(Entry);
static_assert(kChunk <= ascii_copy::kMaxSpan);
static_assert(kChunk * kRoomPerByte + kSlack <= LineWriter::kMaxReserve);

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

}  // namespace

TablePieceConverter::TablePieceConverter(CharacterTable& table, CodePage source, CodePage target,
                               LineWriter& writer)
    : table_(table), writer_(writer), rest_(source, target, writer) {
  takesBlocks_ = table_.SourceShape() == CodePageShape::kDoubleByte && !table_.IsLeadByte(0) &&
                 double_byte_blocks::DescribeLeadRanges(table_.LeadBytes(), leadRanges_);
}

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

bool TablePieceConverter::ConvertWholeLines(std::string_view lines, std::uint64_t& lineCount) {
  const auto* begin = reinterpret_cast<const unsigned char*>(lines.data());
  const auto* end = begin + lines.size();
  const auto* at = begin;
  lineCount = 0;
  while (at < end) {
    const std::size_t chunk = std::min(static_cast<std::size_t>(end - at), kChunk);
    char* room = writer_.Reserve(chunk * kRoomPerByte + kSlack);
    if (room == nullptr) return false;
    char* out = room;
    const unsigned char* stop = at + chunk;
    at = ConvertPlain(begin, at, stop, end, out, lineCount);
    writer_.Advance(static_cast<std::size_t>(out - room));
    if (at >= stop) continue;
    // A character that needs more care: the rest of its line goes the careful way.
    const auto* lineFeed =
        static_cast<const unsigned char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
    const auto* lineEnd = lineFeed > at && lineFeed[-1] == '\r' ? lineFeed - 1 : lineFeed;
    ++lineCount;
    if (!Convert(std::string_view(reinterpret_cast<const char*>(at),
                                  static_cast<std::size_t>(lineEnd - at)),
                 true)) {
      return false;
    }
    at = lineFeed + 1;
  }
  return true;
}

void TablePieceConverter::TakeCarryFrom(TablePieceConverter& other) {
  std::memcpy(carried_, other.carried_, sizeof carried_);
  carriedLength_ = std::exchange(other.carriedLength_, 0);
}

std::size_t TablePieceConverter::CharacterStartFrom(std::string_view text, std::size_t from) const {
  // How far to look: text has characters at every few bytes.
  constexpr std::size_t kSearch = 4096;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t at = std::max<std::size_t>(from, 1); at < text.size() && at < from + kSearch;
       ++at) {
    switch (table_.SourceShape()) {
      case CodePageShape::kSingleByte:
        return at;
      case CodePageShape::kDoubleByte:
        // After a byte that cannot lead, a character begins: that byte was a character of its
        // own or the trail of one.
        if (!table_.IsLeadByte(bytes[at - 1])) return at;
        break;
      case CodePageShape::kUtf8:
        if ((bytes[at] & 0xC0) != 0x80) return at;  // not a continuation byte
        break;
      case CodePageShape::kOther:
        return 0;
    }
  }
  return 0;
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
    const Entry entry = at == end ? table_.Byte(lead) : table_.Pair(lead, *at);
    // Where the table has no answer, the services take the line from the lead byte on.
    if (entry == CharacterTable::kUnusable) return StartTail(carried_, carried_ + 1);
    if (at < end) ++at;
    return Emit(entry);
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
    const Entry entry =
        table_.CodePointOf(codePoint, reinterpret_cast<const char*>(carried_), carried);
    if (entry != CharacterTable::kUnusable) return Emit(entry);
  }
  return StartTail(carried_, carried_ + carried);
}


// The plain characters from `at` on go straight into the writer's buffer, up to `stop` (the
// last one may run past it, never past `end`). The loop stops early at the first character that
// needs more care, which the caller then takes. Where both pages keep ASCII, an LF without a CR
// before it becomes CR LF and the LFs are counted in `lineFeeds`; `begin` is where the text starts.
const unsigned char* TablePieceConverter::ConvertPlain(const unsigned char* begin,
                                                       const unsigned char* at,
                                                       const unsigned char* stop,
                                                       const unsigned char* end, char*& result,
                                                       std::uint64_t& lineFeeds) {
  // Kept in a register: the compiler cannot tell that the bytes written never change it.
  char* out = result;
  if (!table_.KeepsAscii()) {
    TakeCharacters<false>(begin, at, stop, end, out, lineFeeds);
  } else if (table_.SourceShape() == CodePageShape::kDoubleByte ||
             (table_.SourceShape() == CodePageShape::kSingleByte && table_.WritesOneByte())) {
    // Dense text, or every byte through the table anyway: ASCII is taken in the same loop.
    TakeCharacters<true>(begin, at, stop, end, out, lineFeeds);
  } else {
    // Mostly ASCII with characters here and there: ASCII goes in blocks.
    while (at < stop) {
      ascii_copy::CopyAscii(begin, at, stop, end, out, lineFeeds);
      if (at >= stop || !TakeCharacters<false, true>(begin, at, stop, end, out, lineFeeds)) break;
    }
  }
  result = out;
  return at;
}

namespace {

// An LF inside whole lines: CR LF, unless a CR before it is already out.
inline void PutLineFeed(const unsigned char* begin, const unsigned char* at, char*& out,
                        std::uint64_t& lineFeeds) {
  if (at == begin || at[-1] != '\r') *out++ = '\r';
  *out++ = '\n';
  ++lineFeeds;
}

// True when the eight bytes at `at` are ASCII with no LF but those of CR LF (`begin` is where
// the text starts: a CR before `at` counts); `lineFeeds` is set to the number of those LFs.
inline bool EightAscii(const unsigned char* begin, const unsigned char* at, std::uint64_t& word,
                       std::uint64_t& lineFeeds) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  const auto zeroBytes = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
  std::memcpy(&word, at, sizeof word);
  const std::uint64_t lineFeedBits = zeroBytes(word ^ ('\n' * kOnes));
  const std::uint64_t afterCr =
      zeroBytes(word ^ ('\r' * kOnes)) << 8 | (at > begin && at[-1] == '\r' ? 0x80 : 0);
  if (((word & (0x80 * kOnes)) | (lineFeedBits & ~afterCr)) != 0) return false;
  lineFeeds = ((lineFeedBits >> 7) * kOnes) >> 56;
  return true;
}

}  // namespace

// Converts characters from `at` on while they are plain, up to `stop`. With `kAsciiInline` (the
// pair keeps ASCII) ASCII and LFs are taken here too; with `kUntilAscii` the loop ends at the
// first ASCII byte instead. False when it stopped at a character that needs more care.
template <bool kAsciiInline, bool kUntilAscii>
bool TablePieceConverter::TakeCharacters(const unsigned char* begin,
                                         const unsigned char*& position, const unsigned char* stop,
                                         const unsigned char* end, char*& output,
                                         std::uint64_t& lineFeeds) {
  // Copies kept in registers while the loop runs: through the references, every byte stored
  // could change them as far as the compiler can tell.
  const unsigned char* at = position;
  char* out = output;
  const struct WriteBack {
    const unsigned char*& at;
    char*& out;
    const unsigned char*& position;
    char*& output;
    ~WriteBack() {
      position = at;
      output = out;
    }
  } writeBack{at, out, position, output};
  const auto more = [&] { return at < stop && !(kUntilAscii && *at < 0x80); };
  const Entry* const byteEntries = table_.ByteEntries();
  switch (table_.SourceShape()) {
    case CodePageShape::kSingleByte:
      if (!kUntilAscii && table_.WritesOneByte()) {
        // Byte for byte: no output position waits on the entry before it. Four at a time with
        // one test, and any four with a special byte one by one.
        while (at < stop) {
          for (; stop - at >= 4; at += 4, out += 4) {
            const Entry entries[4] = {byteEntries[at[0]], byteEntries[at[1]], byteEntries[at[2]],
                                      byteEntries[at[3]]};
            if (((entries[0] | entries[1] | entries[2] | entries[3]) & CharacterTable::kSpecial) != 0) {
              break;
            }
            for (int index = 0; index < 4; ++index) out[index] = static_cast<char>(entries[index] & 0xFF);
          }
          for (const unsigned char* last = std::min(at + 4, stop); at < last; ++at) {
            const Entry entry = byteEntries[*at];
            if ((entry & CharacterTable::kSpecial) != 0) {
              if (!kAsciiInline || *at != '\n') return false;
              PutLineFeed(begin, at, out, lineFeeds);
              continue;
            }
            *out++ = static_cast<char>(entry & 0xFF);
          }
        }
        return true;
      }
      for (; more(); ++at) {
        const Entry entry = byteEntries[*at];
        if ((entry & CharacterTable::kSpecial) != 0) return false;
        Put(out, entry);
      }
      return true;
    case CodePageShape::kDoubleByte: {
      // One lookup tells a plain byte from a lead byte.
      const Entry* const plainEntries = table_.PlainEntries();
      const Entry* const pairEntries = table_.PairEntries();
      while (more()) {
        // Whole blocks where they fit; a character that needs more than its entry, one by one.
        if (takesBlocks_ && stop - at >= static_cast<std::ptrdiff_t>(double_byte_blocks::kBlock) &&
            end - at > static_cast<std::ptrdiff_t>(double_byte_blocks::kBlock) &&
            TakeDoubleByteBlock(begin, at, out, lineFeeds)) {
          continue;
        }
        if (kAsciiInline && *at < 0x80) {
          // Words of ASCII between the characters: eight bytes at a time while they can be,
          // then one by one.
          std::uint64_t word;
          std::uint64_t wordLineFeeds = 0;
          while (stop - at >= 8 && EightAscii(begin, at, word, wordLineFeeds)) {
            std::memcpy(out, &word, sizeof word);
            at += 8;
            out += 8;
            lineFeeds += wordLineFeeds;
          }
          for (; at < stop && *at < 0x80; ++at) {
            if (*at == '\n') {
              PutLineFeed(begin, at, out, lineFeeds);
            } else {
              *out++ = static_cast<char>(*at);
            }
          }
          if (at == stop) break;
        }
        Entry entry = plainEntries[*at];
        std::size_t length = 1;
        if ((entry & CharacterTable::kSpecial) != 0) {
          // A lead byte at the end of the text, or a byte the table can't take.
          if (entry != CharacterTable::kLeadByte || end - at < 2) return false;
          entry = pairEntries[static_cast<std::size_t>(at[0]) << 8 | at[1]];
          if (entry == CharacterTable::kUnknown) entry = table_.Pair(at[0], at[1]);
          if ((entry & CharacterTable::kSpecial) != 0) return false;
          length = 2;
        }
        Put(out, entry);
        at += length;
      }
      return true;
    }
    case CodePageShape::kUtf8: {
      const bool writesOneByte = table_.WritesOneByte();
      while (more()) {
        Entry entry;
        int length = 1;
        if (*at < 0x80) {
          entry = byteEntries[*at];
        } else {
          std::uint32_t codePoint = 0;
          if (at[0] >= 0xC2 && at[0] <= 0xDF && end - at >= 2 && (at[1] & 0xC0) == 0x80) {
            codePoint = (at[0] & 0x1Fu) << 6 | (at[1] & 0x3Fu);  // the commonest, two bytes
            length = 2;
          } else {
            length = DecodeUtf8(at, static_cast<std::size_t>(end - at), codePoint);
            if (length <= 0) return false;
          }
          entry = table_.PeekCodePoint(codePoint);
          if (entry == CharacterTable::kUnknown) {
            entry = table_.CodePointOf(codePoint, reinterpret_cast<const char*>(at),
                                       static_cast<std::size_t>(length));
          }
        }
        if ((entry & CharacterTable::kSpecial) != 0) return false;
        if (writesOneByte) {
          *out++ = static_cast<char>(entry & 0xFF);
        } else {
          Put(out, entry);
        }
        at += length;
      }
      return true;
    }
    case CodePageShape::kOther:
      break;
  }
  return false;
}

// The characters of the 64 bytes at `at`, which begins a character, or of the 63 before a lead
// byte that ends them. False, with `at` at the character, where one needs more than its entry.
bool TablePieceConverter::TakeDoubleByteBlock(const unsigned char* begin, const unsigned char*& at,
                                              char*& out, std::uint64_t& lineFeeds) {
  using double_byte_blocks::kBlock;
  const unsigned char* const block = at;
  if (table_.KeepsAscii() && double_byte_blocks::HighBytes(block) == 0) {
    // All ASCII: copied as it is, up to the next byte that is not.
    ascii_copy::CopyAscii(begin, at, block + kBlock, block + kBlock, out, lineFeeds);
    return at == block + kBlock;
  }
  const std::uint64_t leads =
      double_byte_blocks::Leads(double_byte_blocks::LeadCandidates(block, leadRanges_));
  std::uint64_t starts = ~(leads << 1);
  std::size_t length = kBlock;
  if ((leads >> (kBlock - 1)) != 0) {
    // A lead byte at the end: its character goes with the next block.
    starts &= ~(std::uint64_t{1} << (kBlock - 1));
    length = kBlock - 1;
  }
  const Entry* const entries = table_.PairEntries();
  char* written = out;
  while (starts != 0) {
    const auto place = static_cast<std::size_t>(std::countr_zero(starts));
    const std::size_t lead = (leads >> place) & 1u;
    // A pair at lead << 8 | trail, a single byte at its value.
    const std::size_t index =
        (static_cast<std::size_t>(block[place]) << (8 * lead)) | (block[place + 1] & (0u - lead));
    const Entry entry = entries[index];
    if ((entry & CharacterTable::kSpecial) != 0) {
      at = block + place;
      out = written;
      return false;
    }
    Put(written, entry);
    starts &= starts - 1;
  }
  at = block + length;
  out = written;
  return true;
}

bool TablePieceConverter::ConvertRun(const unsigned char* at, const unsigned char* end, bool endsLine) {
  const unsigned char* begin = at;
  while (at < end) {
    if (truncated_) return true;
    if (inTail_) return StartTail(at, end);
    const std::size_t chunk = std::min(static_cast<std::size_t>(end - at), kChunk);
    char* room = writer_.Reserve(chunk * kRoomPerByte + (table_.KeepsAscii() ? kSlack : sizeof(Entry)));
    if (room == nullptr) return false;
    char* out = room;
    const unsigned char* stop = at + chunk;
    std::uint64_t lineFeeds = 0;  // a piece holds none
    at = ConvertPlain(begin, at, stop, end, out, lineFeeds);
    writer_.Advance(static_cast<std::size_t>(out - room));
    if (at < stop && !ConvertCarefully(at, end, endsLine)) return false;
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
