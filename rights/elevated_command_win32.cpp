// This program started elevated with a command, and the thread-pool wait for its end (Win32).
#include "elevated_command_win32.h"

#include <shellapi.h>

#include "base/program_path.h"

namespace {

// Its process handle (INVALID_HANDLE_VALUE: started, without one), or null when it did not start.
HANDLE StartElevated(HWND owner, const char* arguments)
{
    const std::string program = ProgramFilePath();
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.hwnd = owner;
    run.lpVerb = "runas";
    run.lpFile = program.c_str();
    run.lpParameters = arguments;
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&run)) {
        return nullptr;
    }
    return run.hProcess != nullptr ? run.hProcess : INVALID_HANDLE_VALUE;
}

}  // namespace

// A thread-pool wait's callback: only tells the window, whose thread does the rest.
VOID CALLBACK ElevatedCommand::ProcessEnded(PVOID command, BOOLEAN /*timedOut*/)
{
    const auto* self = static_cast<const ElevatedCommand*>(command);
    PostMessageA(self->m_owner, self->m_endedMessage, 0, 0);
}

bool ElevatedCommand::Run(HWND owner, const char* arguments)
{
    HANDLE process = StartElevated(owner, arguments);
    if (process != nullptr && process != INVALID_HANDLE_VALUE) {
        CloseHandle(process);
    }
    return process != nullptr;
}

bool ElevatedCommand::RunAndWatch(HWND owner, const char* arguments, UINT endedMessage)
{
    if (m_wait != nullptr) {
        return false;
    }
    HANDLE process = StartElevated(owner, arguments);
    if (process == nullptr || process == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_owner = owner;
    m_endedMessage = endedMessage;
    if (!RegisterWaitForSingleObject(&m_wait, process, ProcessEnded, this, INFINITE, WT_EXECUTEONLYONCE)) {
        m_wait = nullptr;
        CloseHandle(process);
        return false;
    }
    m_process = process;
    return true;
}

bool ElevatedCommand::EndedWell()
{
    if (m_wait == nullptr) {
        return false;
    }
    UnregisterWait(m_wait);
    m_wait = nullptr;
    DWORD exitCode = 1;
    GetExitCodeProcess(m_process, &exitCode);
    CloseHandle(m_process);
    m_process = nullptr;
    return exitCode == 0;
}

void ElevatedCommand::StopWaiting()
{
    if (m_wait != nullptr) {
        UnregisterWaitEx(m_wait, INVALID_HANDLE_VALUE);  // its callback has run or never will
        m_wait = nullptr;
        CloseHandle(m_process);
        m_process = nullptr;
    }
}
