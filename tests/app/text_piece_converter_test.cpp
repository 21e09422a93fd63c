// Lines of stateful and other whole-text pages, cut into pieces by a small reader buffer, must
// convert to exactly the bytes of converting each line whole.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/text_piece_converter.h"
#include "codepage/transcoder.h"
#include "tests/app/conversion_model.h"

namespace {

using conversion_model::Below;
using conversion_model::ConvertByModel;
using conversion_model::ConvertByPieces;
using conversion_model::ConvertByStream;
using conversion_model::RandomText;

// Lines of mixed Japanese, Chinese, Korean and ASCII text, each encoded on its own in `page`
// (so that each starts in the initial shift state), some of them long.
std::string RandomEncodedText(std::mt19937& random, CodePage page) {
  static const char* const kCharacters[] = {"\xE6\x97\xA5", "\xE6\x9C\xAC", "\xE3\x81\x82",
                                            "\xEF\xBD\xB1", "\xEA\xB0\x80", "\xE4\xB8\xAD",
                                            "a",            "Z",            " ",
                                            "+",            "~",            "\xC3\xA9"};
  std::string text;
  for (int line = 0; line < 12; ++line) {
    std::string utf8;
    const std::size_t length = Below(random, 4) == 0 ? 2000 : Below(random, 40);
    for (std::size_t at = 0; at < length; ++at) utf8 += kCharacters[Below(random, 12)];
    text += ConvertCodePage(utf8, 65001, page) + (Below(random, 2) ? "\r\n" : "\n");
  }
  return text;
}

TEST(TextPieceConverterTest, GivesTheBytesOfWholeLineConversion) {
  const CodePage pages[] = {50220, 50221, 50222, 50225, 50227, 52936, 65000,
                            54936, 20932, 51949, 20936, 57002, 65001, 932};
  std::mt19937 random(1211);
  for (CodePage source : pages) {
    for (CodePage target : {CodePage{65001}, CodePage{50220}, CodePage{52936}, CodePage{65000},
                            CodePage{932}}) {
      for (int round = 0; round < 2; ++round) {
        const std::string input =
            round == 0 ? RandomEncodedText(random, source) : RandomText(random, 3000);
        const std::string expected = ConvertByModel(input, source, target);
        for (std::size_t bufferSize : {std::size_t{3}, std::size_t{17}, std::size_t{256}}) {
          ASSERT_EQ(ConvertByPieces(input, bufferSize,
                                    [&](LineWriter& writer) {
                                      return std::make_unique<TextPieceConverter>(source, target,
                                                                                  writer);
                                    }),
                    expected)
              << source << " -> " << target << ", round " << round << ", buffer " << bufferSize;
          ASSERT_EQ(ConvertByStream(input, bufferSize, source, target), expected)
              << source << " -> " << target << ", round " << round << ", buffer " << bufferSize;
        }
      }
    }
  }
}

}  // namespace
