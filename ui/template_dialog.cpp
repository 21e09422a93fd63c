#include "ui/template_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QWindow>
#include <vector>

#include "platform/window_menu.h"
#include "ui/dialog_font.h"
#include "ui/template_controls.h"

QWidget* ControlBinding::Find(int id) const {
  const auto found = bound_.find(id);
  return found != bound_.end() ? found->second : nullptr;
}

TemplateDialog::TemplateDialog(int templateId, QWidget* parent)
    : QDialog(parent), template_(FindDialogTemplate(templateId)) {}

TemplateDialog::~TemplateDialog() = default;

void TemplateDialog::DoDataExchange(ControlBinding&) {}

bool TemplateDialog::OnInitDialog() { return true; }

QWidget* TemplateDialog::ControlById(int id) const {
  const auto found = controls_.find(id);
  return found != controls_.end() ? found->second : nullptr;
}

SystemMenu* TemplateDialog::GetSystemMenu() { return systemMenu_.get(); }

bool TemplateDialog::CreateFromTemplate() {
  if (template_ == nullptr || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    return false;
  }
  if (parentWidget() == nullptr) {
    QWidget* owner = QApplication::activeWindow();
    if (owner == nullptr) owner = QApplication::activeModalWidget();
    if (owner != nullptr) setParent(owner, windowFlags());
  }
  const DialogTemplate& dialog = *template_;
  setWindowTitle(QString::fromUtf8(dialog.caption.data(),
                                   static_cast<qsizetype>(dialog.caption.size())));
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if ((dialog.style & kWsSysMenu) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  setWindowFlags(flags);
  setFont(DialogFontOf(dialog.font));
  baseUnits_ = BaseUnitsOf(font());
  const PixelRect client = DialogUnitsToPixels(dialog.rect, baseUnits_);
  setFixedSize(client.width, client.height);  // a modal frame cannot be resized

  ControlBinding binding;
  DoDataExchange(binding);
  std::vector<QWidget*> tabStops;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* widget = CreateTemplateControl(control, binding.Find(control.id), this, baseUnits_);
    if (control.id != IDC_STATIC) controls_.emplace(control.id, widget);
    if ((control.style & kWsTabStop) != 0) tabStops.push_back(widget);
    if (control.controlClass == ControlClass::kButton && (control.id == IDOK || control.id == IDCANCEL)) {
      const int id = control.id;
      connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
              [this, id] { id == IDOK ? accept() : reject(); });
    }
  }
  for (std::size_t i = 1; i < tabStops.size(); ++i) setTabOrder(tabStops[i - 1], tabStops[i]);
  firstTabStop_ = tabStops.empty() ? nullptr : tabStops.front();

  if ((dialog.style & kWsSysMenu) != 0) {
    systemMenu_ = std::make_unique<SystemMenu>();
#ifdef Q_OS_WIN
    // Windows keeps the real window menu: what the program appends goes there as well.
    systemMenu_->AttachNative(static_cast<std::uintptr_t>(winId()));
#endif
    // The keys that open a window menu from the keyboard, whichever control has the focus.
    for (const QKeySequence& keys : {QKeySequence(Qt::ALT | Qt::Key_Space),
                                     QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
      connect(new QShortcut(keys, this), &QShortcut::activated, this,
              [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
    }
  }
  return true;
}

int TemplateDialog::DoModal() {
  if (!CreateFromTemplate()) return -1;
  if (OnInitDialog() && firstTabStop_ != nullptr) firstTabStop_->setFocus(Qt::TabFocusReason);
  // Shown centred over the owner, or on the screen when there is none.
  const int result = exec();
  // As on Windows, the owner becomes the active window again when its dialog ends, also where no
  // window manager does this.
  if (QWidget* owner = parentWidget(); owner != nullptr && owner->isVisible()) owner->activateWindow();
  return result;
}

void TemplateDialog::ShowSystemMenu(const QPoint& globalPosition) {
  if (systemMenu_ == nullptr) return;
  const unsigned command = systemMenu_->Track(globalPosition, this);
  if (command != 0) OnSysCommand(command, 0);
}

void TemplateDialog::OnSysCommand(unsigned commandId, long) { DefaultSysCommand(commandId); }

bool TemplateDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  // The program's own entries of a native window menu (commands below 0xF000) reach OnSysCommand;
  // the window system's own commands keep its default processing.
  unsigned command = 0;
  long parameter = 0;
  if (platform::ReadSystemCommand(message, command, parameter) && (command & 0xFFF0u) < 0xF000u) {
    OnSysCommand(command, parameter);
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(eventType, message, result);
}

void TemplateDialog::DefaultSysCommand(unsigned commandId) {
  // The low four bits belong to the window system.
  switch (commandId & 0xFFF0u) {
    case SC_CLOSE:
      close();
      break;
    case SC_MOVE:
      if (windowHandle() != nullptr) windowHandle()->startSystemMove();
      break;
    default:
      break;
  }
}

void TemplateDialog::contextMenuEvent(QContextMenuEvent* event) {
  // The free area of the dialog: its background and its static texts.
  QWidget* under = childAt(event->pos());
  if (event->reason() == QContextMenuEvent::Mouse &&
      (under == nullptr || qobject_cast<QLabel*>(under) != nullptr)) {
    ShowSystemMenu(event->globalPos());
    event->accept();
    return;
  }
  QDialog::contextMenuEvent(event);
}
