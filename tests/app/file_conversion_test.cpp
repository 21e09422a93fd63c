#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <utility>

#include "app/exit_codes.h"
#include "app/file_conversion.h"
#include "app/run_failure.h"
#include "tests/support/test_support.h"

namespace {

using namespace std::string_literals;
using testing_support::FileExists;
using testing_support::ListDirectory;
using testing_support::ReadFile;
using testing_support::ScratchDirectory;
using testing_support::WriteFile;

struct FormatCase {
  const char* name;
  std::string input;
  CodePage source;
  CodePage target;
  std::string expected;
};

TEST(ConvertFileTest, WritesTheOutputFormat) {
  const FormatCase cases[] = {
      {"empty input gives an empty file", "", 932, 936, ""},
      {"one LF gives one CR LF", "\n", 932, 936, "\r\n"},
      {"CR LF and LF give the same", "a\r\nb\nc", 932, 936, "a\r\nb\r\nc\r\n"},
      {"lone CRs stay in the text", "a\rb\r", 932, 936, "a\rb\r\r\n"},
      {"Ctrl-Z ends the input", "ab\x1A" "cd\n", 932, 936, "ab\r\n"},
      {"Japanese to Chinese", "\x93\xFA\x96\x7B\r\n", 932, 936, "\xC8\xD5\xB1\xBE\r\n"},
      // EBCDIC's own line feed (0x25) becomes LF in the target and is written as CR LF.
      {"LF inside converted text", "\xC1\x25\xC2\n", 37, 1252, "A\r\nB\r\n"},
      // The line end stays 0D 0A whatever the target.
      {"line end into EBCDIC", "AB\n", 1252, 37, "\xC1\xC2\r\n"},
      {"a character the target lacks", "\xE4\xB8\x80\n", 65001, 1252, "?\r\n"},
  };
  for (const FormatCase& c : cases) {
    ScratchDirectory dir;
    WriteFile(dir.File("in.txt"), c.input);
    ConvertFile(dir.File("in.txt"), dir.File("in.cvt.txt"), c.source, c.target);
    EXPECT_EQ(ReadFile(dir.File("in.cvt.txt")), c.expected) << c.name;
    EXPECT_EQ(ListDirectory(dir.Path()), (std::vector<std::string>{"in.cvt.txt", "in.txt"}))
        << c.name;
  }
}

TEST(ConvertFileTest, ReplacesAnExistingOutputAndKeepsItsPermissions) {
  ScratchDirectory dir;
  WriteFile(dir.File("in.txt"), "new\n");
  WriteFile(dir.File("out.txt"), "old contents that are longer\r\n");
  ASSERT_EQ(chmod(dir.File("out.txt").c_str(), 0640), 0);
  ConvertFile(dir.File("in.txt"), dir.File("out.txt"), 1252, 1252);
  EXPECT_EQ(ReadFile(dir.File("out.txt")), "new\r\n");
  struct stat status {};
  ASSERT_EQ(stat(dir.File("out.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

struct FailureCase {
  const char* name;
  std::string input;  // empty name below means: no input file at all
  bool inputExists;
  const char* outputName;
  CodePage source;
  CodePage target;
  int exitCode;
  const char* messagePart;
};

TEST(ConvertFileTest, FailsCleanlyAndLeavesAnExistingOutputAsItWas) {
  const FailureCase cases[] = {
      {"missing input", "", false, "out.txt", 932, 936, kExitInputFailed, "in.txt"},
      {"NUL on line 3", "a\nb\nc\0d\ne\n"s, true, "out.txt", 932, 936, kExitInputFailed,
       "line 3"},
      {"UTF-16 input", "\xFF\xFE" "a\0b\0"s, true, "out.txt", 1252, 65001, kExitInputFailed,
       "line 1"},
      {"unusable source", "abc\n", true, "out.txt", 1200, 936, kExitCodePageUnusable,
       "source code page 1200"},
      {"unusable target", "abc\n", true, "out.txt", 932, 99999, kExitCodePageUnusable,
       "target code page 99999"},
      {"missing output directory", "abc\n", true, "no/such/dir/out.txt", 932, 936,
       kExitOutputFailed, "no/such/dir/out.txt"},
      {"output is a directory", "abc\n", true, "adir", 932, 936, kExitOutputFailed, "adir"},
  };
  for (const FailureCase& c : cases) {
    ScratchDirectory dir;
    if (c.inputExists) WriteFile(dir.File("in.txt"), c.input);
    WriteFile(dir.File("out.txt"), "precious\n");
    ASSERT_EQ(mkdir(dir.File("adir").c_str(), 0700), 0);
    const auto before = ListDirectory(dir.Path());
    try {
      ConvertFile(dir.File("in.txt"), dir.File(c.outputName), c.source, c.target);
      ADD_FAILURE() << c.name << ": no failure reported";
    } catch (const RunFailure& failure) {
      EXPECT_EQ(failure.ExitCode(), c.exitCode) << c.name;
      EXPECT_NE(std::string(failure.what()).find(c.messagePart), std::string::npos)
          << c.name << ": " << failure.what();
    }
    EXPECT_EQ(ReadFile(dir.File("out.txt")), "precious\n") << c.name;
    EXPECT_EQ(ListDirectory(dir.Path()), before) << c.name << ": a file was left behind";
  }
}

TEST(ConvertFileTest, NamesTheRightLineForANulFarIntoTheFile) {
  // Lines taken whole from the buffer are counted too: the NUL stands beyond the first read.
  std::string input;
  for (int line = 0; line < 300000; ++line) input += line % 3 == 0 ? "ab\n" : "cd\xE9\r\n";
  input += "x\0y\n"s;
  for (const auto& [source, target] : {std::pair<CodePage, CodePage>{1252, 65001},
                                       {932, 936}, {437, 850}, {65001, 1252}, {50220, 65001}}) {
    ScratchDirectory dir;
    WriteFile(dir.File("in.txt"), input);
    try {
      ConvertFile(dir.File("in.txt"), dir.File("out.txt"), source, target);
      ADD_FAILURE() << source << " -> " << target << ": no failure reported";
    } catch (const RunFailure& failure) {
      EXPECT_NE(std::string(failure.what()).find("line 300001"), std::string::npos)
          << source << " -> " << target << ": " << failure.what();
    }
  }
}

TEST(ConvertFileTest, RefusesInputThatIsNotARegularFile) {
  ScratchDirectory dir;
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  for (const std::string& input : {dir.Path(), dir.File("fifo"), std::string("/dev/zero")}) {
    try {
      ConvertFile(input, dir.File("out.txt"), 932, 936);
      ADD_FAILURE() << input;
    } catch (const RunFailure& failure) {
      EXPECT_EQ(failure.ExitCode(), kExitInputFailed) << input;
    }
    EXPECT_FALSE(FileExists(dir.File("out.txt")));
  }
}

}  // namespace
