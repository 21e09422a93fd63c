#include "res/dialog_units.h"

#include <gtest/gtest.h>

#include "res/dialog_template.h"
#include "res/resource.h"
#include "res/string_table.h"

namespace {

TEST(DialogUnits, ConvertAsWindowsDoesForTheFontsBaseUnits) {
  // Tahoma 8 pt at 96 dpi: the alphabet is 310 pixels wide, so the average width is 6; height 13.
  const int averageWidth = AverageCharWidthFromAlphabet(310);
  ASSERT_EQ(averageWidth, 6);
  const DialogBaseUnits base{averageWidth, 13};
  struct Case {
    DialogUnitRect units;
    PixelRect pixels;
  };
  const Case cases[] = {
      {{0, 0, 316, 183}, {0, 0, 474, 297}},   // the configuration dialog: 297.4 rounds down
      {{205, 162, 50, 14}, {308, 263, 75, 23}},  // OK: 307.5 and 22.75 round up
      {{6, 24, 144, 126}, {9, 39, 216, 205}},
  };
  for (const Case& c : cases) {
    const PixelRect pixels = DialogUnitsToPixels(c.units, base);
    EXPECT_EQ(pixels.x, c.pixels.x);
    EXPECT_EQ(pixels.y, c.pixels.y);
    EXPECT_EQ(pixels.width, c.pixels.width);
    EXPECT_EQ(pixels.height, c.pixels.height);
  }
}

TEST(DialogUnits, AverageWidthRoundsHalfOfTheLettersWidth) {
  EXPECT_EQ(AverageCharWidthFromAlphabet(0), 0);
  EXPECT_EQ(AverageCharWidthFromAlphabet(337), 6);  // 337 / 26 = 12 -> (12 + 1) / 2
  EXPECT_EQ(AverageCharWidthFromAlphabet(364), 7);  // 14 -> 7
}

TEST(Resources, TemplatesAndStringsThatTheDialogsAreBuiltFrom) {
  const DialogTemplate* config = FindDialogTemplate(IDD_CONFIG);
  const DialogTemplate* about = FindDialogTemplate(IDD_ABOUTBOX);
  ASSERT_NE(config, nullptr);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(FindDialogTemplate(12345), nullptr);
  EXPECT_EQ(config->caption, "Configuration - Mirovex 2.0");
  EXPECT_EQ(about->caption, "About Mirovex");
  EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), "About Mirovex...");
  EXPECT_EQ(LoadResourceString(12345), "");
}

}  // namespace
