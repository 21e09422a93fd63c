#include "res/dialog_units.h"

#include <cstdint>

namespace {

// number * numerator / denominator, rounded half away from zero, as Windows' MulDiv.
int MulDiv(int number, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{number} * numerator;
  const std::int64_t half = denominator / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / denominator
                                            : (product - half) / denominator;
  return static_cast<int>(rounded);
}

}  // namespace

int AverageCharWidthFromAlphabet(int alphabetWidth) { return (alphabetWidth / 26 + 1) / 2; }

int HorizontalDialogUnitsToPixels(int units, const DialogBaseUnits& base) {
  return MulDiv(units, base.averageCharWidth, 4);
}

int VerticalDialogUnitsToPixels(int units, const DialogBaseUnits& base) {
  return MulDiv(units, base.height, 8);
}

PixelRect DialogUnitsToPixels(const DialogUnitRect& rect, const DialogBaseUnits& base) {
  return {HorizontalDialogUnitsToPixels(rect.x, base), VerticalDialogUnitsToPixels(rect.y, base),
          HorizontalDialogUnitsToPixels(rect.width, base),
          VerticalDialogUnitsToPixels(rect.height, base)};
}
