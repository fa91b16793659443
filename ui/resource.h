// Command and control ids shared by the resource script and the program.
// Resources themselves are named by text (KOLVANE_MENU, KOLVANE_ACCELERATOR,
// VERSIONDLG, IDI_KOLVANE_ICON), so they have no numbers here.
#pragma once

// Buttons of the main window.
#define IDC_RUN 100
#define IDC_EXIT_BUTTON 101

// Menu entries and their accelerators.
#define IDM_OPEN 200
#define IDM_EXIT 201
#define IDM_HELP 202
#define IDM_VERSION 203

// The module list.
#define IDC_MODULE_LIST 300

// Items of the version dialog (the OK button is IDOK).
#define IDC_PRODUCT_NAME 600
#define IDC_MAKER_NOTICE 601
