// The two code page lists: their entries, the initial selection, and the user's changes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "codepage/installed_list.h"
#include "tests/support/test_support.h"
#include "tests/ui/dialog_driver.h"

namespace {

using dialog_testing::Entries;
using dialog_testing::ExpectedTargetText;
using dialog_testing::InspectableDialog;
using dialog_testing::PickWithMouse;
using dialog_testing::RunModal;

// "あい" and "abc" in Shift-JIS: 4 bytes in 932, 6 in UTF-8 (65001), 4 again in GBK (936).
const std::string kSample = "\x82\xa0\x82\xa2\r\nabc\r\n";

class CodePageListsTest : public testing::Test {
 protected:
  void SetUp() override {
    dialog_testing::ResetInstalledList();
    testing_support::WriteFile(path_, kSample);
  }

  // A dialog prepared as the run prepares it.
  void Prepare(InspectableDialog& dialog, CodePage source, CodePage target) const {
    dialog.m_nSrcCodePage = source;
    dialog.m_nDstCodePage = target;
    dialog.SetFilePath(path_);
  }

  testing_support::ScratchDirectory scratch_;
  std::string path_ = scratch_.File("sample.txt");
};

TEST_F(CodePageListsTest, BothListsOfferTheInstalledListInItsOwnOrder) {
  InspectableDialog dialog;
  Prepare(dialog, 932, 936);
  RunModal(dialog, [&] {
    const std::vector<QString> installed = dialog_testing::InstalledNames();
    ASSERT_GT(installed.size(), 3u);
    EXPECT_EQ(Entries(dialog.m_cbSrc), installed);
    EXPECT_EQ(Entries(dialog.m_cbDst), installed);
    EXPECT_EQ(dialog.m_cbSrc.currentText().left(6), "932 - ");
    EXPECT_EQ(dialog.m_cbDst.currentText().left(6), "936 - ");
    dialog.reject();
  });
}

TEST_F(CodePageListsTest, InitialSelectionAndOkKeepTheCallersPair) {
  struct Case {
    CodePage source;
    CodePage target;
  };
  // 12345 is in no list: its list shows the first entry, yet the member keeps 12345.
  const Case cases[] = {{932, 936}, {12345, 65001}, {65001, 12345}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.source) + " -> " + std::to_string(c.target));
    dialog_testing::ResetInstalledList();
    InspectableDialog dialog;
    Prepare(dialog, c.source, c.target);
    const int result = RunModal(dialog, [&] {
      EXPECT_EQ(dialog.m_cbSrc.currentIndex(), FindInstalledIndex(c.source));
      EXPECT_EQ(dialog.m_cbDst.currentIndex(), FindInstalledIndex(c.target));
      // The preview converts with the members, not with what the lists show.
      EXPECT_EQ(dialog.m_strDstText, ExpectedTargetText(dialog.m_vecSampleLines, c.source, c.target));
      QTest::keyClick(&dialog, Qt::Key_Return);  // the focus is on OK
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_nSrcCodePage, c.source);
    EXPECT_EQ(dialog.m_nDstCodePage, c.target);
  }
}

