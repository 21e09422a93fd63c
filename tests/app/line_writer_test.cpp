#include <gtest/gtest.h>

#include <string>

#include "app/line_writer.h"

namespace {

TEST(LineWriterTest, WritesEveryLineFeedAsCrLfAndEndsEachLineWithCrLf) {
  for (std::size_t bufferSize : {std::size_t{64}, std::size_t{65}, std::size_t{1024}}) {
    std::string written;
    LineWriter writer(
        [&](const char* data, std::size_t size) {
          written.append(data, size);
          return true;
        },
        bufferSize);
    for (const char* line : {"abc", "", "a\nb", "\n", "x\r"}) ASSERT_TRUE(writer.WriteLine(line));
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(written, "abc\r\n\r\na\r\nb\r\n\r\n\r\nx\r\r\n") << "buffer " << bufferSize;
  }
}

TEST(LineWriterTest, ReportsAFailedWrite) {
  LineWriter writer([](const char*, std::size_t) { return false; }, 64);
  EXPECT_FALSE(writer.WriteLine(std::string(100, 'x')));
}

}  // namespace
