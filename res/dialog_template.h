// The dialog templates as data: each dialog is laid out from its description here, so the two
// dialogs keep the proportions, texts, styles and tab order that they have in dialog units.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Style bits, with the values of the Windows headers (which use the same names without "k").
enum WindowStyle : std::uint32_t {
  kWsPopup = 0x80000000u,
  kWsChild = 0x40000000u,
  kWsVisible = 0x10000000u,
  kWsCaption = 0x00C00000u,
  kWsBorder = 0x00800000u,
  kWsVScroll = 0x00200000u,
  kWsHScroll = 0x00100000u,
  kWsSysMenu = 0x00080000u,
  kWsGroup = 0x00020000u,
  kWsTabStop = 0x00010000u,
  kDsSetFont = 0x00000040u,
  kDsModalFrame = 0x00000080u,
  kDsFixedSys = 0x00000008u,
  kDsShellFont = kDsSetFont | kDsFixedSys,
  kBsPushButton = 0x00000000u,
  kBsDefPushButton = 0x00000001u,
  kCbsDropDown = 0x00000002u,
  kEsMultiline = 0x00000004u,
  kEsAutoHScroll = 0x00000080u,
  kEsReadOnly = 0x00000800u,
  kSsLeft = 0x00000000u,
};

enum ExtendedWindowStyle : std::uint32_t {
  kWsExDlgModalFrame = 0x00000001u,
  kWsExStaticEdge = 0x00020000u,
};

enum class ControlClass { kButton, kEdit, kStatic, kComboBox };

// A rectangle in dialog units: horizontal units are a quarter of the font's average character
// width, vertical units an eighth of its height.
struct DialogUnitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ControlTemplate {
  int id;
  ControlClass controlClass;
  std::string_view text;
  DialogUnitRect rect;
  std::uint32_t style;  // besides WS_CHILD | WS_VISIBLE, which every control has
  std::uint32_t extendedStyle;
};

struct DialogFont {
  std::string_view face;
  int pointSize;
  int weight;
  bool italic;
  int charset;
};

struct DialogTemplate {
  int id;
  int languageId;
  std::string_view caption;
  DialogUnitRect rect;  // position and client size
  std::uint32_t style;
  std::uint32_t extendedStyle;
  DialogFont font;
  std::vector<ControlTemplate> controls;  // in template order, which is also the tab order
};

// The template with this id; nullptr when the program has none.
const DialogTemplate* FindDialogTemplate(int id);
