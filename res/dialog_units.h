// Dialog units to pixels, as Windows converts them for a dialog's font.
#pragma once

#include "res/dialog_template.h"

// The font's dialog base units in pixels.
struct DialogBaseUnits {
  int averageCharWidth = 0;
  int height = 0;
};

// Windows' average character width: the width of "A".."Z" and "a".."z" divided by 52, rounded.
inline constexpr const char* kDialogUnitAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
int AverageCharWidthFromAlphabet(int alphabetWidth);

// One coordinate: horizontal units are a quarter of the average width, vertical an eighth of the
// height, rounded half away from zero as MulDiv does.
int HorizontalDialogUnitsToPixels(int units, const DialogBaseUnits& base);
int VerticalDialogUnitsToPixels(int units, const DialogBaseUnits& base);

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

PixelRect DialogUnitsToPixels(const DialogUnitRect& rect, const DialogBaseUnits& base);
