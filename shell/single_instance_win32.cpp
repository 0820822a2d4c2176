// The session's single instance: a mutex in the session's namespace, the window found by a property.
#include "single_instance_win32.h"

namespace {

const char kMutexName[] = "Local\\Tempivo.horavo.MainWindow";
const char kWindowProperty[] = "Tempivo.horavo.MainWindow";
HANDLE g_instanceMutex = nullptr;

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found)
{
    if (GetPropA(window, kWindowProperty) == nullptr) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

bool ClaimSingleInstance()
{
    if (g_instanceMutex != nullptr) {
        return true;
    }
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (mutex == nullptr) {
        return true;  // nothing to share a name with: this one runs
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    g_instanceMutex = mutex;
    return true;
}

void ReleaseSingleInstance()
{
    if (g_instanceMutex != nullptr) {
        CloseHandle(g_instanceMutex);
        g_instanceMutex = nullptr;
    }
}

void MarkInstanceWindow(HWND window)
{
    SetPropA(window, kWindowProperty, reinterpret_cast<HANDLE>(1));
}

UINT ShowInstanceMessage()
{
    static const UINT message = RegisterWindowMessageA("Tempivo.horavo.ShowMainWindow");
    return message;
}

void ShowFirstInstance()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        HWND window = nullptr;
        EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&window));
        if (window != nullptr) {
            // The first process may come to the foreground only with leave from the one that has it.
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            AllowSetForegroundWindow(process);
            PostMessageA(window, ShowInstanceMessage(), 0, 0);
            return;
        }
        Sleep(100);
    }
}
