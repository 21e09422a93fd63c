// The conversions users run into, with the bytes Windows gives for them (flags 0, no default
// character). Texts in UTF-8 are 65001.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "codepage/transcoder.h"
#include "platform/codepage_services.h"

namespace {

struct Case {
  const char* what;
  CodePage source;
  CodePage target;
  std::string text;
  std::string expected;
};

std::string Hex(const std::string& bytes) {
  std::string text;
  char digits[4];
  for (const char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(byte));
    text += digits;
  }
  return text;
}

void ExpectConversions(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(ConvertCodePage(c.text, c.source, c.target)), Hex(c.expected))
        << c.what << " (" << c.source << " -> " << c.target << ")";
  }
}

TEST(WindowsExactConversions, JapaneseShiftJis) {
  ExpectConversions({
      {"5C is the backslash, not the yen sign", 932, 65001, "\x5C", "\x5C"},
      {"7E is the tilde, not the overline", 932, 65001, "\x7E", "\x7E"},
      {"the yen sign is written as 5C by best fit", 65001, 932, "\xC2\xA5", "\x5C"},
      {"81 60 is the fullwidth tilde", 932, 65001, "\x81\x60", "\xEF\xBD\x9E"},
      {"the fullwidth tilde is written as 81 60", 65001, 932, "\xEF\xBD\x9E", "\x81\x60"},
      {"the wave dash U+301C has no byte in 932", 65001, 932, "\xE3\x80\x9C", "?"},
      {"NEC row 13: 87 40 is the circled digit one", 932, 65001, "\x87\x40", "\xE2\x91\xA0"},
      {"IBM extension: FA 40 is the small roman numeral one", 932, 65001, "\xFA\x40",
       "\xE2\x85\xB0"},
      {"NEC-selected IBM extension: ED 40 is U+7E8A", 932, 65001, "\xED\x40", "\xE7\xBA\x8A"},
      {"U+7E8A is written in the IBM rows (FA 5C), not as ED 40", 65001, 932, "\xE7\xBA\x8A",
       "\xFA\x5C"},
      {"the small roman numeral one is written as FA 40", 65001, 932, "\xE2\x85\xB0", "\xFA\x40"},
      {"932 to 936 keeps ASCII and converts kanji", 932, 936, "a\x93\xFA\x96\x7B", "a\xC8\xD5\xB1\xBE"},
  });
}

TEST(WindowsExactConversions, ChineseGbk) {
  ExpectConversions({
      {"80 is the euro sign", 936, 65001, "\x80", "\xE2\x82\xAC"},
      {"the euro sign is written as 80", 65001, 936, "\xE2\x82\xAC", "\x80"},
      {"FF is a private use character", 936, 65001, "\xFF", "\xEF\xA3\xB5"},
      {"and it goes back to FF", 65001, 936, "\xEF\xA3\xB5", "\xFF"},
  });
}

TEST(WindowsExactConversions, WesternWindows1252) {
  ExpectConversions({
      {"81 8D 8F 90 9D are the C1 controls of the same number", 1252, 65001, "\x81\x8D\x8F\x90\x9D",
       "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"and they go back unchanged", 65001, 1252, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D",
       "\x81\x8D\x8F\x90\x9D"},
      {"best fit: infinity becomes 8", 65001, 1252, "\xE2\x88\x9E", "8"},
      {"best fit: fullwidth A becomes A", 65001, 1252, "\xEF\xBC\xA1", "A"},
      {"best fit: A with macron becomes A", 65001, 1252, "\xC4\x80", "A"},
      {"a character beyond the BMP gives one '?' per UTF-16 unit", 65001, 1252,
       "\xF0\x9F\x98\x80", "??"},
      {"a character without best fit becomes '?'", 65001, 1252, "x\xE4\xB8\x80y", "x?y"},
  });
}

TEST(WindowsExactConversions, Korean) {
  ExpectConversions({
      {"949: B0 A1 is the first Hangul syllable", 949, 65001, "\xB0\xA1", "\xEA\xB0\x80"},
      {"1361 (Johab, no ICU converter): 88 61 is the same syllable", 1361, 65001, "\x88\x61",
       "\xEA\xB0\x80"},
      {"949 to 1361", 949, 1361, "\xB0\xA1", "\x88\x61"},
  });
}

// The line reader hands over lines without their line end, so a lead byte that ends a line ends
// the text; a lead byte whose next byte is no trail byte takes it all the same.
TEST(WindowsExactConversions, InvalidDoubleByteSequences) {
  ExpectConversions({
      {"932 lead byte at the end of a line: katakana middle dot", 932, 65001, "abc\x81",
       "abc\xE3\x83\xBB"},
      {"936 lead byte at the end of a line: '?'", 936, 65001, "abc\x81", "abc?"},
      {"949 lead byte at the end of a line: '?'", 949, 65001, "abc\xB0", "abc?"},
      {"932 lead byte and a space: one default character, the space is taken", 932, 65001,
       "\x81 x", "\xE3\x83\xBBx"},
      {"936 lead byte and 7F: one '?', 7F is taken", 936, 65001, "\x81\x7F" "x", "?x"},
      {"950 lead byte and a digit: one '?', the digit is taken", 950, 65001, "\xA1" "1x", "?x"},
      {"the default character of 932 goes on to 936 as '?'", 932, 936, "\x81", "?"},
  });
}

