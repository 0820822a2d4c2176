// The standard error if the starter gave one, else a message box (Win32).
#include "command_report_win32.h"

#include <windows.h>

#include "res/texts.h"

namespace {

bool Usable(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool WriteLine(HANDLE handle, const std::string& text)
{
    const std::string line = text + "\r\n";
    DWORD written = 0;
    return WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
}

}  // namespace

void ReportToUser(const std::string& text, bool failed, bool quiet)
{
    // A program of the window subsystem has a standard error only when its starter handed one over;
    // from a console it attaches to that console and writes there.
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if ((Usable(error) && WriteLine(error, text)) || quiet) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
        const bool written = Usable(console) && WriteLine(console, text);
        if (console != INVALID_HANDLE_VALUE) {
            CloseHandle(console);
        }
        FreeConsole();
        if (written) {
            return;
        }
    }
    MessageBoxA(nullptr, text.c_str(), texts::kProgramName, MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
}
