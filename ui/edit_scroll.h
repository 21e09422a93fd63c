// A preview pane that reports every action of its own horizontal scroll bar to the dialog, so that
// the dialog can move the other pane along (see CMirovexDialog::SyncScroll).
#pragma once

#include <QEvent>
#include <QPlainTextEdit>
#include <cstdint>

// The private message a pane posts to its parent window; wParam is the pane number, lParam 0.
inline constexpr int WM_SYNCSCROLL = 1310;  // WM_USER + 286

class SyncScrollEvent : public QEvent {
 public:
  SyncScrollEvent(std::uintptr_t wParam, std::intptr_t lParam)
      : QEvent(static_cast<QEvent::Type>(WM_SYNCSCROLL)), wParam_(wParam), lParam_(lParam) {}
  std::uintptr_t WParam() const { return wParam_; }
  std::intptr_t LParam() const { return lParam_; }

 private:
  std::uintptr_t wParam_;
  std::intptr_t lParam_;
};

class CEditScroll : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CEditScroll(int paneId);

  // Scrolls the text sideways by `characters` average character widths (negative: back towards
  // the line starts), as far as it goes. Posts nothing, so a synchronisation never echoes back.
  void LineScroll(int characters);

  const int m_nPaneId;  // 1 for the source pane, 2 for the target pane

 private:
  void PostSyncScroll();
};