// A NUL is never taken as a trail byte: the lead byte gives the default character alone and the
// NUL stays, whatever the length given.
TEST(WindowsExactConversions, NulAfterLeadByteIsNotATrail) {
  const char bytes[] = {'\x81', '\0', 'A'};
  char16_t units[8] = {};
  ASSERT_EQ(platform::DecodeToUtf16(932, bytes, 3, units, 8), 3);
  EXPECT_EQ(std::u16string(units, 3), (std::u16string{u'\u30FB', u'\0', u'A'}));
  // NUL-terminated: the terminator is found and counted.
  ASSERT_EQ(platform::DecodeToUtf16(936, bytes, -1, units, 8), 2);
  EXPECT_EQ(std::u16string(units, 2), (std::u16string{u'?', u'\0'}));
}

TEST(WindowsExactConversions, UsAsciiClearsTheTopBit) {
  const char bytes[] = {'\xC1', '\x80', 'B'};
  char16_t units[8] = {};
  ASSERT_EQ(platform::DecodeToUtf16(20127, bytes, 3, units, 8), 3);
  EXPECT_EQ(std::u16string(units, 3), (std::u16string{u'A', u'\0', u'B'}));
  // Through ConvertCodePage the U+0000 ends the text, as a terminator would.
  EXPECT_EQ(ConvertCodePage("\xC1\x80" "B", 20127, 65001), "A");
}

// Pages known only by Microsoft's byte -> Unicode table read by it, and write its inverse.
TEST(WindowsExactConversions, RoundTripPages) {
  ExpectConversions({
      {"437: 80 is C with cedilla", 437, 65001, "\x80", "\xC3\x87"},
      {"437: and back", 65001, 437, "\xC3\x87", "\x80"},
      {"37: EBCDIC letters", 37, 65001, "\xC1\xC2\x81", "ABa"},
      {"37: the default character is the EBCDIC '?'", 65001, 37, "\xE4\xB8\x80", "\x6F"},
      {"10079: A0 is Y with acute (no ICU converter for this page)", 10079, 65001, "\xA0",
       "\xC3\x9D"},
      {"10079: and back", 65001, 10079, "\xC3\x9D", "\xA0"},
      {"10079: a character it lacks becomes '?'", 65001, 10079, "\xE4\xB8\x80", "?"},
  });
}

TEST(WindowsExactConversions, LayerConventionsHoldForTablePages) {
  for (const std::uint32_t codePage : {932u, 1252u, 437u, 1361u}) {
    SCOPED_TRACE(codePage);
    const char text[] = "ab";
    // Size query, counting the terminator, writing nothing.
    char16_t units[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(platform::DecodeToUtf16(codePage, text, -1, units, 0), 3);
    EXPECT_EQ(units[0], u'x');
    // Too small a buffer fails; exactly enough succeeds and terminates.
    EXPECT_EQ(platform::DecodeToUtf16(codePage, text, -1, units, 2), 0);
    ASSERT_EQ(platform::DecodeToUtf16(codePage, text, -1, units, 3), 3);
    EXPECT_EQ(std::u16string(units, 3), (std::u16string{u'a', u'b', u'\0'}));
    // An explicit length counts no terminator.
    EXPECT_EQ(platform::DecodeToUtf16(codePage, text, 2, units, 4), 2);

    const char16_t wide[] = u"ab";
    char bytes[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(platform::EncodeFromUtf16(codePage, wide, -1, bytes, 0), 3);
    EXPECT_EQ(bytes[0], 'x');
    EXPECT_EQ(platform::EncodeFromUtf16(codePage, wide, -1, bytes, 2), 0);
    ASSERT_EQ(platform::EncodeFromUtf16(codePage, wide, -1, bytes, 3), 3);
    EXPECT_EQ(std::string(bytes, 3), std::string("ab\0", 3));
    EXPECT_EQ(platform::EncodeFromUtf16(codePage, wide, 0, bytes, 4), 0);
  }
  // A DBCS character counts two bytes in the size.
  const char16_t kanji[] = u"\u65E5";
  EXPECT_EQ(platform::EncodeFromUtf16(932, kanji, -1, nullptr, 0), 3);
}

std::vector<std::uint32_t>& Installed() {
  static std::vector<std::uint32_t> list;
  return list;
}

TEST(WindowsExactConversions, TablePagesAreListedInOrder) {
  Installed().clear();
  ASSERT_TRUE(platform::ForEachInstalledCodePage([](const char* decimal) {
    Installed().push_back(static_cast<std::uint32_t>(std::stoul(decimal)));
    return 1;
  }));
  const std::vector<std::uint32_t>& list = Installed();
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
  EXPECT_EQ(std::adjacent_find(list.begin(), list.end()), list.end()) << "listed twice";
  for (const std::uint32_t codePage : {37u, 437u, 874u, 932u, 936u, 949u, 950u, 1252u, 1258u,
                                       1361u, 10079u, 20127u, 65001u}) {
    EXPECT_NE(std::find(list.begin(), list.end(), codePage), list.end()) << codePage;
    EXPECT_TRUE(platform::IsCodePageUsable(codePage)) << codePage;
  }
  EXPECT_FALSE(platform::IsCodePageUsable(42));
  EXPECT_EQ(ConvertCodePage("abc", 42, 65001), "");
  EXPECT_EQ(ConvertCodePage("abc", 1252, 42), "");
}

}  // namespace
