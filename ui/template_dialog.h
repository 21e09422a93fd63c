// A modal dialog laid out from one of the program's dialog templates, with the life of a Windows
// dialog: the object exists first, DoModal creates the window from the template, initialises it,
// runs it modally and returns its end code.
#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "res/dialog_template.h"
#include "res/dialog_units.h"
#include "res/resource.h"
#include "ui/system_menu.h"

class QContextMenuEvent;

// Collects which member widgets stand for which template controls. Qt cannot give an existing
// widget another class, so the members are named before the window is created and the template
// then places them instead of plain widgets.
class ControlBinding {
 public:
  void Bind(int id, QWidget& control) { bound_.emplace(id, &control); }  // keeps the first binding
  QWidget* Find(int id) const;

 private:
  std::map<int, QWidget*> bound_;
};

inline void BindControl(ControlBinding& binding, int id, QWidget& control) {
  binding.Bind(id, control);
}

class TemplateDialog : public QDialog {
  Q_OBJECT

 public:
  // With no parent, the window that is active (or modal) when DoModal is called owns the dialog.
  explicit TemplateDialog(int templateId, QWidget* parent = nullptr);
  ~TemplateDialog() override;

  // IDOK, IDCANCEL (Cancel, Escape, closing the window), or -1 when the window cannot be created.
  int DoModal();

  // The control with this id once the window exists; nullptr otherwise.
  QWidget* ControlById(int id) const;
  // The window menu; nullptr before the window exists or when the template has no WS_SYSMENU.
  SystemMenu* GetSystemMenu();
  // Opens the window menu as the right mouse button, Alt+Space and Shift+F10 do, and carries out
  // the chosen command through OnSysCommand.
  void ShowSystemMenu(const QPoint& globalPosition);
  const DialogBaseUnits& BaseUnits() const { return baseUnits_; }

  void accept() override { done(IDOK); }
  void reject() override { done(IDCANCEL); }

  // A system command, as the window menu sends it. The default carries out Move and Close.
  virtual void OnSysCommand(unsigned commandId, long lParam);

 protected:
  virtual void DoDataExchange(ControlBinding& binding);
  // Called once the window and its controls exist, before it is shown. Returning true gives the
  // focus to the first control in tab order.
  virtual bool OnInitDialog();
  void DefaultSysCommand(unsigned commandId);

  void contextMenuEvent(QContextMenuEvent* event) override;
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  bool CreateFromTemplate();

  const DialogTemplate* template_;
  DialogBaseUnits baseUnits_;
  std::map<int, QWidget*> controls_;
  QWidget* firstTabStop_ = nullptr;
  std::unique_ptr<SystemMenu> systemMenu_;
};
