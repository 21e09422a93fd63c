#include "ui/sync_scroll.h"

PaneOffset HorizontalOffsetInCharacters(const PaneScrollState& pane) {
  if (pane.longestLineBytes == 0) return {};
  const std::uint32_t averageWidth = pane.widestLinePixels / pane.longestLineBytes;
  if (averageWidth == 0) return {};
  const std::int32_t range = pane.scrollMaximum - pane.scrollMinimum;
  if (range == 0) return {};

  // Wraps like the 32-bit arithmetic it stands for: negative when the widest line fits.
  const auto excessPixels =
      static_cast<std::int32_t>(pane.widestLinePixels - static_cast<std::uint32_t>(pane.clientWidth));
  const auto excessCharacters =
      static_cast<std::int32_t>(static_cast<double>(excessPixels) / static_cast<double>(averageWidth));
  const double fraction =
      static_cast<double>(pane.scrollPosition - pane.scrollMinimum) / static_cast<double>(range);
  return {true, fraction * excessCharacters};
}

std::int32_t SyncScrollCharacters(const PaneScrollState& scrolled, const PaneScrollState& other) {
  const PaneOffset scrolledOffset = HorizontalOffsetInCharacters(scrolled);
  const PaneOffset otherOffset = HorizontalOffsetInCharacters(other);
  if (!scrolledOffset.defined || !otherOffset.defined) return 0;
  // A static_cast from double truncates toward zero, never toward minus infinity.
  return static_cast<std::int32_t>(scrolledOffset.characters - otherOffset.characters);
}
