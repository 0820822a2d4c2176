// The task dialog that explains the first 権限エラー of a run and offers the remedies (Win32).
#pragma once

#include <windows.h>

enum class RightsChoice { InstallService, RestartElevated, Help, Close };

// Shows the dialog over the window; *dontShowAgain tells whether the user ticked 今後表示しない.
// Where the system has no task dialog it is a message box with the same words and only 閉じる.
RightsChoice AskAboutRights(HWND owner, bool* dontShowAgain);
