// The main window fixture (Win32).
#include "main_window_fixture.h"

#include <commctrl.h>

#include "res/resource.h"
#include "shell/app_module_win32.h"
#include "shell/dialog_base_win32.h"
#include "win_test_support.h"

namespace {

std::vector<ShellNotifyCall> g_shellCalls;
bool g_refusesVersion4 = false;

BOOL WINAPI RecordShellNotify(DWORD message, PNOTIFYICONDATAA data)
{
    g_shellCalls.push_back({message, *data});
    return message == NIM_SETVERSION && g_refusesVersion4 ? FALSE : TRUE;
}

}  // namespace

void ShellRefusesVersion4()
{
    g_refusesVersion4 = true;
}

const std::vector<ShellNotifyCall>& ShellNotifyCalls()
{
    return g_shellCalls;
}

int ServerRowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

ServerRow ReadServerRow(HWND list, int index)
{
    char name[512] = "";
    char address[512] = "";
    ListView_GetItemText(list, index, 0, name, sizeof name);
    ListView_GetItemText(list, index, 1, address, sizeof address);
    return {ListView_GetCheckState(list, index) != FALSE, name, address};
}

void MainWindowTest::SetUpTestSuite()
{
    static bool initialised = false;
    if (!initialised) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        g_module.InitModule(GetModuleHandleA(nullptr));
        initialised = true;
    }
}

void MainWindowTest::SetUp()
{
    DeleteFileA(SettingsPath().c_str());
    DeleteFileA(ServerListPath().c_str());
    DeleteFileA(LogFilePath().c_str());
    g_module.AddMessageLoop(&loop_);
    g_shellCalls.clear();
    g_refusesVersion4 = false;
    CTrayIcon::s_notify = RecordShellNotify;
}

void MainWindowTest::TearDown()
{
    if (dialog_ && dialog_->m_hWnd != nullptr) {
        DestroyWindow(dialog_->m_hWnd);
    }
    PumpMessages();
    TakeQuitMessage();
    g_module.RemoveMessageLoop();
    DeleteFileA(SettingsPath().c_str());
    DeleteFileA(ServerListPath().c_str());
    DeleteFileA(LogFilePath().c_str());
}

void MainWindowTest::GivenSettings(const std::string& bytes)
{
    WriteFileBytes(SettingsPath(), bytes);
}

void MainWindowTest::GivenServerList(const std::string& bytes)
{
    WriteFileBytes(ServerListPath(), bytes);
}

void MainWindowTest::Open(bool autoMode)
{
    loop_.m_preFilters.clear();
    loop_.m_idleTasks.clear();
    dialog_ = std::make_unique<MainDialog>(autoMode);
    ASSERT_NE(nullptr, CreateDialogFor(dialog_.get(), IDD_MAIN, nullptr));
}

int MainWindowTest::CloseWithExitCommand()
{
    SendMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDCANCEL)));
    return TakeQuitMessage();
}

std::string MainWindowTest::SettingsPath() const
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string settings = path;
    return settings.substr(0, settings.rfind('.')) + ".ini";
}

std::string MainWindowTest::ServerListPath() const
{
    return ProgramFolder() + "server.data";
}

std::string MainWindowTest::LogFilePath() const
{
    return ProgramFolder() + "horavo.log";
}

std::string MainWindowTest::Setting(const char* section, const char* key) const
{
    char value[256];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, SettingsPath().c_str());
    return value;
}
