// The program in a hostile environment, run as a user runs it: settings files that are not what
// they should be, a temporary directory that is missing or unusable, odd and overlong paths, inputs
// that are not files, outputs in the way. Nothing may hang, crash, write where it should not or
// lose data, and every refusal is one clear line.
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
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

const std::string kJapanese = "\x93\xFA\x96\x7B\r\n";        // in Shift-JIS (932)
const std::string kAsGbk = "\xC8\xD5\xB1\xBE\r\n";           // 932 -> 936, the default pair
const std::string kAsUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\r\n";  // 932 -> 65001
// Every settings file below that must not be read holds this pair: reading it would show as UTF-8.
const std::string kOtherPair = "932 65001";

bool IsRoot() { return geteuid() == 0; }

std::string FileType(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return "missing";
  if (S_ISLNK(status.st_mode)) return "link";
  if (S_ISDIR(status.st_mode)) return "directory";
  if (S_ISFIFO(status.st_mode)) return "pipe";
  return S_ISREG(status.st_mode) ? "file" : "other";
}

TEST(HostileSettingsTest, ASettingsFileThatIsNotTheUsersOwnIsNeitherReadNorWritten) {
  const struct {
    const char* name;
    std::function<void(const std::string& settings, const std::string& temp)> make;
    bool needsRoot;
    const char* reason;  // in both warnings
  } cases[] = {
      {"symbolic link to a file",
       [](const std::string& settings, const std::string& temp) {
         WriteFile(temp + "/elsewhere", kOtherPair);
         ASSERT_EQ(symlink((temp + "/elsewhere").c_str(), settings.c_str()), 0);
       },
       false, "is a symbolic link"},
      {"dangling symbolic link",
       [](const std::string& settings, const std::string& temp) {
         ASSERT_EQ(symlink((temp + "/elsewhere").c_str(), settings.c_str()), 0);
       },
       false, "is a symbolic link"},
      {"directory",
       [](const std::string& settings, const std::string&) {
         ASSERT_EQ(mkdir(settings.c_str(), 0700), 0);
         WriteFile(settings + "/inside", kOtherPair);
       },
       false, "is a directory"},
      {"pipe with no writer",
       [](const std::string& settings, const std::string&) {
         ASSERT_EQ(mkfifo(settings.c_str(), 0600), 0);
       },
       false, "is a pipe"},
      {"file of another user",
       [](const std::string& settings, const std::string&) {
         WriteFile(settings, kOtherPair);
         ASSERT_EQ(chown(settings.c_str(), 65534, 65534), 0);
       },
       true, "belongs to another user"},
  };
  for (const auto& c : cases) {
    if (c.needsRoot && !IsRoot()) {
      std::printf("skipped \"%s\": needs root to give a file away\n", c.name);
      continue;
    }
    ScratchDirectory work;
    ScratchDirectory temp;
    const std::string settings = temp.File("Mirovex_Tempconf.cvt");
    c.make(settings, temp.Path());
    const auto tempBefore = ListDirectory(temp.Path());
    const std::string typeBefore = FileType(settings);
    const std::string elsewhereBefore = FileType(temp.File("elsewhere"));
    WriteFile(work.File("data.txt"), kJapanese);

    const ProgramResult result =
        RunMirovexProgram({"data.txt"}, work.Path(), {{"TEMP", temp.Path()}});
    EXPECT_EQ(result.exitCode, 0) << c.name;
    EXPECT_EQ(ReadFile(work.File("data.cvt.txt")), kAsGbk) << c.name << ": settings were read";
    const std::string quoted = "settings file \"" + settings + "\" ";
    EXPECT_EQ(result.err, "Mirovex: warning: " + quoted + "not read: " + c.reason + "\n" +
                              "Mirovex: warning: " + quoted + "not written: " + c.reason + "\n")
        << c.name;
    EXPECT_EQ(ListDirectory(temp.Path()), tempBefore) << c.name;
    EXPECT_EQ(FileType(settings), typeBefore) << c.name;
    EXPECT_EQ(FileType(temp.File("elsewhere")), elsewhereBefore) << c.name;
    if (typeBefore == "file" || elsewhereBefore == "file") {
      EXPECT_EQ(ReadFile(typeBefore == "file" ? settings : temp.File("elsewhere")), kOtherPair)
          << c.name;
    }
  }
}

