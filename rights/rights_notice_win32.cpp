// The rights notice as a task dialog with command links; its texts converted from the program's code
// page, as the task dialog takes only wide strings (Win32).
#include "rights_notice_win32.h"

#include <commctrl.h>

#include <string>

#include "res/texts.h"

namespace {

constexpr int kInstallServiceButton = 101;
constexpr int kRestartElevatedButton = 102;
constexpr int kHelpButton = 103;
constexpr int kCloseButton = 104;

// A text in the task dialog's wide characters; fixed buffers, as a wide string class would add
// kilobytes of library code for eight texts.
struct WideText {
    explicit WideText(const char* text)
    {
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, chars, sizeof chars / sizeof chars[0]) == 0) {
            chars[0] = L'\0';
        }
    }
    const wchar_t* c_str() const { return chars; }
    wchar_t chars[512];
};

// The two remedies that elevate carry the shield, as Windows marks every such command.
HRESULT CALLBACK ShieldTheElevatingLinks(HWND notice, UINT notification, WPARAM, LPARAM, LONG_PTR)
{
    if (notification == TDN_CREATED) {
        SendMessageW(notice, TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, kInstallServiceButton, TRUE);
        SendMessageW(notice, TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, kRestartElevatedButton, TRUE);
    }
    return S_OK;
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
        MessageBoxA(owner, texts::kRightsExplanation, texts::kRightsHeading, MB_OK | MB_ICONWARNING);
        return RightsChoice::Close;
    }

    const WideText title(texts::kProgramName);
    const WideText heading(texts::kRightsHeading);
    const WideText explanation(texts::kRightsExplanation);
    // A command link's text after its first line is its note: a standard user is told beforehand
    // that an administrator's password will be asked.
    const WideText install((std::string(texts::kRightsInstallService) + "\n" + texts::kRightsElevationNote).c_str());
    const WideText restart((std::string(texts::kRightsRestartElevated) + "\n" + texts::kRightsElevationNote).c_str());
    const WideText help(texts::kRightsHelp);
    const WideText close(texts::kRightsClose);
    const WideText dontShow(texts::kRightsDontShowAgain);
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
    config.pfCallback = ShieldTheElevatingLinks;

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
