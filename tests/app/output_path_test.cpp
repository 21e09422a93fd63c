#include <gtest/gtest.h>

#include "app/output_path.h"

namespace {

TEST(MakeOutputPathTest, InsertsCvtBeforeTheLastDot) {
  const struct {
    const char* input;
    const char* expected;
  } cases[] = {
      {"C:\\data\\report.txt", "C:\\data\\report.cvt.txt"},
      {"a.tar.gz", "a.tar.cvt.gz"},
      {"name.", "name.cvt."},
      {"readme", ".cvtreadme"},
      {"C:\\readme", ".cvtC:\\readme"},
      {"C:\\my.dir\\readme", "C:\\my.cvt.dir\\readme"},
      {"..\\readme", "..cvt.\\readme"},
      {"/home/u/my.dir/readme", "/home/u/my.cvt.dir/readme"},
      {"/home/u/notes.txt", "/home/u/notes.cvt.txt"},
      {"-C", ".cvt-C"},
      {"", ".cvt"},
      {"\xE6\x97\xA5\xE6\x9C\xAC.txt", "\xE6\x97\xA5\xE6\x9C\xAC.cvt.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeOutputPath(c.input), c.expected) << c.input;
}

}  // namespace
