// Finding and loading the HTML Help engine (Win32).
#include "help_engine_win32.h"

#include <objbase.h>

#include <cstring>
#include <string>

#include "store/file_locations.h"
#include "base/program_path.h"

namespace {

constexpr UINT kHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr WORD kHtmlHelpAOrdinal = 14;

// The engine from the system folder by its full path: by its bare name the program's own folder
// would be searched first, and a file planted there would run with the right to set the clock.
HMODULE LoadSystemHelpEngine()
{
    char path[MAX_PATH];
    const char name[] = "\\hhctrl.ocx";
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof name > sizeof path) {
        return nullptr;
    }
    std::memcpy(path + length, name, sizeof name);
    return LoadLibraryA(path);
}

}  // namespace

bool FindHelpEngineLocation(char (&path)[260])
{
    // The machine's registration only: through HKEY_CLASSES_ROOT the user's own classes would come
    // first, and any program of the user could name a DLL for an elevated Tempivo to load.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "Software\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD size = sizeof path;
    const LONG status = RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    // A string value, with its ending zero inside what was read; anything else is no path.
    return status == ERROR_SUCCESS && type == REG_SZ && size > 0 && path[size - 1] == '\0';
}

bool CHelpEngine::Load()
{
    if (m_unavailable) {
        return false;
    }
    if (m_module == nullptr) {
        char registered[260];
        if (FindHelpEngineLocation(registered)) {
            m_module = LoadLibraryA(registered);  // as registered: environment references stay
        }
        if (m_module == nullptr) {
            m_module = LoadSystemHelpEngine();
        }
        if (m_module == nullptr) {
            m_unavailable = true;
            return false;
        }
    }
    if (m_entry == nullptr) {
        m_entry = reinterpret_cast<HtmlHelpFunction>(
            reinterpret_cast<void*>(GetProcAddress(m_module, MAKEINTRESOURCEA(kHtmlHelpAOrdinal))));
        if (m_entry == nullptr) {
            m_unavailable = true;
            return false;
        }
    }
    return true;
}

HWND CHelpEngine::Invoke(HWND window, LPCSTR file, UINT command, DWORD_PTR data)
{
    return Load() ? m_entry(window, file, command, data) : nullptr;
}

HWND InvokeHtmlHelp(HWND window, LPCSTR file, UINT command, DWORD_PTR data)
{
    static CHelpEngine engine;
    return engine.Invoke(window, file, command, data);
}

namespace {

bool g_comStarted = false;

}  // namespace

void ShowHelp(HWND mainWindow)
{
    ShowHelpPage(mainWindow, nullptr);
}

void ShowHelpPage(HWND mainWindow, const char* page)
{
    if (!g_comStarted) {
        g_comStarted = SUCCEEDED(CoInitialize(nullptr));
    }
    // The help beside the program, by its full path: the current folder is the program's only when
    // it was started from there (not after an elevated restart, nor from the Task Scheduler).
    const std::string program = ProgramFilePath();
    const PathParts parts = SplitPath(program.c_str(), IsAnsiLeadByte);
    const std::string chm = parts.drive + parts.folder + "horavo.chm";
    const std::string file = page ? chm + "::/" + page : chm;
    InvokeHtmlHelp(mainWindow, file.c_str(), kHelpDisplayTopic, 0);
}

void EndComForHelp()
{
    if (g_comStarted) {
        CoUninitialize();
        g_comStarted = false;
    }
}
