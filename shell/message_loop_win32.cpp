// The message loop: idle work when the queue runs dry, pre-filters before dispatch (Win32).
#include "message_loop_win32.h"

#include <new>

#include "message_rules.h"
#include "trace.h"

namespace {

template <typename Entry>
bool Append(std::vector<Entry*>& list, Entry* entry)
{
    try {
        list.push_back(entry);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool CMessageLoop::AddPreFilter(CMessagePreFilter* filter)
{
    return Append(m_preFilters, filter);
}

bool CMessageLoop::AddIdleTask(CIdleTask* task)
{
    return Append(m_idleTasks, task);
}

int CMessageLoop::Run()
{
    bool idlePending = true;
    int idleCount = 0;
    for (;;) {
        while (idlePending && !PeekMessageA(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!RunIdle(idleCount++)) {
                idlePending = false;
            }
        }
        const BOOL got = GetMessageA(&m_msg, nullptr, 0, 0);
        if (got == -1) {
            Trace("::GetMessage returned -1 (error)\n");
            continue;
        }
        if (!got) {
            Trace("CMessageLoop::Run - exiting\n");
            break;
        }
        if (!FilterMessage(&m_msg)) {
            TranslateMessage(&m_msg);
            DispatchMessageA(&m_msg);
        }
        if (ReArmsIdleWork(m_msg.message)) {
            idlePending = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}

bool CMessageLoop::FilterMessage(MSG* message)
{
    for (auto filter = m_preFilters.rbegin(); filter != m_preFilters.rend(); ++filter) {
        if (*filter != nullptr && (*filter)->FilterMessage(message)) {
            return true;
        }
    }
    return false;
}

bool CMessageLoop::RunIdle(int /*idleCount*/)
{
    for (CIdleTask* task : m_idleTasks) {
        if (task != nullptr) {
            task->RunIdleTask();
        }
    }
    return false;
}
