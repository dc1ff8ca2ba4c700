// The program's resource identifiers.
#pragma once

#define IDR_MAINFRAME 101 // program icon; menu, accelerators and toolbar share the number
#define IDS_APP_TITLE 0xE000

#define IDC_STATIC (-1)

// "Glimro - Downloading Image"
#define IDD_DOWNLOAD 329
#define IDC_DOWNLOAD_STATUS 330
