// The arithmetic of the synchronised horizontal scrolling of the two preview panes, apart from any
// window so that it can be checked with plain numbers.
#pragma once

#include <cstdint>

// What the computation reads of one pane.
struct PaneScrollState {
  std::uint32_t longestLineBytes = 0;   // L: longest sample line of the pane's side, in bytes
  std::uint32_t widestLinePixels = 0;   // W: widest sample line of the pane's side, in pixels
  std::int32_t clientWidth = 0;         // width of the pane's client area, in pixels
  std::int32_t scrollMinimum = 0;       // range of its horizontal scroll bar
  std::int32_t scrollMaximum = 0;
  std::int32_t scrollPosition = 0;
};

// The pane's current horizontal offset in characters: its relative scroll position times the part
// of its widest line that does not fit, counted in average character widths. Empty when there is
// no such offset: no line with a byte (L = 0), a widest line narrower than one pixel per byte
// (average width 0), or a scroll range of zero width.
struct PaneOffset {
  bool defined = false;
  double characters = 0.0;
};
PaneOffset HorizontalOffsetInCharacters(const PaneScrollState& pane);

// How many characters the other pane must scroll (positive towards the line ends) after `scrolled`
// has moved: the difference of the two offsets, truncated toward zero. 0, so no move, whenever
// either offset is undefined.
std::int32_t SyncScrollCharacters(const PaneScrollState& scrolled, const PaneScrollState& other);
