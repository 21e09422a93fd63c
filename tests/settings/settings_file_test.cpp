#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_file.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::ScratchDirectory;
using testing_support::WriteFile;

// Sets or unsets environment variables for one test and puts them back afterwards.
class EnvironmentOverride {
 public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvironmentOverride() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(GetSettingsPathTest, UsesTheUsersTemporaryDirectory) {
  const struct {
    const char* temp;
    const char* tmpdir;
    const char* expected;
  } cases[] = {
      {"/var/t", "/other", "/var/t/Mirovex_Tempconf.cvt"},
      {"/var/t/", nullptr, "/var/t//Mirovex_Tempconf.cvt"},  // the separator is always added
      {"", "/other", "/other/Mirovex_Tempconf.cvt"},
      {nullptr, "/other", "/other/Mirovex_Tempconf.cvt"},
      {nullptr, nullptr, "/tmp/Mirovex_Tempconf.cvt"},
  };
  for (const auto& c : cases) {
    EnvironmentOverride environment;
    environment.Set("TEMP", c.temp);
    environment.Set("TMPDIR", c.tmpdir);
    EXPECT_EQ(GetSettingsPath(), c.expected);
  }
}

TEST(LoadSettingsTest, ReadsNumbersAsPercentUDoes) {
  const struct {
    const char* contents;
    CodePage source;
    CodePage target;
  } cases[] = {
      {"1252 65001", 1252, 65001},
      {"437\r\n850\r\n", 437, 850},
      {"\t 20127\v\f37 ", 20127, 37},
      {"1252", 1252, 936},
      {"", 932, 936},
      {"   \n", 932, 936},
      {"x 1252", 932, 936},
      {"1252 x", 1252, 936},
      {"1 2 3", 1, 2},
      {"1252x65001", 1252, 936},
      {"+1252 -1", 1252, 4294967295u},
      {"99999999999 5", 4294967295u, 5},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    WriteFile(dir.File("s"), c.contents);
    CodePage source = 932;
    CodePage target = 936;
    LoadSettings(dir.File("s"), source, target);
    EXPECT_EQ(source, c.source) << '"' << c.contents << '"';
    EXPECT_EQ(target, c.target) << '"' << c.contents << '"';
  }
}

TEST(LoadSettingsTest, LeavesTheDefaultsForAFileThatCannotOrMustNotBeRead) {
  ScratchDirectory dir;
  WriteFile(dir.File("elsewhere"), "1252 65001");
  ASSERT_EQ(symlink(dir.File("elsewhere").c_str(), dir.File("link").c_str()), 0);
  ASSERT_EQ(mkdir(dir.File("dir").c_str(), 0700), 0);
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  for (const char* name : {"missing", "link", "dir", "fifo"}) {
    CodePage source = 932;
    CodePage target = 936;
    LoadSettings(dir.File(name), source, target);
    EXPECT_EQ(source, 932u) << name;
    EXPECT_EQ(target, 936u) << name;
  }
}

TEST(SaveSettingsTest, WritesBothFormatsWithoutALineEndForTheUserAlone) {
  ScratchDirectory dir;
  const std::string path = dir.File("Mirovex_Tempconf.cvt");
  SaveSettings(path, 1252, 65001, kFormatAfterConversion);
  EXPECT_EQ(ReadFile(path), "1252 65001");
  struct stat status {};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  SaveSettings(path, 4294967295u, 37, kFormatAfterCancel);
  EXPECT_EQ(ReadFile(path), "4294967295 37");
  SaveSettings(path, 4294967295u, 37, kFormatAfterConversion);
  EXPECT_EQ(ReadFile(path), "-1 37");
  EXPECT_EQ(testing_support::ListDirectory(dir.Path()),
            std::vector<std::string>{"Mirovex_Tempconf.cvt"});
}

TEST(SaveSettingsTest, NeverWritesThroughALinkOrIntoSomethingElse) {
  ScratchDirectory dir;
  WriteFile(dir.File("victim"), "keep me");
  ASSERT_EQ(symlink(dir.File("victim").c_str(), dir.File("link").c_str()), 0);
  ASSERT_EQ(mkdir(dir.File("dir").c_str(), 0700), 0);
  SaveSettings(dir.File("link"), 1, 2, kFormatAfterConversion);
  SaveSettings(dir.File("dir"), 1, 2, kFormatAfterConversion);
  SaveSettings(dir.File("missing/settings"), 1, 2, kFormatAfterConversion);  // only a warning
  EXPECT_EQ(ReadFile(dir.File("victim")), "keep me");
  EXPECT_FALSE(FileExists(dir.File("missing")));
  EXPECT_EQ(testing_support::ListDirectory(dir.Path()),
            (std::vector<std::string>{"dir", "link", "victim"}));
}

}  // namespace