TEST_F(CodePageListsTest, PickingWithMouseOrKeyboardChangesTheCodePageAndRefreshesThePreview) {
  InspectableDialog dialog;
  Prepare(dialog, 932, 932);
  RunModal(dialog, [&] {
    const std::string sourceText = dialog.m_strSrcText;
    const std::uint32_t sourceWidth = dialog.m_nSrcMaxWidth;
    EXPECT_EQ(dialog.m_nDstMaxLen, 4u);

    // Target 65001 by mouse: the converted lines grow to 6 bytes.
    PickWithMouse(dialog.m_cbDst, FindInstalledIndex(65001));
    EXPECT_EQ(dialog.m_nDstCodePage, 65001u);
    EXPECT_EQ(dialog.m_strDstText, ExpectedTargetText(dialog.m_vecSampleLines, 932, 65001));
    EXPECT_EQ(dialog.m_nDstMaxLen, 6u);
    const std::uint32_t wideWidth = dialog.m_nDstMaxWidth;
    EXPECT_EQ(dialog_testing::PaneLines(dialog.m_editDst).at(0), QString::fromUtf8("あい"));

    // Back to 936 with the keyboard, one step at a time in the list: the maxima fall again.
    dialog.m_cbDst.setFocus();
    const int target = FindInstalledIndex(936);
    const Qt::Key key = target < dialog.m_cbDst.currentIndex() ? Qt::Key_Up : Qt::Key_Down;
    while (dialog.m_cbDst.currentIndex() != target) {
      const int before = dialog.m_cbDst.currentIndex();
      QTest::keyClick(QApplication::focusWidget(), key);
      ASSERT_NE(dialog.m_cbDst.currentIndex(), before) << "the key did not move the selection";
      EXPECT_EQ(dialog.m_nDstCodePage, InstalledCodePageAt(dialog.m_cbDst.currentIndex()));
    }
    EXPECT_EQ(dialog.m_nDstCodePage, 936u);
    EXPECT_EQ(dialog.m_nDstMaxLen, 4u);
    EXPECT_EQ(dialog.m_strDstText, ExpectedTargetText(dialog.m_vecSampleLines, 932, 936));
    EXPECT_NE(dialog.m_nDstMaxWidth, wideWidth);

    // The source side follows the same way; the source preview never changes.
    PickWithMouse(dialog.m_cbSrc, FindInstalledIndex(65001));
    EXPECT_EQ(dialog.m_nSrcCodePage, 65001u);
    EXPECT_EQ(dialog.m_strDstText, ExpectedTargetText(dialog.m_vecSampleLines, 65001, 936));
    EXPECT_EQ(dialog.m_strSrcText, sourceText);
    EXPECT_EQ(dialog.m_nSrcMaxLen, 4u);
    EXPECT_EQ(dialog.m_nSrcMaxWidth, sourceWidth);
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  // Cancel leaves the last picks in the members; the run does not use them.
  EXPECT_EQ(dialog.m_nSrcCodePage, 65001u);
  EXPECT_EQ(dialog.m_nDstCodePage, 936u);
}

TEST_F(CodePageListsTest, TypingIntoAListsFieldChangesNothing) {
  InspectableDialog dialog;
  Prepare(dialog, 932, 936);
  const int result = RunModal(dialog, [&] {
    const std::string targetText = dialog.m_strDstText;
    for (QComboBox* list : {&dialog.m_cbSrc, &dialog.m_cbDst}) {
      const int position = list->currentIndex();
      list->setFocus();
      QLineEdit* field = list->lineEdit();
      QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(field, "65001");
      EXPECT_EQ(field->text(), "65001");
      EXPECT_EQ(list->count(), static_cast<int>(g_InstalledNames.size()));
      EXPECT_EQ(list->currentIndex(), position);
    }
    EXPECT_EQ(dialog.m_nSrcCodePage, 932u);
    EXPECT_EQ(dialog.m_nDstCodePage, 936u);
    EXPECT_EQ(dialog.m_strDstText, targetText);
    // Enter in the field is the dialog's Enter: OK, with the pair as it was.
    QTest::keyClick(dialog.m_cbDst.lineEdit(), Qt::Key_Return);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.m_nSrcCodePage, 932u);
  EXPECT_EQ(dialog.m_nDstCodePage, 936u);
}

TEST_F(CodePageListsTest, TheSameCodePageOnBothSidesIsAccepted) {
  InspectableDialog dialog;
  Prepare(dialog, 932, 936);
  const int result = RunModal(dialog, [&] {
    PickWithMouse(dialog.m_cbDst, FindInstalledIndex(932));
    EXPECT_EQ(dialog.m_strDstText, dialog.m_strSrcText);
    QTest::mouseClick(dialog.ControlById(IDOK), Qt::LeftButton);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.m_nSrcCodePage, 932u);
  EXPECT_EQ(dialog.m_nDstCodePage, 932u);
}

}  // namespace
