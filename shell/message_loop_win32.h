// The one message loop of a thread, with pre-filters (dialog keys) and idle tasks (Win32).
#pragma once

#include <windows.h>

#include <vector>

class CMessagePreFilter {
public:
    // True when the message was consumed: it is then neither translated nor dispatched.
    virtual bool FilterMessage(MSG* message) = 0;

protected:
    ~CMessagePreFilter() = default;
};

class CIdleTask {
public:
    virtual bool RunIdleTask() = 0;  // the loop ignores the result

protected:
    ~CIdleTask() = default;
};

class CMessageLoop {
public:
    virtual ~CMessageLoop() = default;

    // False, with the list unchanged, when the list cannot grow. Neither list owns its entries.
    bool AddPreFilter(CMessagePreFilter* filter);
    bool AddIdleTask(CIdleTask* task);

    // Runs until WM_QUIT and returns its wParam.
    int Run();

    // Asks the pre-filters, newest first.
    virtual bool FilterMessage(MSG* message);
    // Runs every idle task in the order added; always false, so idle work runs once per re-arming.
    virtual bool RunIdle(int idleCount);

    std::vector<CMessagePreFilter*> m_preFilters;
    std::vector<CIdleTask*> m_idleTasks;
    MSG m_msg{};
};
