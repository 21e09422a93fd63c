// The window menu of the configuration dialog, its About entry and the About box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <memory>

#include "tests/support/test_support.h"
#include "tests/ui/dialog_driver.h"
#include "ui/about_dialog.h"

namespace {

using dialog_testing::ClickMenuEntry;
using dialog_testing::InspectableDialog;
using dialog_testing::MenuTexts;
using dialog_testing::OpenMenu;
using dialog_testing::RunModal;
using dialog_testing::WhenNextLoopRuns;

enum class Opener { kRightClick, kAltSpace, kShiftF10 };

// Opens the dialog's window menu as the user would and runs `inMenu` while it is open.
void OpenSystemMenu(TemplateDialog& dialog, Opener opener,
                    const std::function<void(QMenu&)>& inMenu) {
  bool opened = false;
  WhenNextLoopRuns([&] {
    QMenu* menu = OpenMenu();
    if (menu == nullptr) return;
    opened = true;
    inMenu(*menu);
    if (menu->isVisible()) menu->close();
  });
  switch (opener) {
    case Opener::kRightClick: {
      // The free area left of the buttons, below the panes.
      const QPoint freeArea(dialog.width() / 2, dialog.ControlById(IDOK)->y() + 2);
      ASSERT_EQ(dialog.childAt(freeArea), nullptr);
      QTest::mouseClick(dialog.windowHandle(), Qt::RightButton, {}, freeArea);
      break;
    }
    case Opener::kAltSpace:
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space, Qt::AltModifier);
      break;
    case Opener::kShiftF10:
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
      break;
  }
  QCoreApplication::processEvents();  // a menu that did not open leaves no pending action
  EXPECT_TRUE(opened) << "no menu opened";
}

class SystemMenuTest : public testing::Test {
 protected:
  void SetUp() override { testing_support::WriteFile(path_, "first line\nsecond line\n"); }

  std::unique_ptr<InspectableDialog> NewDialog() const {
    dialog_testing::ResetInstalledList();
    auto dialog = std::make_unique<InspectableDialog>();
    dialog->m_nSrcCodePage = 1252;
    dialog->m_nDstCodePage = 65001;
    dialog->SetFilePath(path_);
    return dialog;
  }

  testing_support::ScratchDirectory scratch_;
  std::string path_ = scratch_.File("sample.txt");
};

TEST_F(SystemMenuTest, MenuEndsWithSeparatorAndAboutEntry) {
  const auto dialog = NewDialog();
  RunModal(*dialog, [&] {
    OpenSystemMenu(*dialog, Opener::kRightClick, [](QMenu& menu) {
      const std::vector<QString> texts = MenuTexts(menu);
      ASSERT_EQ(texts.size(), 5u);
      EXPECT_EQ(texts[0], "&Move");
      EXPECT_EQ(texts[1], "-");
      EXPECT_TRUE(texts[2].startsWith("&Close"));
      EXPECT_EQ(texts[3], "-");
      EXPECT_EQ(texts[4], "About Mirovex...");
    });
    dialog->reject();
  });
}

TEST_F(SystemMenuTest, EachWayOfOpeningTheMenuLeadsToCloseWhichCancels) {
  const struct {
    const char* what;
    Opener opener;
    bool focusInListField;
  } cases[] = {
      {"right click on the free area", Opener::kRightClick, false},
      {"Alt+Space on OK", Opener::kAltSpace, false},
      {"Alt+Space in a list's field", Opener::kAltSpace, true},
      {"Shift+F10 in a list's field", Opener::kShiftF10, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto dialog = NewDialog();
    const int result = RunModal(*dialog, [&] {
      if (c.focusInListField) dialog->m_cbSrc.lineEdit()->setFocus();
      OpenSystemMenu(*dialog, c.opener, [](QMenu& menu) { ClickMenuEntry(menu, "&Close"); });
    });
    EXPECT_EQ(result, IDCANCEL);
  }
}

TEST_F(SystemMenuTest, AboutEntryOpensTheAboutBoxAndLeavesTheDialogAsItWas) {
  const auto dialog = NewDialog();
  RunModal(*dialog, [&] {
    const std::string sourceText = dialog->m_strSrcText;
    const std::string targetText = dialog->m_strDstText;
    const QString targetPane = dialog->m_editDst.toPlainText();
    bool aboutSeen = false;
    OpenSystemMenu(*dialog, Opener::kRightClick, [&](QMenu& menu) {
      WhenNextLoopRuns([&] {
        auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        aboutSeen = true;
        EXPECT_EQ(about->windowTitle(), "About Mirovex");
        QStringList texts;
        for (const QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
        ASSERT_EQ(texts.size(), 3);
        EXPECT_EQ(texts[0], "About Mirovex 2.0");
        // Centred over the configuration dialog, which owns it.
        EXPECT_EQ(about->parentWidget(), dialog.get());
        EXPECT_LE((about->frameGeometry().center() - dialog->frameGeometry().center()).manhattanLength(), 2);
        QWidget* ok = about->ControlById(IDOK);
        ASSERT_NE(ok, nullptr);
        EXPECT_GT(ok->x(), about->width() / 2);
        EXPECT_GT(ok->y(), about->height() / 2);
        QTest::mouseClick(ok, Qt::LeftButton);
      });
      ClickMenuEntry(menu, "About");
    });
    EXPECT_TRUE(aboutSeen);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->m_nSrcCodePage, 1252u);
    EXPECT_EQ(dialog->m_nDstCodePage, 65001u);
    EXPECT_EQ(dialog->m_strSrcText, sourceText);
    EXPECT_EQ(dialog->m_strDstText, targetText);
    EXPECT_EQ(dialog->m_editDst.toPlainText(), targetPane);
    dialog->reject();
  });
}

TEST_F(SystemMenuTest, CommandsSixteenToThirtyOneOpenTheAboutBox) {
  const auto dialog = NewDialog();
  const int result = RunModal(*dialog, [&] {
    const struct {
      unsigned command;
      bool opensAbout;
    } cases[] = {{0x0010, true}, {0x0013, true}, {0x001F, true}, {0x0020, false},
                 {0x0000, false}, {0xF010, false}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.command);
      bool opened = false;
      WhenNextLoopRuns([&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<CAboutDlg*>(modal) == nullptr) return;
        opened = true;
        QTest::keyClick(modal, Qt::Key_Escape);
      });
      dialog->OnSysCommand(c.command, 0);
      QCoreApplication::processEvents();
      EXPECT_EQ(opened, c.opensAbout);
      EXPECT_TRUE(dialog->isVisible());
    }
    // Close, with the low four bits that belong to the window system set.
    dialog->OnSysCommand(0xF063, 0);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST(AboutBox, OkAndEscapeEndIt) {
  const struct {
    Qt::Key key;
    int result;
  } cases[] = {{Qt::Key_Return, IDOK}, {Qt::Key_Escape, IDCANCEL}};
  for (const auto& c : cases) {
    CAboutDlg about;
    const int result = RunModal(about, [&] {
      // Its own window menu carries no About entry.
      ASSERT_NE(about.GetSystemMenu(), nullptr);
      EXPECT_EQ(about.GetSystemMenu()->Entries().back().command, SC_CLOSE);
      QTest::keyClick(&about, c.key);
    });
    EXPECT_EQ(result, c.result);
  }
}

}  // namespace
