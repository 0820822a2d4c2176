// A stand-in HTML Help engine for the tests: its entry at ordinal 14 records each call instead of
// opening a viewer, so the loader's choices can be seen (Win32 DLL).
#include <windows.h>

namespace {

int g_calls = 0;
char g_lastFile[MAX_PATH] = "";
UINT g_lastCommand = 0xFFFF;
DWORD_PTR g_lastData = 0xFFFF;

}  // namespace

extern "C" {

__declspec(dllexport) HWND WINAPI FakeHtmlHelpA(HWND /*window*/, LPCSTR file, UINT command, DWORD_PTR data)
{
    ++g_calls;
    lstrcpynA(g_lastFile, file, sizeof g_lastFile);
    g_lastCommand = command;
    g_lastData = data;
    return nullptr;
}

__declspec(dllexport) int WINAPI FakeHelpCalls()
{
    return g_calls;
}

__declspec(dllexport) void WINAPI FakeHelpLastCall(char* file, UINT* command, DWORD_PTR* data)
{
    lstrcpyA(file, g_lastFile);
    *command = g_lastCommand;
    *data = g_lastData;
}
}
