// Converting a file piece by piece through the character tables must give exactly the bytes that
// converting each line whole gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/line_reader.h"
#include "app/line_writer.h"
#include "app/piece_converter.h"
#include "codepage/character_table.h"
#include "codepage/transcoder.h"

namespace {

// The line rules written out plainly: CR LF is LF, Ctrl-Z ends the input, LF ends a line, and
// every line is converted whole, its LFs written as CR LF, then CR LF.
std::string ConvertByModel(const std::string& input, CodePage source, CodePage target) {
  std::string text = input.substr(0, input.find('\x1A'));
  std::string lines;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') continue;
    lines += text[at];
  }
  std::string output;
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    for (char c : ConvertCodePage(lines.substr(start, end - start), source, target)) {
      if (c == '\n') output.push_back('\r');
      output.push_back(c);
    }
    output += "\r\n";
    start = end + 1;
  }
  return output;
}

std::string ConvertByPieces(const std::string& input, CharacterTable& table, CodePage source,
                            CodePage target, std::size_t bufferSize) {
  std::size_t offset = 0;
  LineReader reader(
      [&](char* buffer, std::size_t capacity) {
        const std::size_t count = std::min(capacity, input.size() - offset);
        std::memcpy(buffer, input.data() + offset, count);
        offset += count;
        return static_cast<std::ptrdiff_t>(count);
      },
      bufferSize);
  std::string output;
  LineWriter writer([&](const char* data, std::size_t size) {
    output.append(data, size);
    return true;
  });
  PieceConverter converter(table, source, target, writer);
  std::string_view piece;
  bool endsLine = false;
  while (reader.ReadPiece(piece, endsLine) == LineReader::Result::kLine) {
    EXPECT_TRUE(converter.Convert(piece, endsLine));
  }
  writer.Flush();
  return output;
}

std::size_t Below(std::mt19937& random, std::size_t limit) {
  return static_cast<std::size_t>(random()) % limit;
}

// Random text that hits the awkward places: every byte value but NUL, line ends of both kinds,
// lone CRs, lead bytes before line ends, long lines, valid and broken UTF-8.
std::string RandomText(std::mt19937& random, std::size_t size) {
  static const char* const kPieces[] = {"\r\n", "\n", "\r", "\xE6\x97\xA5", "\xF0\x9F\x98\x80",
                                        "\xC3\xA9", "\xE6\x97", "\x81\n", "\x82\xA0", "\xA4\x40",
                                        "\x81", "\x1A", "\xED\xA0\x80", "abc", "\xC0\x80"};
  std::string text;
  while (text.size() < size) {
    const std::size_t pick = Below(random, 10);
    if (pick < 5) {
      text += static_cast<char>(1 + Below(random, 255));
    } else if (pick < 9) {
      text += kPieces[Below(random, sizeof kPieces / sizeof kPieces[0] - 1)];  // no Ctrl-Z
    } else {
      text.append(Below(random, 300), static_cast<char>('a' + Below(random, 26)));
    }
  }
  if (Below(random, 4) == 0) text[Below(random, text.size())] = '\x1A';
  return text;
}

TEST(PieceConverterTest, GivesTheBytesOfWholeLineConversion) {
  const CodePage pages[] = {37,   437,  500,  850,   866,   874,   932,   936,   949,  950,
                            1250, 1251, 1252, 1253,  1255,  1361,  10000, 20127, 20866, 28591,
                            28597, 65001};
  std::mt19937 random(20261211);
  int pairsCompared = 0;
  for (CodePage source : pages) {
    for (CodePage target : pages) {
      if (Below(random, 3) != 0 && source != target && source != 65001 && target != 65001) continue;
      auto table = CharacterTable::Create(source, target);
      if (!table) continue;
      ++pairsCompared;
      for (int round = 0; round < 3; ++round) {
        const std::string input = RandomText(random, 1500);
        const std::string expected = ConvertByModel(input, source, target);
        for (std::size_t bufferSize : {std::size_t{2}, std::size_t{3}, std::size_t{7},
                                       std::size_t{64}, std::size_t{1} << 16}) {
          ASSERT_EQ(ConvertByPieces(input, *table, source, target, bufferSize), expected)
              << source << " -> " << target << ", buffer " << bufferSize;
        }
      }
    }
  }
  EXPECT_GT(pairsCompared, 20);
}

TEST(PieceConverterTest, ALongLineConvertsInPiecesLikeAWholeLine) {
  std::mt19937 random(7);
  std::string line;
  static const char* const kCharacters[] = {"\xC3\xA9", "\xE6\x97\xA5", "z", "\xF0\x9F\x98\x80"};
  while (line.size() < 300000) line += kCharacters[Below(random, 4)];
  for (const auto& [source, target] : {std::pair<CodePage, CodePage>{65001, 1252},
                                       {65001, 65001}, {1252, 37}, {37, 1252}}) {
    auto table = CharacterTable::Create(source, target);
    ASSERT_TRUE(table) << source << " -> " << target;
    EXPECT_EQ(ConvertByPieces(line, *table, source, target, 4096),
              ConvertByModel(line, source, target))
        << source << " -> " << target;
  }
}

TEST(PieceConverterTest, StatefulPagesAreLeftToWholeLineConversion) {
  for (CodePage stateful : {50220u, 50225u, 52936u, 65000u, 57002u}) {
    EXPECT_FALSE(CharacterTable::Create(stateful, 1252)) << stateful;
    EXPECT_FALSE(CharacterTable::Create(1252, stateful)) << stateful;
  }
}

}  // namespace
