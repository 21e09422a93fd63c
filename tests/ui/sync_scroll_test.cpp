#include "ui/sync_scroll.h"

#include <gtest/gtest.h>

namespace {

// The two panes of the worked example: the source scrolled half way, the target at its start.
constexpr PaneScrollState kSourceHalfway{50, 400, 200, 0, 399, 200};
constexpr PaneScrollState kTargetAtStart{40, 300, 200, 0, 299, 0};

TEST(SyncScrollArithmetic, WorkedExampleMovesTheOtherPaneByTheTruncatedDifference) {
  // Source: a 8, excess 25 characters, 200/399 of the way: 12.53. Target: offset 0.
  EXPECT_NEAR(HorizontalOffsetInCharacters(kSourceHalfway).characters, 12.531, 0.001);
  EXPECT_EQ(HorizontalOffsetInCharacters(kTargetAtStart).characters, 0.0);
  EXPECT_EQ(SyncScrollCharacters(kSourceHalfway, kTargetAtStart), 12);
  // The other way round -12.53 truncates toward zero, not to -13.
  EXPECT_EQ(SyncScrollCharacters(kTargetAtStart, kSourceHalfway), -12);
}

TEST(SyncScrollArithmetic, ExcessIsNegativeWhenTheWidestLineFits) {
  // a = 120 / 30 = 4, excess 120 - 200 = -80 pixels = -20 characters; at the end of the range the
  // whole excess counts.
  const PaneScrollState fitting{30, 120, 200, 10, 110, 110};
  EXPECT_EQ(HorizontalOffsetInCharacters(fitting).characters, -20.0);
  EXPECT_EQ(SyncScrollCharacters(fitting, kTargetAtStart), -20);
}

TEST(SyncScrollArithmetic, EachPaneIsMeasuredAgainstItsOwnRange) {
  // Position 60 in 50..150 is 10% of the way; with the same excess as the worked example's source
  // (25 characters), 2.5 characters.
  const PaneScrollState offsetRange{50, 400, 200, 50, 150, 60};
  EXPECT_DOUBLE_EQ(HorizontalOffsetInCharacters(offsetRange).characters, 2.5);
}

TEST(SyncScrollArithmetic, NoMoveWithoutAnOffsetOnEitherSide) {
  struct Case {
    const char* what;
    PaneScrollState pane;
  };
  const Case cases[] = {
      {"no line with a byte (L = 0)", {0, 0, 200, 0, 299, 100}},
      {"average width 0 (W < L)", {50, 40, 200, 0, 299, 100}},
      {"scroll range of zero width", {50, 400, 200, 7, 7, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(HorizontalOffsetInCharacters(c.pane).defined);
    EXPECT_EQ(SyncScrollCharacters(c.pane, kSourceHalfway), 0);
    EXPECT_EQ(SyncScrollCharacters(kSourceHalfway, c.pane), 0);
  }
}

}  // namespace
