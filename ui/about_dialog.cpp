#include "ui/about_dialog.h"

CAboutDlg::CAboutDlg() : CTemplateDialog(IDD_ABOUTBOX) {}
