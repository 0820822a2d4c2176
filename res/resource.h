// Resource and control ids, shared by the resource script and the code.
#pragma once

#define IDI_PROGRAM 128
#define IDI_LOG_ROW 201
#define IDI_TRAY_TROUBLE 202  // the program icon with a warning mark: the last round did not set the clock

#define IDD_ABOUT 100
#define IDD_MAIN 129
#define IDD_SERVER_ENTRY 202

// The tray icon's menu and its commands (they reach the main window as WM_COMMAND)
#define IDR_TRAY_MENU 300
#define IDR_STARTER_LIST 301  // the download's server.data, for a service installed without one
#define IDM_TRAY_SYNC 40001
#define IDM_TRAY_SHOW 40002
#define IDM_TRAY_EXIT 40003
#define IDM_TRAY_HELP 40004
#define IDM_TRAY_ABOUT 40005

// Items the main window adds to its system menu (system commands are multiples of 16 below 0xF000)
#define IDM_INSTALL_SERVICE 0x0110
#define IDM_UNINSTALL_SERVICE 0x0120
#define IDM_UPDATE_SERVICE 0x0140  // the service's list and settings from the window's (-update-service)
#define IDM_RIGHTS_NOTICE 0x0130  // checked while a 権限エラー is explained (SETTING/RIGHTSNOTICE not 0)

// Main window controls
#define IDC_SYNC 1000
#define IDC_SERVER_LIST 1001
#define IDC_LOG_LIST 1002
#define IDC_MOVE_UP 1004
#define IDC_MOVE_DOWN 1005
#define IDC_ADD 1006
#define IDC_DELETE 1007
#define IDC_OFFSET_EDIT 1008
#define IDC_INTERVAL_EDIT 1009
#define IDC_MINIMIZE_CHECK 1012
#define IDC_SYNC_AT_START_CHECK 1013
#define IDC_OFFSET_SPIN 1014
#define IDC_INTERVAL_SPIN 1015
#define IDC_CONSENSUS_CHECK 1016
#define IDC_SERVICE_LINE 1017
#define IDC_ABOUT_BUTTON 57664
#define IDC_HELP_BUTTON 57670

// Server entry dialog controls
#define IDC_ENTRY_NAME 1004
#define IDC_ENTRY_ADDRESS 1005
#define IDC_ENTRY_NTS 1006  // writes or removes "nts:" in front of the address
