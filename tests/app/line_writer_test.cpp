#include <gtest/gtest.h>

#include <string>

#include "app/line_writer.h"

namespace {

TEST(LineWriterTest, WritesEveryLineFeedAsCrLfAndEndsEachLineWithCrLf) {
  // Lines longer than the buffer, with LFs on both sides of its end, must come out the same.
  const std::string longText(LineWriter::kMaxReserve - 1, 'x');
  for (LineWriter::Mode mode : {LineWriter::Mode::kInPlace, LineWriter::Mode::kInBackground})
  for (std::size_t bufferSize : {LineWriter::kMaxReserve, LineWriter::kMaxReserve + 1,
                                 std::size_t{1} << 20}) {
    std::string written;
    LineWriter writer(
        [&](const char* data, std::size_t size) {
          written.append(data, size);
          return true;
        },
        bufferSize, mode);
    for (const std::string& line : {std::string("abc"), std::string(), std::string("a\nb"),
                                    std::string("\n"), std::string("x\r"), longText + "\n" + longText}) {
      ASSERT_TRUE(writer.WriteLine(line));
    }
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(written, "abc\r\n\r\na\r\nb\r\n\r\n\r\nx\r\r\n" + longText + "\r\n" + longText + "\r\n")
        << "buffer " << bufferSize << ", in background " << (mode == LineWriter::Mode::kInBackground);
  }
}

TEST(LineWriterTest, ReportsAFailedWrite) {
  LineWriter writer([](const char*, std::size_t) { return false; }, LineWriter::kMaxReserve);
  EXPECT_FALSE(writer.WriteLine(std::string(LineWriter::kMaxReserve * 2, 'x')));
}

TEST(LineWriterTest, InTheBackgroundAFailedWriteStopsAllThatFollow) {
  // The failure shows at the next hand-over or at the latest at Flush, and nothing is written
  // after it.
  int writes = 0;
  LineWriter writer(
      [&](const char*, std::size_t) {
        ++writes;
        return writes != 2;
      },
      LineWriter::kMaxReserve, LineWriter::Mode::kInBackground);
  bool failed = false;
  for (int line = 0; line < 100 && !failed; ++line) {
    failed = !writer.WriteLine(std::string(LineWriter::kMaxReserve / 2, 'x'));
  }
  EXPECT_TRUE(failed);
  EXPECT_FALSE(writer.Flush());
  EXPECT_FALSE(writer.Flush());
  EXPECT_EQ(writes, 2);
}

}  // namespace
