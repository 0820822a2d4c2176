// This program started again as administrator, for a command that needs the right (the service's
// install, update and removal, or the window restarted to set the clock), and the wait for it to
// end (Win32).
#pragma once

#include <windows.h>

class ElevatedCommand {
public:
    ElevatedCommand() = default;
    ~ElevatedCommand() { StopWaiting(); }
    ElevatedCommand(const ElevatedCommand&) = delete;
    ElevatedCommand& operator=(const ElevatedCommand&) = delete;

    // Starts the command; false when it did not start (declined at the prompt, say).
    static bool Run(HWND owner, const char* arguments);
    // Starts it and posts endedMessage to the owner when it has ended; one at a time. False when
    // it did not start or one is already awaited.
    bool RunAndWatch(HWND owner, const char* arguments, UINT endedMessage);
    // At endedMessage: whether the command awaited ended well; the wait is over either way.
    bool EndedWell();
    void StopWaiting();

private:
    static VOID CALLBACK ProcessEnded(PVOID command, BOOLEAN timedOut);

    HWND m_owner = nullptr;
    UINT m_endedMessage = 0;
    HANDLE m_wait = nullptr;
    HANDLE m_process = nullptr;
};
