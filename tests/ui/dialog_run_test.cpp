// Dialog runs end to end: the whole run in this process with the real dialog step, driven by
// mouse and keyboard; and the program itself when no display can be reached.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <cstdlib>

#include "app/run.h"
#include "codepage/installed_list.h"
#include "tests/support/test_support.h"
#include "tests/ui/dialog_driver.h"
#include "ui/dialog_step.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::ScratchDirectory;
using testing_support::WriteFile;

const std::string kShiftJisSample = "\x82\xa0\x82\xa2\r\nabc\r\n";  // "あい", "abc"
const std::string kUtf8Output = "\xe3\x81\x82\xe3\x81\x84\r\nabc\r\n";

// Whether the dialog was gone when the step handed the pair back to the run.
bool g_dialogGoneAfterStep = false;

int ShowDialogAndCheckItIsGone(const std::string& inputPath, CodePage& source, CodePage& target,
                               std::string& failureReason) {
  const int result = ShowConfigurationDialog(inputPath, source, target, failureReason);
  g_dialogGoneAfterStep = true;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (qobject_cast<const CMirovexDialog*>(window) != nullptr) g_dialogGoneAfterStep = false;
  }
  return result;
}

class DialogRunTest : public testing::Test {
 protected:
  void SetUp() override {
    dialog_testing::ResetInstalledList();
    const char* temp = std::getenv("TEMP");
    if (temp != nullptr) savedTemp_ = temp;
    setenv("TEMP", scratch_.Path().c_str(), 1);
    WriteFile(input_, kShiftJisSample);
  }
  void TearDown() override {
    if (savedTemp_.empty()) {
      unsetenv("TEMP");
    } else {
      setenv("TEMP", savedTemp_.c_str(), 1);
    }
  }

  // Runs "Mirovex -C input" in this process; `inDialog` acts on the dialog while it is open.
  int RunDialogRun(const std::function<void(CMirovexDialog&)>& inDialog) {
    bool shown = false;
    dialog_testing::WhenNextLoopRuns([&] {
      auto* dialog = qobject_cast<CMirovexDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown = true;
      dialog_testing::Activate(*dialog);
      inDialog(*dialog);
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog was left open";
        dialog->reject();
      }
    });
    const char* argv[] = {"Mirovex", "-C", input_.c_str(), nullptr};
    g_dialogGoneAfterStep = false;
    const int exitCode = RunMirovex(3, argv, ShowDialogAndCheckItIsGone);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(g_dialogGoneAfterStep);
    return exitCode;
  }

  static void PickTarget(CMirovexDialog& dialog, CodePage codePage) {
    auto* list = qobject_cast<QComboBox*>(dialog.ControlById(IDC_COMBO_DST));
    ASSERT_NE(list, nullptr);
    dialog_testing::PickWithMouse(*list, FindInstalledIndex(codePage));
  }

  ScratchDirectory scratch_;
  std::string input_ = scratch_.File("sample.txt");
  std::string output_ = scratch_.File("sample.cvt.txt");
  std::string settings_ = scratch_.File("Mirovex_Tempconf.cvt");
  std::string savedTemp_;
};

TEST_F(DialogRunTest, OkConvertsWithTheChosenPairAndRemembersIt) {
  const int exitCode = RunDialogRun([](CMirovexDialog& dialog) {
    PickTarget(dialog, 65001);
    QTest::mouseClick(dialog.ControlById(IDOK), Qt::LeftButton);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ReadFile(output_), kUtf8Output);
  EXPECT_EQ(ReadFile(settings_), "932 65001");

  // The next plain run converts with the remembered pair, without any dialog.
  std::remove(output_.c_str());
  const char* argv[] = {"Mirovex", input_.c_str(), nullptr};
  EXPECT_EQ(RunMirovex(2, argv, nullptr), 0);
  EXPECT_EQ(ReadFile(output_), kUtf8Output);
}

TEST_F(DialogRunTest, EndingOtherwiseKeepsThePairAsLoadedAndConvertsNothing) {
  const struct {
    const char* what;
    std::function<void(CMirovexDialog&)> end;
  } cases[] = {
      {"Cancel button",
       [](CMirovexDialog& dialog) { QTest::mouseClick(dialog.ControlById(IDCANCEL), Qt::LeftButton); }},
      {"Escape", [](CMirovexDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
      {"Close command", [](CMirovexDialog& dialog) { dialog.OnSysCommand(0xF060, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_testing::ResetInstalledList();
    WriteFile(settings_, "1252 936");
    const int exitCode = RunDialogRun([&](CMirovexDialog& dialog) {
      PickTarget(dialog, 65001);
      c.end(dialog);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(FileExists(output_));
    EXPECT_EQ(ReadFile(settings_), "1252 936");
  }
}

TEST(DialogRunWithoutDisplay, EndsWithExitCodeFiveAndKeepsThePair) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> environment;  // an empty value unsets the variable
  };
  const Case cases[] = {
      {"no display at all", {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}},
      {"X11 asked for, no DISPLAY",
       {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", "wayland-0"}}},
      {"no X server at DISPLAY",
       {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ":4242"}, {"WAYLAND_DISPLAY", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDirectory scratch;
    WriteFile(scratch.File("sample.txt"), kShiftJisSample);
    WriteFile(scratch.File("Mirovex_Tempconf.cvt"), "1252 65001");
    std::map<std::string, std::string> environment = c.environment;
    environment["TEMP"] = scratch.Path();

    const auto dialogRun =
        testing_support::RunMirovexProgram({"-C", "sample.txt"}, scratch.Path(), environment);
    EXPECT_EQ(dialogRun.exitCode, 5);
    EXPECT_EQ(dialogRun.out, "");
    EXPECT_EQ(dialogRun.err.rfind("Mirovex: the configuration dialog could not be shown: ", 0), 0u)
        << dialogRun.err;
    EXPECT_EQ(std::count(dialogRun.err.begin(), dialogRun.err.end(), '\n'), 1);
    EXPECT_FALSE(FileExists(scratch.File("sample.cvt.txt")));
    EXPECT_EQ(ReadFile(scratch.File("Mirovex_Tempconf.cvt")), "1252 65001");

    // A plain run needs no display.
    const auto plainRun =
        testing_support::RunMirovexProgram({"sample.txt"}, scratch.Path(), environment);
    EXPECT_EQ(plainRun.exitCode, 0) << plainRun.err;
    EXPECT_TRUE(FileExists(scratch.File("sample.cvt.txt")));
  }
}

}  // namespace
