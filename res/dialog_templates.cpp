#include <array>

#include "res/dialog_template.h"
#include "res/resource.h"

namespace {

constexpr int kLanguageChineseSimplified = 2052;
constexpr int kDefaultCharset = 1;
constexpr int kNormalWeight = 400;
constexpr DialogFont kShellFont{"MS Shell Dlg", 8, kNormalWeight, false, kDefaultCharset};
constexpr std::uint32_t kModalDialogStyle =
    kDsShellFont | kDsModalFrame | kWsPopup | kWsCaption | kWsSysMenu;
constexpr std::uint32_t kPreviewStyle =
    kEsMultiline | kEsAutoHScroll | kEsReadOnly | kWsBorder | kWsHScroll | kWsTabStop;
constexpr std::uint32_t kPreviewExtendedStyle = kWsExStaticEdge | kWsExDlgModalFrame;

const std::array<DialogTemplate, 2>& Templates() {
  static const std::array<DialogTemplate, 2> templates{{
      {IDD_CONFIG,
       kLanguageChineseSimplified,
       "Configuration - Mirovex 2.0",
       {0, 0, 316, 183},
       kModalDialogStyle,
       0,
       kShellFont,
       {
           {IDOK, ControlClass::kButton, "OK", {205, 162, 50, 14}, kBsDefPushButton | kWsTabStop, 0},
           {IDCANCEL, ControlClass::kButton, "Cancel", {259, 162, 50, 14},
            kBsPushButton | kWsTabStop, 0},
           // A combo box's height covers its edit field and its opened list.
           {IDC_COMBO_SRC, ControlClass::kComboBox, "", {6, 6, 132, 89},
            kCbsDropDown | kWsVScroll | kWsTabStop, 0},
           {IDC_STATIC, ControlClass::kStatic, "===>", {146, 8, 22, 8}, kSsLeft | kWsGroup, 0},
           {IDC_COMBO_DST, ControlClass::kComboBox, "", {174, 6, 132, 102},
            kCbsDropDown | kWsVScroll | kWsTabStop, 0},
           {IDC_EDIT_DST, ControlClass::kEdit, "", {162, 24, 144, 126}, kPreviewStyle,
            kPreviewExtendedStyle},
           {IDC_EDIT_SRC, ControlClass::kEdit, "", {6, 24, 144, 126}, kPreviewStyle,
            kPreviewExtendedStyle},
       }},
      {IDD_ABOUTBOX,
       kLanguageChineseSimplified,
       "About Mirovex",
       {0, 0, 190, 105},
       kModalDialogStyle,
       0,
       kShellFont,
       {
           {IDOK, ControlClass::kButton, "OK", {120, 78, 50, 14}, kBsDefPushButton | kWsTabStop, 0},
           {IDC_STATIC, ControlClass::kStatic, "About Mirovex 2.0", {42, 18, 102, 8},
            kSsLeft | kWsGroup, 0},
           {IDC_STATIC, ControlClass::kStatic, "Free software.", {42, 30, 60, 12},
            kSsLeft | kWsGroup, 0},
           {IDC_STATIC, ControlClass::kStatic, "Questions: the Mirovex issue tracker", {42, 60, 122, 11},
            kSsLeft | kWsGroup, 0},
       }},
  }};
  return templates;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& dialog : Templates()) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}
