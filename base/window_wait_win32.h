// A wait on a window's timer (Win32): its end comes as WM_TIMER with the timer's id, a new wait
// replaces the one under way, and a stopped wait never ends.
#pragma once

#include <windows.h>

class WindowWait {
public:
    explicit WindowWait(UINT_PTR timerId) : m_timerId(timerId) {}

    void Start(HWND window, unsigned milliseconds)
    {
        m_window = window;
        SetTimer(window, m_timerId, milliseconds, nullptr);
    }
    // Nothing when no wait was ever started on a window.
    void Stop()
    {
        if (m_window != nullptr) {
            KillTimer(m_window, m_timerId);
        }
    }
    UINT_PTR TimerId() const { return m_timerId; }

private:
    UINT_PTR m_timerId;
    HWND m_window = nullptr;
};
