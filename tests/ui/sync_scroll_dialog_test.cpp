// The panes scroll sideways in step: a real action on one pane's scroll bar moves the other.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "tests/support/test_support.h"
#include "tests/ui/dialog_driver.h"
#include "ui/sync_scroll.h"

namespace {

using dialog_testing::InspectableDialog;
using dialog_testing::RunModal;

// Records the WM_SYNCSCROLL events that reach the dialog, by pane number.
class SyncScrollRecorder : public QObject {
 public:
  explicit SyncScrollRecorder(QObject& dialog) { dialog.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == static_cast<QEvent::Type>(WM_SYNCSCROLL)) {
      panes.push_back(static_cast<int>(static_cast<SyncScrollEvent*>(event)->WParam()));
    }
    return false;
  }
  std::vector<int> panes;
};

void HandlePostedSyncScrolls(QObject& dialog) {
  QCoreApplication::sendPostedEvents(&dialog, WM_SYNCSCROLL);
}

class SyncScrollDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    dialog_testing::ResetInstalledList();
    // Long lines, with "é" (1 byte in 1252, 2 in UTF-8) so that the two sides differ.
    std::string text;
    for (std::size_t i = 0; i < 10; ++i) {
      text += "line " + std::to_string(i) + std::string(40 + i, 'x') + std::string(30, '\xe9') +
              std::string(60, 'm') + "\n";
    }
    testing_support::WriteFile(path_, text);
    dialog_.m_nSrcCodePage = 1252;
    dialog_.m_nDstCodePage = 65001;
    dialog_.SetFilePath(path_);
  }

  PaneScrollState StateOf(const CEditScroll& pane) {
    const bool source = &pane == &dialog_.m_editSrc;
    const QScrollBar* bar = pane.horizontalScrollBar();
    return {source ? dialog_.m_nSrcMaxLen : dialog_.m_nDstMaxLen,
            source ? dialog_.m_nSrcMaxWidth : dialog_.m_nDstMaxWidth,
            pane.viewport()->width(),
            bar->minimum(),
            bar->maximum(),
            bar->value()};
  }

  // Where `other` must stand after following `scrolled`, from the arithmetic.
  int FollowingPosition(const CEditScroll& scrolled, const CEditScroll& other) {
    const int n = SyncScrollCharacters(StateOf(scrolled), StateOf(other));
    EXPECT_NE(n, 0) << "the case moves nothing";
    const QScrollBar* bar = other.horizontalScrollBar();
    const int step = QFontMetrics(other.font()).averageCharWidth();
    return std::clamp(bar->value() + n * step, bar->minimum(), bar->maximum());
  }

  testing_support::ScratchDirectory scratch_;
  std::string path_ = scratch_.File("long.txt");
  InspectableDialog dialog_;
};

TEST_F(SyncScrollDialogTest, AScrollBarActionOnEitherPaneMovesTheOther) {
  RunModal(dialog_, [&] {
    struct Case {
      CEditScroll& scrolled;
      CEditScroll& other;
      QAbstractSlider::SliderAction action;
    };
    const Case cases[] = {
        {dialog_.m_editSrc, dialog_.m_editDst, QAbstractSlider::SliderPageStepAdd},
        {dialog_.m_editDst, dialog_.m_editSrc, QAbstractSlider::SliderToMaximum},
        {dialog_.m_editSrc, dialog_.m_editDst, QAbstractSlider::SliderToMinimum},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.scrolled.m_nPaneId);
      SyncScrollRecorder recorder(dialog_);
      const int otherBefore = c.other.horizontalScrollBar()->value();
      c.scrolled.horizontalScrollBar()->triggerAction(c.action);
      // The dialog handles the posted message only after the pane has scrolled.
      EXPECT_EQ(c.other.horizontalScrollBar()->value(), otherBefore);
      const int expected = FollowingPosition(c.scrolled, c.other);
      HandlePostedSyncScrolls(dialog_);
      EXPECT_EQ(recorder.panes, std::vector<int>{c.scrolled.m_nPaneId});
      EXPECT_EQ(c.other.horizontalScrollBar()->value(), expected);
      // Moving the other pane posted nothing: no echo.
      HandlePostedSyncScrolls(dialog_);
      EXPECT_EQ(recorder.panes.size(), 1u);
    }
    dialog_.reject();
  });
}

TEST_F(SyncScrollDialogTest, ClickingAScrollArrowMovesTheOtherPane) {
  RunModal(dialog_, [&] {
    SyncScrollRecorder recorder(dialog_);
    QScrollBar* bar = dialog_.m_editSrc.horizontalScrollBar();
    // Ten clicks on the right arrow, each handled as it comes.
    for (std::size_t i = 0; i < 10; ++i) {
      QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
      HandlePostedSyncScrolls(dialog_);
    }
    EXPECT_GT(bar->value(), 0);
    EXPECT_GE(recorder.panes.size(), 10u);
    EXPECT_TRUE(std::all_of(recorder.panes.begin(), recorder.panes.end(), [](int p) { return p == 1; }));
    EXPECT_GT(dialog_.m_editDst.horizontalScrollBar()->value(), 0);
    dialog_.reject();
  });
}

TEST_F(SyncScrollDialogTest, OnlyThePanesOwnScrollBarStartsASynchronisation) {
  RunModal(dialog_, [&] {
    SyncScrollRecorder recorder(dialog_);
    // The caret moving to the end of a long line scrolls the pane without its scroll bar.
    dialog_.m_editSrc.setFocus();
    QTest::keyClick(&dialog_.m_editSrc, Qt::Key_End);
    EXPECT_GT(dialog_.m_editSrc.horizontalScrollBar()->value(), 0);
    // New text in the panes (a change of code page) and a direct move post nothing either.
    dialog_.m_cbDst.setCurrentIndex(dialog_.m_cbSrc.currentIndex());
    dialog_.m_editDst.LineScroll(5);
    HandlePostedSyncScrolls(dialog_);
    EXPECT_TRUE(recorder.panes.empty());
    EXPECT_EQ(dialog_.m_editDst.horizontalScrollBar()->value(),
              5 * QFontMetrics(dialog_.m_editDst.font()).averageCharWidth());

    // A message naming neither pane changes nothing.
    const int source = dialog_.m_editSrc.horizontalScrollBar()->value();
    const int target = dialog_.m_editDst.horizontalScrollBar()->value();
    QCoreApplication::postEvent(&dialog_, new SyncScrollEvent(3, 0));
    HandlePostedSyncScrolls(dialog_);
    EXPECT_EQ(dialog_.SyncScroll(0, 0), 0);
    EXPECT_EQ(dialog_.m_editSrc.horizontalScrollBar()->value(), source);
    EXPECT_EQ(dialog_.m_editDst.horizontalScrollBar()->value(), target);
    dialog_.reject();
  });
}

}  // namespace
