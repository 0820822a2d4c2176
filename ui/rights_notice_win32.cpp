// The rights notice as a task dialog with command links; its texts converted from the program's code
// page, as the task dialog takes only wide strings (Win32).
#include "ui/rights_notice_win32.h"

#include <commctrl.h>

#include <string>

#include "res/texts.h"

namespace {

constexpr int kInstallServiceButton = 101;
constexpr int kRestartElevatedButton = 102;
constexpr int kHelpButton = 103;
constexpr int kCloseButton = 104;

std::wstring Wide(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1u, L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    }
    return wide;
}

}  // namespace

RightsChoice AskAboutRights(HWND owner, bool* dontShowAgain)
{
    *dontShowAgain = false;
    // Looked up: systems before Vista have no task dialog.
    using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    const auto taskDialog = controls ? reinterpret_cast<TaskDialogIndirectFunction>(reinterpret_cast<void*>(
                                           GetProcAddress(controls, "TaskDialogIndirect")))
                                     : nullptr;
    if (taskDialog == nullptr) {
        const std::string text = std::string(texts::kRightsHeading) + "\r\n\r\n" + texts::kRightsExplanation;
        MessageBoxA(owner, text.c_str(), texts::kProgramName, MB_OK | MB_ICONWARNING);
        return RightsChoice::Close;
    }

    const std::wstring title = Wide(texts::kProgramName);
    const std::wstring heading = Wide(texts::kRightsHeading);
    const std::wstring explanation = Wide(texts::kRightsExplanation);
    const std::wstring install = Wide(texts::kRightsInstallService);
    const std::wstring restart = Wide(texts::kRightsRestartElevated);
    const std::wstring help = Wide(texts::kRightsHelp);
    const std::wstring close = Wide(texts::kRightsClose);
    const std::wstring dontShow = Wide(texts::kRightsDontShowAgain);
    const TASKDIALOG_BUTTON buttons[] = {{kInstallServiceButton, install.c_str()},
                                         {kRestartElevatedButton, restart.c_str()},
                                         {kHelpButton, help.c_str()},
                                         {kCloseButton, close.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_USE_COMMAND_LINKS | TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszMainInstruction = heading.c_str();
    config.pszContent = explanation.c_str();
    config.cButtons = sizeof buttons / sizeof buttons[0];
    config.pButtons = buttons;
    config.nDefaultButton = kCloseButton;
    config.pszVerificationText = dontShow.c_str();

    int button = kCloseButton;
    BOOL verified = FALSE;
    if (FAILED(taskDialog(&config, &button, nullptr, &verified))) {
        return RightsChoice::Close;
    }
    *dontShowAgain = verified != FALSE;
    switch (button) {
    case kInstallServiceButton:
        return RightsChoice::InstallService;
    case kRestartElevatedButton:
        return RightsChoice::RestartElevated;
    case kHelpButton:
        return RightsChoice::Help;
    default:
        return RightsChoice::Close;
    }
}
