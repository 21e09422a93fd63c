#include "ui/system_menu.h"

#include <QAction>
#include <QMenu>
#include <string>

#include "platform/window_menu.h"

SystemMenu::SystemMenu() {
  // A dialog with a modal frame can be neither sized, minimised nor maximised.
  AppendString(SC_MOVE, QStringLiteral("&Move"));
  AppendSeparator();
  AppendString(SC_CLOSE, QStringLiteral("&Close\tAlt+F4"));
}

void SystemMenu::AppendSeparator() {
  entries_.push_back({true, 0, {}});
  if (nativeWindow_ != 0) platform::AppendToNativeWindowMenu(nativeWindow_, 0, std::string());
}

void SystemMenu::AppendString(unsigned command, const QString& text) {
  entries_.push_back({false, command, text});
  if (nativeWindow_ != 0) {
    platform::AppendToNativeWindowMenu(nativeWindow_, command, text.toLocal8Bit().toStdString());
  }
}

unsigned SystemMenu::Track(const QPoint& globalPosition, QWidget* owner) const {
  QMenu menu(owner);
  menu.setObjectName(QStringLiteral("SystemMenu"));
  for (const Entry& entry : entries_) {
    if (entry.separator) {
      menu.addSeparator();
    } else {
      menu.addAction(entry.text)->setData(entry.command);
    }
  }
  const QAction* chosen = menu.exec(globalPosition);
  return chosen != nullptr ? chosen->data().toUInt() : 0;
}
