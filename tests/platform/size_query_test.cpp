// The size that the code page services report for a conversion must be the size that the
// conversion then needs: callers allocate exactly that much, and a short count turns a line into
// an empty one. Checked for every usable page of the catalogue, with texts that make the services
// write substitutes and switch scripts (where stateful pages such as ISCII and ISO-2022 differ).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codepage/code_page_table.h"
#include "platform/codepage_services.h"

namespace {

const std::vector<std::u16string> kTexts = {
    u"plain ASCII",
    // Found by the transcoder fuzzer: GB18030 text converted to ISCII (57007) came out empty.
    u"\xD856\xDC88\x5AAE\x68BA\xD856\xDC88\n\n\n\xD85C\xDD24\n??0?0\n\n\n\xD85C\xDD24\n??????",
    u"\x65E5\x672C abc \x0915\x093F \x0B15\x0B3F \x0410\x0411 \x00E9 \xD83D\xDE00 end",
    u"\x0B15\x0B4D\x0B37 \xFFFD \x20AC\x20AC\x20AC\x3042\x3044",
};

TEST(SizeQueryTest, EncodingNeedsExactlyTheSizeReported) {
  for (const CodePageEntry& entry : g_CodePageTable) {
    if (!platform::IsCodePageUsable(entry.nCodePage)) continue;
    for (const std::u16string& text : kTexts) {
      SCOPED_TRACE(testing::Message() << "code page " << entry.nCodePage);
      const int units = static_cast<int>(text.size());
      const int size = platform::EncodeFromUtf16(entry.nCodePage, text.data(), units, nullptr, 0);
      ASSERT_GT(size, 0);
      std::vector<char> roomy(static_cast<std::size_t>(size) * 4 + 64);
      EXPECT_EQ(platform::EncodeFromUtf16(entry.nCodePage, text.data(), units, roomy.data(),
                                          static_cast<int>(roomy.size())),
                size);
      std::vector<char> exact(static_cast<std::size_t>(size));
      EXPECT_EQ(platform::EncodeFromUtf16(entry.nCodePage, text.data(), units, exact.data(), size),
                size);
      EXPECT_EQ(std::string(exact.data(), exact.size()),
                std::string(roomy.data(), static_cast<std::size_t>(size)));
    }
  }
}

TEST(SizeQueryTest, DecodingNeedsExactlyTheSizeReported) {
  for (const CodePageEntry& entry : g_CodePageTable) {
    if (!platform::IsCodePageUsable(entry.nCodePage)) continue;
    for (const std::u16string& text : kTexts) {
      SCOPED_TRACE(testing::Message() << "code page " << entry.nCodePage);
      // The page's own bytes for the text, with every byte value after them to stress the decoder.
      std::vector<char> encoded(text.size() * 8 + 64);
      const int encodedSize =
          platform::EncodeFromUtf16(entry.nCodePage, text.data(), static_cast<int>(text.size()),
                                    encoded.data(), static_cast<int>(encoded.size()));
      std::string bytes(encoded.data(),
                        static_cast<std::size_t>(encodedSize > 0 ? encodedSize : 0));
      for (int value = 1; value < 256; ++value) bytes += static_cast<char>(value);
      const int count = static_cast<int>(bytes.size());
      const int size = platform::DecodeToUtf16(entry.nCodePage, bytes.data(), count, nullptr, 0);
      ASSERT_GT(size, 0);
      std::vector<char16_t> exact(static_cast<std::size_t>(size));
      EXPECT_EQ(platform::DecodeToUtf16(entry.nCodePage, bytes.data(), count, exact.data(), size),
                size);
    }
  }
}

}  // namespace
