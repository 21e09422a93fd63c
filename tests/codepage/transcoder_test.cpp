#include <gtest/gtest.h>

#include <string>

#include "codepage/transcoder.h"

namespace {

struct ConversionCase {
  const char* name;
  std::string text;
  CodePage source;
  CodePage target;
  std::string expected;
};

class ConvertCodePageTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConvertCodePageTest, GivesTheExpectedBytes) {
  const ConversionCase& c = GetParam();
  EXPECT_EQ(ConvertCodePage(c.text, c.source, c.target), c.expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertCodePageTest,
    ::testing::Values(
        ConversionCase{"Empty", "", 932, 936, ""},
        ConversionCase{"AsciiUnchanged", "abc", 932, 936, "abc"},
        ConversionCase{"JapaneseToChinese", "\x93\xFA\x96\x7B", 932, 936, "\xC8\xD5\xB1\xBE"},
        ConversionCase{"StopsAtNul", "ab\0cd"s, 932, 936, "ab"},
        ConversionCase{"StartsWithNul", "\0abc"s, 1252, 65001, ""},
        ConversionCase{"UnusableSource", "abc", 1200, 936, ""},
        ConversionCase{"UnknownSource", "abc", 4242, 936, ""},
        ConversionCase{"UnusableTarget", "abc", 932, 12000, ""},
        ConversionCase{"ToUtf8", "caf\xE9", 1252, 65001, "caf\xC3\xA9"},
        ConversionCase{"FromUtf8", "caf\xC3\xA9", 65001, 1252, "caf\xE9"},
        ConversionCase{"Utf8BomKept", "\xEF\xBB\xBFx", 65001, 65001, "\xEF\xBB\xBFx"},
        ConversionCase{"MissingCharacterBecomesQuestionMark", "a\xE4\xB8\x80z", 65001, 1252,
                       "a?z"},
        ConversionCase{"MissingCharacterInEbcdic", "a\xE4\xB8\x80", 65001, 37, "\x81\x6F"},
        ConversionCase{"SupplementaryGivesOneDefaultPerUnit", "\xF0\x9F\x98\x80", 65001, 1252,
                       "??"},
        ConversionCase{"SamePageRoundTrip", "\x82\xA0\x82\xA2 abc", 932, 932,
                       "\x82\xA0\x82\xA2 abc"},
        ConversionCase{"EbcdicToAnsi", "\xC1\xC2\x40\xF1", 37, 1252, "AB 1"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(TranscoderTest, ReusedBuffersGiveTheSameResultsAsSeparateCalls) {
  // A long text first, then shorter ones: nothing of the earlier result may leak into the later.
  const std::string texts[] = {std::string(5000, 'x') + "\x93\xFA", "\x93\xFA\x96\x7B", "a", "",
                               "\x96\x7B"};
  Transcoder transcoder;
  for (const std::string& text : texts) {
    EXPECT_EQ(std::string(transcoder.Convert(text, 932, 936)), ConvertCodePage(text, 932, 936));
  }
}

}  // namespace
