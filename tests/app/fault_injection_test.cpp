// Faults in the middle of a run, made through the file layer's fault hook: a full disk, a failing
// device, a read error, the output's directory vanishing, and the process interrupted. Whatever
// happens, an earlier output stays as it was, no partial or temporary file is left, the settings
// file is not rewritten, and the run ends with its exit code and one line on stderr.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/run.h"
#include "platform/file_faults.h"
#include "tests/support/test_support.h"

namespace {

using platform::FileStep;
using testing_support::FileExists;
using testing_support::ListDirectory;
using testing_support::ReadFile;
using testing_support::ScratchDirectory;
using testing_support::WriteFile;

// Several MiB, so that the input takes several reads and the output several writes.
std::string LargeInput() {
  std::string text;
  for (int line = 0; text.size() < (std::size_t{7} << 19); ++line) {
    text += "line " + std::to_string(line) + " \x93\xFA\x96\x7B of a long input\r\n";
  }
  return text;
}

// Fails the `number`th time `step` comes, with `error`, after running `action` (if any).
platform::FileFaultHook FailNth(FileStep step, int number, int error,
                                std::function<void()> action = {}) {
  return [=, count = 0](FileStep current) mutable {
    if (current != step || ++count != number) return 0;
    if (action) action();
    return error;
  };
}

struct FileState {
  std::string contents;
  ino_t inode = 0;
  bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return {};
  return {ReadFile(path), status.st_ino};
}

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TEMP", temp_.Path().c_str(), 1);
    WriteFile(Input(), Large());
    WriteFile(Output(), "precious earlier output\r\n");
    WriteFile(Settings(), "932 936");
    before_ = ListDirectory(work_.Path());
    settingsBefore_ = StateOf(Settings());
  }
  void TearDown() override {
    platform::SetFileFaultHook({});
    unsetenv("TEMP");
  }

  static const std::string& Large() {
    static const std::string text = LargeInput();
    return text;
  }
  std::string Input() const { return work_.File("data.txt"); }
  std::string Output() const { return work_.File("data.cvt.txt"); }
  std::string Settings() const { return temp_.File("Mirovex_Tempconf.cvt"); }

  // Runs the program in this process; stderr is returned in `err`.
  int Run(std::string& err) {
    const std::string input = Input();
    const char* argv[] = {"Mirovex", input.c_str(), nullptr};
    testing::internal::CaptureStderr();
    const int exitCode = RunMirovex(2, argv, nullptr);
    err = testing::internal::GetCapturedStderr();
    return exitCode;
  }

  void ExpectNothingChanged(const std::string& what) {
    EXPECT_EQ(ListDirectory(work_.Path()), before_) << what;
    EXPECT_EQ(ReadFile(Output()), "precious earlier output\r\n") << what;
    EXPECT_TRUE(StateOf(Settings()) == settingsBefore_) << what << ": settings rewritten";
    EXPECT_EQ(ListDirectory(temp_.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"})
        << what;
  }

  ScratchDirectory work_;
  ScratchDirectory temp_;
  std::vector<std::string> before_;
  FileState settingsBefore_;
};

TEST_F(FaultTest, AFailingStepEndsTheRunWithItsCodeAndKeepsEverythingAsItWas) {
  const struct {
    const char* name;
    FileStep step;
    int number;
    int error;
    int exitCode;
    const char* message;
  } cases[] = {
      {"disk full in the middle of the output", FileStep::kOutputWrite, 3, ENOSPC, 3,
       "cannot write output file \"%o\": No space left on device"},
      {"write error on the first write", FileStep::kOutputWrite, 1, EIO, 3,
       "cannot write output file \"%o\": Input/output error"},
      {"disk full when flushing to disk", FileStep::kOutputCommit, 1, ENOSPC, 3,
       "cannot write output file \"%o\": No space left on device"},
      {"temporary file cannot be created", FileStep::kOutputCreate, 1, EROFS, 3,
       "cannot create output file \"%o\": Read-only file system"},
      {"read error in the middle of the input", FileStep::kInputRead, 3, EIO, 2,
       "cannot read input file \"%i\": Input/output error"},
      {"read error on the first read", FileStep::kInputRead, 1, EIO, 2,
       "cannot read input file \"%i\": Input/output error"},
  };
  for (const auto& c : cases) {
    platform::SetFileFaultHook(FailNth(c.step, c.number, c.error));
    std::string err;
    EXPECT_EQ(Run(err), c.exitCode) << c.name;
    std::string message = c.message;
    if (const auto at = message.find("%o"); at != std::string::npos)
      message.replace(at, 2, Output());
    if (const auto at = message.find("%i"); at != std::string::npos)
      message.replace(at, 2, Input());
    EXPECT_EQ(err, "Mirovex: " + message + "\n") << c.name;
    ExpectNothingChanged(c.name);
  }
}

TEST_F(FaultTest, TheOutputDirectoryVanishingInTheMiddleIsAWriteFailure) {
  // The input lives there too; it stays readable through the open handle.
  const std::string directory = work_.Path();
  platform::SetFileFaultHook(
      FailNth(FileStep::kOutputWrite, 2, 0, [&] { std::filesystem::remove_all(directory); }));
  std::string err;
  EXPECT_EQ(Run(err), 3);
  EXPECT_EQ(err.rfind("Mirovex: cannot write output file \"" + Output() + "\": ", 0), 0u) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_FALSE(FileExists(directory)) << "nothing may be recreated";
  EXPECT_TRUE(StateOf(Settings()) == settingsBefore_) << "settings rewritten";
}

TEST_F(FaultTest, ASettingsFileThatCannotBeWrittenIsAWarningAndKeepsTheOldOne) {
  platform::SetFileFaultHook(FailNth(FileStep::kPrivateFileWrite, 1, ENOSPC));
  std::string err;
  EXPECT_EQ(Run(err), 0);
  EXPECT_EQ(err, "Mirovex: warning: settings file \"" + Settings() +
                     "\" not written: No space left on device\n");
  EXPECT_TRUE(StateOf(Settings()) == settingsBefore_);
  EXPECT_EQ(ListDirectory(temp_.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"});
  EXPECT_EQ(ReadFile(Output()).size(), Large().size());  // converted all the same
}

// Runs the program in a child process that the hook interrupts with `signalNumber` at the
// `number`th `step`; returns the child's wait status.
int RunInterrupted(const std::string& input, FileStep step, int number, int signalNumber) {
  const pid_t child = fork();
  if (child == 0) {
    for (const int each : {SIGINT, SIGTERM, SIGHUP}) signal(each, SIG_DFL);  // as from a shell
    platform::SetFileFaultHook(FailNth(step, number, 0, [=] { raise(signalNumber); }));
    const char* argv[] = {"Mirovex", input.c_str(), nullptr};
    RunMirovex(2, argv, nullptr);
    _exit(99);  // not interrupted
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST_F(FaultTest, AnInterruptedRunLeavesNoTemporaryFileAndTheEarlierOutput) {
  const struct {
    const char* name;
    FileStep step;
    int number;
    int signalNumber;
  } cases[] = {
      {"SIGINT in the middle of the output", FileStep::kOutputWrite, 2, SIGINT},
      {"SIGTERM in the middle of the output", FileStep::kOutputWrite, 3, SIGTERM},
      {"SIGHUP in the middle of the output", FileStep::kOutputWrite, 1, SIGHUP},
      {"SIGTERM while reading", FileStep::kInputRead, 2, SIGTERM},
      {"SIGINT before the output is moved into place", FileStep::kOutputCommit, 1, SIGINT},
  };
  for (const auto& c : cases) {
    const int status = RunInterrupted(Input(), c.step, c.number, c.signalNumber);
    ASSERT_TRUE(WIFSIGNALED(status)) << c.name << ": status " << status;
    EXPECT_EQ(WTERMSIG(status), c.signalNumber) << c.name;
    ExpectNothingChanged(c.name);
  }
}

TEST_F(FaultTest, AnInterruptedSettingsSaveLeavesNoTemporaryFile) {
  const int status = RunInterrupted(Input(), FileStep::kPrivateFileWrite, 1, SIGTERM);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(ReadFile(Output()).size(), Large().size());  // the conversion was complete
  EXPECT_TRUE(StateOf(Settings()) == settingsBefore_);
  EXPECT_EQ(ListDirectory(temp_.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"});
}

// The real program, killed by a signal from outside while it converts a large file. The signal is
// sent as soon as the temporary output appears, so the run is in the middle of the file.
TEST(InterruptedProgramTest, ASignalFromOutsideLeavesNoTemporaryFile) {
  for (const int signalNumber : {SIGINT, SIGTERM}) {
    ScratchDirectory work;
    ScratchDirectory temp;
    std::string input;
    const std::string line(1000, 'a');
    input.reserve(std::size_t{64} << 20);
    while (input.size() < (std::size_t{64} << 20)) input += line + "\r\n";
    WriteFile(work.File("big.txt"), input);
    input.clear();
    WriteFile(work.File("big.cvt.txt"), "precious");
    const auto before = ListDirectory(work.Path());

    const pid_t child = fork();
    if (child == 0) {
      for (const int each : {SIGINT, SIGTERM}) signal(each, SIG_DFL);
      setenv("TEMP", temp.Path().c_str(), 1);
      if (chdir(work.Path().c_str()) != 0) _exit(126);
      execl(MIROVEX_BINARY, MIROVEX_BINARY, "big.txt", static_cast<char*>(nullptr));
      _exit(127);
    }
    bool started = false;
    int status = 0;
    for (;;) {
      const auto names = ListDirectory(work.Path());
      started = std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return name.rfind(".mirovex-", 0) == 0;
      });
      if (started || waitpid(child, &status, WNOHANG) == child) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!started) {
      GTEST_SKIP() << "the run ended before it could be interrupted";
    }
    kill(child, signalNumber);
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      GTEST_SKIP() << "the run ended before the signal came";
    }
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), signalNumber);
    EXPECT_EQ(ListDirectory(work.Path()), before);
    EXPECT_EQ(ReadFile(work.File("big.cvt.txt")), "precious");
    EXPECT_EQ(ListDirectory(temp.Path()), std::vector<std::string>{});
  }
}

// A file size limit (ulimit -f) below the output's size: reported as a write failure, not a process
// killed by SIGXFSZ with half an output left behind.
TEST(FileSizeLimitTest, ALimitBelowTheOutputIsAWriteFailureWithoutLeftovers) {
  ScratchDirectory work;
  ScratchDirectory temp;
  WriteFile(work.File("big.txt"), LargeInput());
  WriteFile(work.File("big.cvt.txt"), "precious");
  const auto before = ListDirectory(work.Path());
  const std::string errPath = temp.File("err");
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{std::size_t{1} << 20, std::size_t{1} << 20};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || chdir(work.Path().c_str()) != 0 ||
        !freopen(errPath.c_str(), "w", stderr)) {
      _exit(126);
    }
    setenv("TEMP", temp.Path().c_str(), 1);
    execl(MIROVEX_BINARY, MIROVEX_BINARY, "big.txt", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(ReadFile(errPath),
            "Mirovex: cannot write output file \"big.cvt.txt\": File too large\n");
  EXPECT_EQ(ListDirectory(work.Path()), before);
  EXPECT_EQ(ReadFile(work.File("big.cvt.txt")), "precious");
}

}  // namespace
