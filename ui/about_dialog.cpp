#include "ui/about_dialog.h"

CAboutDlg::CAboutDlg() : TemplateDialog(IDD_ABOUTBOX) {}
