// The window menu of a dialog (Move, Close, and what the program appends). On X11 and Wayland the
// window manager owns the title bar's menu, so a dialog carries this one of its own; its commands
// carry the Windows system command numbers and go through the dialog's OnSysCommand.
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <vector>

class QWidget;

// System commands of the window system.
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_CLOSE = 0xF060;

class SystemMenu {
 public:
  struct Entry {
    bool separator = false;
    unsigned command = 0;
    QString text;
  };

  // The entries the window system gives a modal dialog frame.
  SystemMenu();

  // Where the window system keeps a native window menu (Windows), entries appended from here on
  // go into it too, and its commands arrive as native messages.
  void AttachNative(std::uintptr_t window) { nativeWindow_ = window; }

  void AppendSeparator();
  void AppendString(unsigned command, const QString& text);
  const std::vector<Entry>& Entries() const { return entries_; }

  // Shows the menu at `globalPosition` until the user chooses or dismisses it; the chosen
  // command, or 0.
  unsigned Track(const QPoint& globalPosition, QWidget* owner) const;

 private:
  std::vector<Entry> entries_;
  std::uintptr_t nativeWindow_ = 0;
};
