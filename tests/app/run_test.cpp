// The whole program as a user runs it: arguments, files left behind, exit codes and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

using testing_support::FileExists;
using testing_support::ListDirectory;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunMirovexProgram;
using testing_support::ScratchDirectory;
using testing_support::WriteFile;

const std::string kUsage =
    "Usage: Mirovex.exe [-C] [path]filename.\r\n\t-C:\tshow configure dialog.\r\n";
const std::string kJapanese = "\x93\xFA\x96\x7B\r\n";  // 日本 in Shift-JIS
const std::string kChinese = "\xC8\xD5\xB1\xBE\r\n";   // the same in GBK

// A working directory with one input file and a private TEMP for the settings file.
class ProgramTest : public ::testing::Test {
 protected:
  ProgramResult Run(const std::vector<std::string>& arguments) {
    return RunMirovexProgram(arguments, work_.Path(),
                             {{"TEMP", temp_.Path()}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""},
                              {"QT_QPA_PLATFORM", ""}});
  }
  std::string Settings() const { return temp_.File("Mirovex_Tempconf.cvt"); }
  std::string Work(const std::string& name) const { return work_.File(name); }

  ScratchDirectory work_;
  ScratchDirectory temp_;
};

TEST_F(ProgramTest, OtherCommandLinesPrintTheUsageAndTouchNothing) {
  WriteFile(Work("data.txt"), kJapanese);
  const std::vector<std::vector<std::string>> commandLines = {
      {}, {"-c", "data.txt"}, {"data.txt", "-C"}, {"-C", "data.txt", "extra"}, {"-C-", "data.txt"},
      {"a", "b", "c", "d"}};
  for (const auto& arguments : commandLines) {
    const ProgramResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, kUsage);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ListDirectory(work_.Path()), std::vector<std::string>{"data.txt"});
    EXPECT_FALSE(FileExists(Settings()));
  }
}

TEST_F(ProgramTest, PlainRunWithoutSettingsConvertsJapaneseToChineseAndRemembersThePair) {
  WriteFile(Work("data.txt"), kJapanese);
  const ProgramResult result = Run({"data.txt"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out + result.err, "");
  EXPECT_EQ(ReadFile(Work("data.cvt.txt")), kChinese);
  EXPECT_EQ(ReadFile(Settings()), "932 936");
}

TEST_F(ProgramTest, PlainRunUsesTheRememberedPair) {
  WriteFile(Work("data.txt"), "caf\xE9\n");
  WriteFile(Settings(), "1252\r\n65001\r\n");
  ASSERT_EQ(Run({"data.txt"}).exitCode, 0);
  EXPECT_EQ(ReadFile(Work("data.cvt.txt")), "caf\xC3\xA9\r\n");
  EXPECT_EQ(ReadFile(Settings()), "1252 65001");
}

TEST_F(ProgramTest, ASingleDashCIsAFileName) {
  WriteFile(Work("-C"), "x\n");
  ASSERT_EQ(Run({"-C"}).exitCode, 0);
  EXPECT_EQ(ReadFile(Work(".cvt-C")), "x\r\n");
}

TEST_F(ProgramTest, DialogThatCannotBeShownSavesThePairAsLoadedAndConvertsNothing) {
  WriteFile(Work("data.txt"), kJapanese);
  WriteFile(Settings(), "1252 65001 7");
  const ProgramResult result = Run({"-C", "data.txt"});
  EXPECT_EQ(result.exitCode, 5);
  EXPECT_NE(result.err.find("configuration dialog"), std::string::npos) << result.err;
  EXPECT_EQ(ReadFile(Settings()), "1252 65001");
  EXPECT_EQ(ListDirectory(work_.Path()), std::vector<std::string>{"data.txt"});
}

TEST_F(ProgramTest, AProgramWithoutItsDialogModuleStillConvertsAndSaysWhyThereIsNoDialog) {
  ScratchDirectory alone;
  const std::string program = alone.File("Mirovex");
  std::filesystem::copy_file(MIROVEX_BINARY, program);
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  WriteFile(Work("data.txt"), kJapanese);
  const std::map<std::string, std::string> environment{{"TEMP", temp_.Path()}};

  const ProgramResult dialogRun = testing_support::RunProgramAt(program, {"-C", "data.txt"},
                                                                work_.Path(), environment);
  EXPECT_EQ(dialogRun.exitCode, 5);
  EXPECT_NE(dialogRun.err.find("dialog module"), std::string::npos) << dialogRun.err;
  EXPECT_EQ(ListDirectory(work_.Path()), std::vector<std::string>{"data.txt"});

  EXPECT_EQ(testing_support::RunProgramAt(program, {"data.txt"}, work_.Path(), environment).exitCode,
            0);
  EXPECT_EQ(ReadFile(Work("data.cvt.txt")), kChinese);
}

TEST_F(ProgramTest, FailuresGiveTheirExitCodeAMessageAndKeepFilesAsTheyWere) {
  const struct {
    const char* name;
    const char* settings;
    const char* inputName;
    int exitCode;
    const char* messagePart;
  } cases[] = {
      {"missing input", "932 936", "missing.txt", 2, "missing.txt"},
      {"NUL in the input", "932 936", "utf16.txt", 2, "NUL byte on line 1"},
      {"unusable source", "1200 936", "data.txt", 4, "source code page 1200"},
      {"unusable target", "932 4294967295", "data.txt", 4, "target code page 4294967295"},
  };
  for (const auto& c : cases) {
    ScratchDirectory work;
    WriteFile(work.File("data.txt"), kJapanese);
    WriteFile(work.File("utf16.txt"), std::string("\xFF\xFE" "a\0", 4));
    WriteFile(work.File("data.cvt.txt"), "precious");
    WriteFile(work.File("utf16.cvt.txt"), "precious");
    WriteFile(Settings(), c.settings);
    const auto before = ListDirectory(work.Path());
    const ProgramResult result = RunMirovexProgram({c.inputName}, work.Path(),
                                                   {{"TEMP", temp_.Path()}});
    EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    EXPECT_EQ(result.err.rfind("Mirovex: ", 0), 0u) << c.name << ": " << result.err;
    EXPECT_NE(result.err.find(c.messagePart), std::string::npos) << c.name << ": " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << c.name;
    EXPECT_EQ(ListDirectory(work.Path()), before) << c.name;
    EXPECT_EQ(ReadFile(work.File("data.cvt.txt")), "precious") << c.name;
    EXPECT_EQ(ReadFile(Settings()), c.settings) << c.name << ": settings rewritten";
  }
}

TEST_F(ProgramTest, OutputInAMissingDirectoryIsReportedWithExitCode3) {
  // The dot of "my.dir" puts .cvt into the directory name, which does not exist.
  const std::string dir = Work("my.dir");
  ASSERT_TRUE(std::filesystem::create_directory(dir));
  WriteFile(dir + "/readme", kJapanese);
  const ProgramResult result = Run({"my.dir/readme"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find("my.cvt.dir/readme"), std::string::npos) << result.err;
  EXPECT_FALSE(FileExists(Settings()));
}

}  // namespace
