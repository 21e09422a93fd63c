// The About box: product name and version, a notice line and a contact line, and OK.
#pragma once

#include "ui/template_dialog.h"

class CAboutDlg : public TemplateDialog {
  Q_OBJECT

 public:
  CAboutDlg();
};