TEST(HostileSettingsTest, HugeOrGarbageSettingsAreReadAsFarAsTheyMakeSenseAndReplaced) {
  std::string garbage;
  for (unsigned value = 0; garbage.size() < 65536; value = value * 1103515245u + 12345u) {
    garbage += static_cast<char>('A' + (value >> 16) % 200);  // never a digit, space or sign first
  }
  const struct {
    const char* name;
    std::string contents;
    std::string expectedOutput;
    std::string savedAfter;
  } cases[] = {
      {"huge, with the pair in front", kOtherPair + " " + std::string(16 << 20, 'x'), kAsUtf8,
       kOtherPair},
      {"huge, all blanks", std::string(8 << 20, ' ') + kOtherPair, kAsGbk, "932 936"},
      {"binary garbage", garbage, kAsGbk, "932 936"},
      {"numbers too large", "99999999999999999999 -1", "", ""},
  };
  for (const auto& c : cases) {
    ScratchDirectory work;
    ScratchDirectory temp;
    const std::string settings = temp.File("Mirovex_Tempconf.cvt");
    WriteFile(settings, c.contents);
    WriteFile(work.File("data.txt"), kJapanese);
    const ProgramResult result =
        RunMirovexProgram({"data.txt"}, work.Path(), {{"TEMP", temp.Path()}});
    if (c.expectedOutput.empty()) {
      // 4294967295 is no code page: refused, and the settings are kept for the user to mend.
      EXPECT_EQ(result.exitCode, 4) << c.name;
      EXPECT_EQ(result.err, "Mirovex: source code page 4294967295 is not usable on this system\n");
      EXPECT_EQ(ReadFile(settings), c.contents) << c.name;
      EXPECT_FALSE(FileExists(work.File("data.cvt.txt"))) << c.name;
      continue;
    }
    EXPECT_EQ(result.exitCode, 0) << c.name;
    EXPECT_EQ(result.err, "") << c.name;
    EXPECT_EQ(ReadFile(work.File("data.cvt.txt")), c.expectedOutput) << c.name;
    EXPECT_EQ(ReadFile(settings), c.savedAfter) << c.name;
    EXPECT_EQ(ListDirectory(temp.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"});
  }
}

TEST(HostileSettingsTest, AnUnusableTemporaryDirectoryOnlyCostsTheSettings) {
  const struct {
    const char* name;
    std::function<std::string(const ScratchDirectory& temp)> make;  // gives TEMP
    bool needsNonRoot;
    const char* reason;
    bool unreadable;  // a missing file is no surprise, a path through a file is
  } cases[] = {
      {"missing", [](const ScratchDirectory& temp) { return temp.File("missing"); }, false,
       "No such file or directory", false},
      {"a file",
       [](const ScratchDirectory& temp) {
         WriteFile(temp.File("file"), "");
         return temp.File("file");
       },
       false, "Not a directory", true},
      {"longer than the system allows",
       [](const ScratchDirectory& temp) {
         std::string path = temp.Path();
         while (path.size() <= PATH_MAX) path += "/sub/..";
         return path;
       },
       false, "File name too long", true},
      {"not writable",
       [](const ScratchDirectory& temp) {
         chmod(temp.Path().c_str(), 0500);
         return temp.Path();
       },
       true, "Permission denied", false},
  };
  for (const auto& c : cases) {
    if (c.needsNonRoot && IsRoot()) {
      std::printf("skipped \"%s\": root writes anywhere\n", c.name);
      continue;
    }
    ScratchDirectory work;
    ScratchDirectory temp;
    const std::string tempValue = c.make(temp);
    const auto tempBefore = ListDirectory(temp.Path());
    WriteFile(work.File("data.txt"), kJapanese);
    const ProgramResult result =
        RunMirovexProgram({"data.txt"}, work.Path(), {{"TEMP", tempValue}});
    EXPECT_EQ(result.exitCode, 0) << c.name;
    EXPECT_EQ(ReadFile(work.File("data.cvt.txt")), kAsGbk) << c.name;
    const std::string quoted =
        "Mirovex: warning: settings file \"" + tempValue + "/Mirovex_Tempconf.cvt\" ";
    EXPECT_EQ(result.err, (c.unreadable ? quoted + "not read: " + c.reason + "\n" : "") + quoted +
                              "not written: " + c.reason + "\n")
        << c.name;
    EXPECT_EQ(ListDirectory(temp.Path()), tempBefore) << c.name;
  }
}

TEST(HostilePathTest, OddNamesConvertBesideTheInput) {
  const struct {
    const char* name;
    std::string input;
    std::string output;
  } cases[] = {
      {"spaces", "my data file.txt", "my data file.cvt.txt"},
      {"leading dash", "-data.txt", "-data.cvt.txt"},
      {"leading dashes and no dot", "--C", ".cvt--C"},
      {"UTF-8 name", "\xE6\x97\xA5\xE6\x9C\xAC.txt", "\xE6\x97\xA5\xE6\x9C\xAC.cvt.txt"},
      {"bytes that are no UTF-8", "\xFF\xFE\x81.\x93\xFA", "\xFF\xFE\x81.cvt.\x93\xFA"},
      {"longest name allowed", std::string(NAME_MAX - 8, 'n') + ".txt",
       std::string(NAME_MAX - 8, 'n') + ".cvt.txt"},
  };
  for (const auto& c : cases) {
    ScratchDirectory work;
    ScratchDirectory temp;
    WriteFile(work.File(c.input), kJapanese);
    const ProgramResult result = RunMirovexProgram({c.input}, work.Path(), {{"TEMP", temp.Path()}});
    EXPECT_EQ(result.exitCode, 0) << c.name << ": " << result.err;
    EXPECT_EQ(result.out + result.err, "") << c.name;
    EXPECT_EQ(ReadFile(work.File(c.output)), kAsGbk) << c.name;
    EXPECT_EQ(ListDirectory(work.Path()),
              (std::vector<std::string>{std::min(c.input, c.output), std::max(c.input, c.output)}))
        << c.name;
  }
}

TEST(HostilePathTest, InputsAndOutputsThatCannotBeUsedAreRefusedWithoutLeftovers) {
  const std::string tooLongPath = [] {
    std::string path;
    while (path.size() <= PATH_MAX) path += "sub/../";
    return path + "data.txt";
  }();
  const struct {
    const char* name;
    std::function<void(const ScratchDirectory& work)> make;
    std::string input;
    int exitCode;
    std::string message;
  } cases[] = {
      {"input is a directory",
       [](const ScratchDirectory& work) { std::filesystem::create_directory(work.File("in.d")); },
       "in.d", 2, "cannot open input file \"in.d\": is a directory"},
      {"input is a pipe with no writer",
       [](const ScratchDirectory& work) { mkfifo(work.File("pipe.txt").c_str(), 0600); },
       "pipe.txt", 2, "cannot open input file \"pipe.txt\": is a pipe"},
      {"input is /dev/zero", [](const ScratchDirectory&) {}, "/dev/zero", 2,
       "cannot open input file \"/dev/zero\": is a device"},
      {"input path longer than the system allows", [](const ScratchDirectory&) {}, tooLongPath, 2,
       "cannot open input file \"" + tooLongPath + "\": File name too long"},
      {"output name longer than the system allows",
       [](const ScratchDirectory& work) {
         WriteFile(work.File(std::string(NAME_MAX - 4, 'n') + ".txt"), kJapanese);
       },
       std::string(NAME_MAX - 4, 'n') + ".txt", 3,
       "cannot write output file \"" + std::string(NAME_MAX - 4, 'n') +
           ".cvt.txt\": File name too long"},
      {"output path is a directory",
       [](const ScratchDirectory& work) {
         WriteFile(work.File("data.txt"), kJapanese);
         std::filesystem::create_directory(work.File("data.cvt.txt"));
         WriteFile(work.File("data.cvt.txt/keep"), "kept");
       },
       "data.txt", 3, "cannot create output file \"data.cvt.txt\": is a directory"},
  };
  for (const auto& c : cases) {
    ScratchDirectory work;
    ScratchDirectory temp;
    c.make(work);
    WriteFile(temp.File("Mirovex_Tempconf.cvt"), "932 936");
    const auto before = ListDirectory(work.Path());
    const ProgramResult result = RunMirovexProgram({c.input}, work.Path(), {{"TEMP", temp.Path()}});
    EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
    EXPECT_EQ(result.err, "Mirovex: " + c.message + "\n") << c.name;
    EXPECT_EQ(ListDirectory(work.Path()), before) << c.name;
    EXPECT_EQ(ListDirectory(temp.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"});
  }
}

TEST(HostilePathTest, AnOutputThatIsALinkIsReplacedAndItsTargetLeftAlone) {
  for (const bool dangling : {false, true}) {
    ScratchDirectory work;
    ScratchDirectory temp;
    WriteFile(work.File("data.txt"), kJapanese);
    if (!dangling) WriteFile(work.File("victim"), "someone else's file");
    ASSERT_EQ(symlink(work.File("victim").c_str(), work.File("data.cvt.txt").c_str()), 0);
    const ProgramResult result =
        RunMirovexProgram({"data.txt"}, work.Path(), {{"TEMP", temp.Path()}});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(FileType(work.File("data.cvt.txt")), "file");
    EXPECT_EQ(ReadFile(work.File("data.cvt.txt")), kAsGbk);
    if (dangling) {
      EXPECT_FALSE(FileExists(work.File("victim")));
    } else {
      EXPECT_EQ(ReadFile(work.File("victim")), "someone else's file");
    }
  }
}

}  // namespace

namespace {

TEST(HostileLimitsTest, WithNoThreadToBeHadTheRunConvertsTheSameBytesOnItsOwn) {
  // A process limit of one lets no thread start, as for a user who has used up the limit.
  // Root is not held to that limit: the run is made as nobody.
  if (access("/usr/bin/prlimit", X_OK) != 0 || (IsRoot() && access("/usr/bin/setpriv", X_OK) != 0)) {
    GTEST_SKIP() << "needs prlimit, and setpriv when run as root";
  }
  ScratchDirectory dir;
  ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
  std::string input;
  while (input.size() < (std::size_t{3} << 20)) input += kJapanese + "text " + kJapanese;
  WriteFile(dir.File("in.txt"), input);
  ASSERT_EQ(chmod(dir.File("in.txt").c_str(), 0644), 0);
  for (const char* temp : {"free", "limited"}) {
    ASSERT_EQ(mkdir(dir.File(temp).c_str(), 0777), 0);
    ASSERT_EQ(chmod(dir.File(temp).c_str(), 0777), 0);
  }

  ASSERT_EQ(RunMirovexProgram({"in.txt"}, dir.Path(), {{"TEMP", dir.File("free")}}).exitCode, 0);
  const std::string expected = ReadFile(dir.File("in.cvt.txt"));
  ASSERT_EQ(unlink(dir.File("in.cvt.txt").c_str()), 0);

  std::vector<std::string> command = {"/usr/bin/prlimit", "--nproc=1", MIROVEX_BINARY, "in.txt"};
  if (IsRoot()) {
    command.insert(command.begin(),
                   {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  }
  // The leak checker of a sanitizer build needs a thread of its own at exit: left out here.
  const ProgramResult limited = testing_support::RunProgramAt(
      command.front(), std::vector<std::string>(command.begin() + 1, command.end()), dir.Path(),
      {{"TEMP", dir.File("limited")}, {"ASAN_OPTIONS", "detect_leaks=0"}});
  EXPECT_EQ(limited.exitCode, 0) << limited.err;
  EXPECT_EQ(limited.err, "");
  EXPECT_TRUE(ReadFile(dir.File("in.cvt.txt")) == expected) << "the bytes differ";
}

}  // namespace
