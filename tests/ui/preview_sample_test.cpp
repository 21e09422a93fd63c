// The sample of the file and the two preview texts built from it.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QTest>

#include "tests/support/test_support.h"
#include "tests/ui/dialog_driver.h"

namespace {

using dialog_testing::InspectableDialog;
using dialog_testing::PaneLines;
using dialog_testing::RunModal;

std::string Lines(int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

// What a dialog shows of a file, read while it is open.
struct Preview {
  std::vector<std::string> sample;
  std::string sourceText;
  std::string targetText;
  std::uint32_t sourceMaxLen = 0;
  std::uint32_t sourceMaxWidth = 0;
  std::uint32_t targetMaxLen = 0;
  std::uint32_t targetMaxWidth = 0;
  QStringList sourcePane;
  QStringList targetPane;
  QFont paneFont;
};

Preview PreviewOf(const std::string& path, CodePage source, CodePage target) {
  dialog_testing::ResetInstalledList();
  InspectableDialog dialog;
  dialog.m_nSrcCodePage = source;
  dialog.m_nDstCodePage = target;
  dialog.SetFilePath(path);
  Preview preview;
  RunModal(dialog, [&] {
    preview = {dialog.m_vecSampleLines, dialog.m_strSrcText, dialog.m_strDstText,
               dialog.m_nSrcMaxLen,     dialog.m_nSrcMaxWidth, dialog.m_nDstMaxLen,
               dialog.m_nDstMaxWidth,   PaneLines(dialog.m_editSrc), PaneLines(dialog.m_editDst),
               dialog.m_editSrc.font()};
    dialog.reject();
  });
  return preview;
}

TEST(PreviewSample, FirstTenLinesEachFollowedByCrLf) {
  struct Case {
    const char* what;
    std::string contents;
    std::vector<std::string> sample;
    std::uint32_t maxLen;
  };
  const Case cases[] = {
      {"three short lines", "a\nbb\nccc\n", {"a", "bb", "ccc"}, 3},
      {"25 lines: the first 10 only", Lines(1, 25),
       {"line 1", "line 2", "line 3", "line 4", "line 5", "line 6", "line 7", "line 8", "line 9",
        "line 10"},
       7},
      {"blank lines count against the ten", "\n\nx\n\n\n\n\n\n\n\nnot shown\n",
       {"", "", "x", "", "", "", "", "", "", ""}, 1},
      {"CR LF line ends, last line without one", "one\r\ntwo\r\nthree", {"one", "two", "three"}, 5},
      {"Ctrl-Z ends the text", "kept\n\x1Agone\n", {"kept"}, 4},
  };
  testing_support::ScratchDirectory scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = scratch.File("sample.txt");
    testing_support::WriteFile(path, c.contents);
    const Preview preview = PreviewOf(path, 1252, 65001);
    EXPECT_EQ(preview.sample, c.sample);
    std::string text;
    QStringList shown;
    for (const std::string& line : c.sample) {
      text += line + "\r\n";
      shown << QString::fromStdString(line);
    }
    shown << QString();  // the last "\r\n" leaves an empty line at the end
    EXPECT_EQ(preview.sourceText, text);
    EXPECT_EQ(preview.targetText, text);  // ASCII is the same in 1252 and UTF-8
    EXPECT_EQ(preview.sourcePane, shown);
    EXPECT_EQ(preview.targetPane, shown);
    EXPECT_EQ(preview.sourceMaxLen, c.maxLen);
    EXPECT_EQ(preview.targetMaxLen, c.maxLen);
    EXPECT_GT(preview.sourceMaxWidth, c.maxLen);  // every letter is wider than one pixel
    EXPECT_EQ(preview.targetMaxWidth, preview.sourceMaxWidth);
  }
}

TEST(PreviewSample, WidthsArePixelsOfTheWidestLineNotOfTheLongest) {
  testing_support::ScratchDirectory scratch;
  const std::string path = scratch.File("sample.txt");
  // 5 bytes of wide letters against 6 bytes of narrow ones.
  testing_support::WriteFile(path, "WWWWW\niiiiii\n\n");
  const Preview preview = PreviewOf(path, 1252, 1252);
  const QFontMetrics metrics(preview.paneFont);
  ASSERT_GT(metrics.horizontalAdvance("WWWWW"), metrics.horizontalAdvance("iiiiii"));
  EXPECT_EQ(preview.sourceMaxLen, 6u);
  EXPECT_EQ(preview.sourceMaxWidth, static_cast<std::uint32_t>(metrics.horizontalAdvance("WWWWW")));
  EXPECT_EQ(preview.targetMaxWidth, preview.sourceMaxWidth);
}

TEST(PreviewSample, NothingToPreviewLeavesEverythingEmpty) {
  testing_support::ScratchDirectory scratch;
  testing_support::WriteFile(scratch.File("empty.txt"), "");
  const std::string cases[] = {scratch.File("empty.txt"), scratch.File("missing.txt"),
                               scratch.Path()};  // a directory cannot be read as a file
  for (const std::string& path : cases) {
    SCOPED_TRACE(path);
    const Preview preview = PreviewOf(path, 932, 936);
    EXPECT_TRUE(preview.sample.empty());
    EXPECT_EQ(preview.sourceText, "");
    EXPECT_EQ(preview.targetText, "");
    EXPECT_EQ(preview.sourceMaxLen + preview.sourceMaxWidth + preview.targetMaxLen +
                  preview.targetMaxWidth,
              0u);
    EXPECT_EQ(preview.sourcePane, QStringList{QString()});
    EXPECT_EQ(preview.targetPane, QStringList{QString()});
  }
}

TEST(PreviewSample, FailedConversionsShowAsEmptyLines) {
  testing_support::ScratchDirectory scratch;
  const std::string path = scratch.File("sample.txt");
  testing_support::WriteFile(path, "one\ntwo\n\nfour\n");
  const Preview preview = PreviewOf(path, 1252, 12345);  // 12345 is no code page
  EXPECT_EQ(preview.targetText, "\r\n\r\n\r\n\r\n");
  EXPECT_EQ(preview.targetMaxLen, 0u);
  EXPECT_EQ(preview.targetMaxWidth, 0u);
  EXPECT_EQ(preview.targetPane.size(), 5);
  EXPECT_EQ(preview.sourceMaxLen, 4u);
}

TEST(PreviewSample, PanesDecodeTheBytesAsTheSystemDoesNotWithTheChosenCodePages) {
  testing_support::ScratchDirectory scratch;
  const std::string path = scratch.File("sample.txt");
  const std::string shiftJis = "\x82\xa0";  // "あ" in 932
  testing_support::WriteFile(path, shiftJis + "\n");
  const Preview preview = PreviewOf(path, 932, 65001);
  EXPECT_EQ(preview.sourcePane.at(0), QString::fromLocal8Bit(shiftJis.c_str()));
  EXPECT_NE(preview.sourcePane.at(0), QString::fromUtf8("あ"));
  EXPECT_EQ(preview.targetText, "\xe3\x81\x82\r\n");
  EXPECT_EQ(preview.targetPane.at(0), QString::fromLocal8Bit("\xe3\x81\x82"));
}

}  // namespace
