// Runs at the same time share one settings file. Each save replaces the file whole, so a reader
// never sees a mixture or a cut-off pair, and afterwards the file holds one complete pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "settings/settings_file.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::ListDirectory;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunMirovexProgram;
using testing_support::ScratchDirectory;
using testing_support::WriteFile;

TEST(ConcurrentSettingsTest, SimultaneousSavesAlwaysLeaveOneCompletePair) {
  ScratchDirectory temp;
  const std::string path = temp.File("Mirovex_Tempconf.cvt");
  const std::vector<std::pair<CodePage, CodePage>> pairs = {
      {932, 936}, {1252, 65001}, {4294967295u, 37}, {20127, 1}, {65000, 950}, {437, 850}};
  std::vector<std::string> written;
  for (const auto& [source, target] : pairs) {
    written.push_back(FormatSettings(source, target, kFormatAfterCancel));
  }
  SaveSettings(path, pairs[0].first, pairs[0].second, kFormatAfterCancel);

  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (!done.load()) {
      const platform::PrivateFileRead read = platform::ReadPrivateFile(path, 4096);
      ++reads;
      if (read.status != platform::PrivateFileStatus::kRead ||
          std::find(written.begin(), written.end(), read.contents) == written.end()) {
        ++torn;
      }
    }
  });
  std::vector<std::thread> writers;
  for (const auto& [source, target] : pairs) {
    writers.emplace_back([&path, source = source, target = target] {
      for (int round = 0; round < 300; ++round)
        SaveSettings(path, source, target, kFormatAfterCancel);
    });
  }
  for (std::thread& writer : writers) writer.join();
  done = true;
  reader.join();

  EXPECT_EQ(torn.load(), 0) << "of " << reads.load() << " reads";
  EXPECT_NE(std::find(written.begin(), written.end(), ReadFile(path)), written.end());
  EXPECT_EQ(ListDirectory(temp.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"});
}

TEST(ConcurrentSettingsTest, ProgramsRunningTogetherShareTheFileSafely) {
  ScratchDirectory work;
  ScratchDirectory temp;
  const std::string path = temp.File("Mirovex_Tempconf.cvt");
  WriteFile(path, "932 65001");
  constexpr int kRuns = 12;
  for (int run = 0; run < kRuns; ++run) {
    WriteFile(work.File("data" + std::to_string(run) + ".txt"), "\x93\xFA\x96\x7B\r\n");
  }
  // Meanwhile saves of another pair come and go; each run reads one of the two.
  std::atomic<bool> done{false};
  std::thread saver([&] {
    while (!done.load()) SaveSettings(path, 932, 936, kFormatAfterConversion);
  });
  std::vector<ProgramResult> results(kRuns);
  std::vector<std::thread> runs;
  for (int run = 0; run < kRuns; ++run) {
    runs.emplace_back([&, run] {
      results[static_cast<std::size_t>(run)] = RunMirovexProgram(
          {"data" + std::to_string(run) + ".txt"}, work.Path(), {{"TEMP", temp.Path()}});
    });
  }
  for (std::thread& run : runs) run.join();
  done = true;
  saver.join();

  for (int run = 0; run < kRuns; ++run) {
    const ProgramResult& result = results[static_cast<std::size_t>(run)];
    EXPECT_EQ(result.exitCode, 0) << run << ": " << result.err;
    EXPECT_EQ(result.err, "") << run;
    const std::string output = ReadFile(work.File("data" + std::to_string(run) + ".cvt.txt"));
    EXPECT_TRUE(output == "\xE6\x97\xA5\xE6\x9C\xAC\r\n" || output == "\xC8\xD5\xB1\xBE\r\n")
        << run;
  }
  const std::string last = ReadFile(path);
  EXPECT_TRUE(last == "932 65001" || last == "932 936") << last;
  EXPECT_EQ(ListDirectory(temp.Path()), std::vector<std::string>{"Mirovex_Tempconf.cvt"});
}

}  // namespace
