// Resource identifiers: dialog templates, controls, strings and system-menu commands.
#pragma once

#define IDD_ABOUTBOX 16
#define IDD_CONFIG 101
#define IDS_ABOUTBOX 104
#define IDM_ABOUTBOX 0x0010

#define IDC_COMBO_SRC 1000
#define IDC_COMBO_DST 1001
#define IDC_EDIT_DST 1002
#define IDC_EDIT_SRC 1003

// The standard ones, as the Windows headers spell them.
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
