// Converting a file piece by piece through the character tables must give exactly the bytes that
// converting each line whole gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/table_piece_converter.h"
#include "codepage/character_table.h"
#include "tests/app/conversion_model.h"

namespace {

using conversion_model::Below;
using conversion_model::ConvertByModel;
using conversion_model::ConvertByPieces;
using conversion_model::ConvertByStream;
using conversion_model::RandomText;

// Every byte value once, each as a line of its own and all on one line.
std::string AllBytes() {
  std::string text;
  for (int byte = 1; byte < 256; ++byte) text += static_cast<char>(byte);
  for (int byte = 1; byte < 256; ++byte) text += std::string(1, static_cast<char>(byte)) + "\n";
  return text;
}

TEST(TablePieceConverterTest, GivesTheBytesOfWholeLineConversion) {
  // The pairs users convert most, then random pairs of single-byte, double-byte and UTF-8 pages.
  std::vector<std::pair<CodePage, CodePage>> pairs = {
      {932, 936}, {1252, 65001}, {65001, 1252}, {437, 850}, {936, 65001}, {37, 1252}};
  const CodePage pages[] = {37,   437,  500,  850,   866,   874,   932,   936,   949,  950,
                            1250, 1251, 1252, 1253,  1255,  1361,  10000, 20127, 20866, 28591,
                            28597, 65001};
  std::mt19937 random(20261211);
  for (CodePage source : pages) {
    for (CodePage target : pages) {
      if (Below(random, 4) == 0 || source == 65001 || target == 65001) pairs.emplace_back(source, target);
    }
  }
  int pairsCompared = 0;
  for (const auto& [source, target] : pairs) {
    auto table = CharacterTable::Create(source, target);
    ASSERT_TRUE(table) << source << " -> " << target;
    ++pairsCompared;
    for (int round = 0; round < 3; ++round) {
      const std::string input = round == 0 ? AllBytes() : RandomText(random, 1500);
      const std::string expected = ConvertByModel(input, source, target);
      for (std::size_t bufferSize : {std::size_t{2}, std::size_t{3}, std::size_t{7},
                                     std::size_t{64}, std::size_t{1} << 16}) {
        ASSERT_EQ(ConvertByPieces(input, bufferSize,
                                  [&](LineWriter& writer) {
                                    return std::make_unique<TablePieceConverter>(*table, source,
                                                                                 target, writer);
                                  }),
                  expected)
            << source << " -> " << target << ", round " << round << ", buffer " << bufferSize;
        // The file conversion's own loop, which takes whole lines at once where it can, alone
        // and sharing every buffer with a second thread.
        ASSERT_EQ(ConvertByStream(input, bufferSize, source, target), expected)
            << source << " -> " << target << ", round " << round << ", buffer " << bufferSize;
        ASSERT_EQ(ConvertByStream(input, bufferSize, source, target,
                                  LineWriter::kDefaultBufferSize, 2),
                  expected)
            << source << " -> " << target << ", round " << round << ", buffer " << bufferSize
            << ", shared";
      }
    }
  }
  EXPECT_GT(pairsCompared, 100);
}

TEST(TablePieceConverterTest, ALongLineConvertsInPiecesLikeAWholeLine) {
  std::mt19937 random(7);
  std::string line;
  static const char* const kCharacters[] = {"\xC3\xA9", "\xE6\x97\xA5", "z", "\xF0\x9F\x98\x80"};
  while (line.size() < 300000) line += kCharacters[Below(random, 4)];
  for (const auto& [source, target] : {std::pair<CodePage, CodePage>{65001, 1252},
                                       {65001, 65001}, {1252, 37}, {37, 1252}}) {
    auto table = CharacterTable::Create(source, target);
    ASSERT_TRUE(table) << source << " -> " << target;
    const std::string expected = ConvertByModel(line, source, target);
    EXPECT_EQ(ConvertByPieces(line, 4096, [&](LineWriter& writer) { return std::make_unique<TablePieceConverter>(*table, source, target, writer); }),
              expected)
        << source << " -> " << target;
    // Each piece cut near its middle, the second part converted by a second thread.
    EXPECT_EQ(ConvertByStream(line, 4096, source, target, LineWriter::kDefaultBufferSize, 1024),
              expected)
        << source << " -> " << target << ", shared";
  }
}

TEST(TablePieceConverterTest, LongRunsOfAsciiAmongCharactersInWholeLines) {
  // Runs far longer than what is converted between two checks for room in the output, into the
  // smallest output buffer: a loop that overran its room would write past the buffer's end.
  std::string input;
  for (std::size_t run : {1u, 7u, 8u, 15u, 16u, 17u, 1023u, 1024u, 1025u, 5000u, 20000u}) {
    input += std::string(run, 'a') + "\xE9\x81\x81" + std::string(run, 'b') + "\r\n";
    input += std::string(run, '\n') + "\xE9" + std::string(run, 'c') + "\n\r\n";
  }
  for (const auto& [source, target] : {std::pair<CodePage, CodePage>{932, 936}, {936, 65001},
                                       {1252, 65001}, {65001, 1252}, {437, 850}, {37, 1252}}) {
    EXPECT_EQ(ConvertByStream(input, std::size_t{1} << 16, source, target, LineWriter::kMaxReserve),
              ConvertByModel(input, source, target))
        << source << " -> " << target;
  }
}

TEST(TablePieceConverterTest, StatefulPagesAreLeftToWholeLineConversion) {
  for (CodePage stateful : {50220u, 50225u, 52936u, 65000u, 57002u}) {
    EXPECT_FALSE(CharacterTable::Create(stateful, 1252)) << stateful;
    EXPECT_FALSE(CharacterTable::Create(1252, stateful)) << stateful;
  }
}

}  // namespace
