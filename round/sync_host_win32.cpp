// The message-only window that carries a round's socket, lookup and timer messages (Win32).
#include "sync_host_win32.h"

#include "clock_setting.h"

namespace {

constexpr char kWindowClass[] = "TempivoSyncHost";

ATOM RegisterHostClass()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;  // replaced per window once its object is known
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassA(&windowClass);
}

}  // namespace

SyncHost::~SyncHost()
{
    m_round.Stop();
    for (auto& query : m_queries) {
        if (query) {
            query->End();
        }
    }
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

ServerQuery& SyncHost::Slot(int slot) const
{
    auto& query = m_queries[static_cast<size_t>(slot)];
    if (!query) {
        query = std::make_unique<ServerQuery>(QUERY_TIMER_ID + static_cast<UINT_PTR>(slot), &m_requests);
    }
    return *query;
}

void SyncHost::StartRound(std::vector<RoundServer> servers, const RoundRules& rules)
{
    MakeWindow();
    m_round.Stop();  // its queries end before the counts they share start again
    m_requests.Clear();
    m_samples = rules.samples;
    m_round.Start(std::move(servers), rules);
}

void SyncHost::MakeWindow()
{
    if (m_window != nullptr) {
        return;
    }
    static const ATOM windowClass = RegisterHostClass();
    if (windowClass == 0) {
        return;  // every query then fails to ask for its notifications, and says so in its row
    }
    // A message-only window: no desktop, no broadcasts, nothing to see; only its own messages.
    m_window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
    if (m_window != nullptr) {
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    }
}

LRESULT CALLBACK SyncHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<SyncHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (host != nullptr && host->HandleMessage(message, wParam, lParam)) {
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool SyncHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LOOKUPDONE:
        // The lookup's id says whose it is; an id no query waits for is some earlier query's.
        for (int slot = 0; slot < kMaxServersTogether; ++slot) {
            if (m_queries[static_cast<size_t>(slot)] && Slot(slot).LookupId() == wParam && wParam != 0) {
                m_round.OnQueryEnded(slot, Slot(slot).OnLookupDone(wParam));
            }
        }
        return true;
    case WM_SOCKETEVENT:
        for (int slot = 0; slot < kMaxServersTogether; ++slot) {
            if (m_queries[static_cast<size_t>(slot)] && Slot(slot).Socket() == static_cast<SOCKET>(wParam)) {
                m_round.OnQueryEnded(slot, Slot(slot).OnSocketEvent(static_cast<SOCKET>(wParam),
                                                                    WSAGETSELECTEVENT(lParam),
                                                                    WSAGETSELECTERROR(lParam)));
            }
        }
        return true;
    case WM_TIMER:
        if (wParam == m_roundWait.TimerId()) {
            m_roundWait.Stop();
            m_round.OnRoundWaitOver();
            return true;
        }
        if (wParam >= QUERY_TIMER_ID && wParam < QUERY_TIMER_ID + kMaxServersTogether) {
            const int slot = static_cast<int>(wParam - QUERY_TIMER_ID);
            m_round.OnQueryEnded(slot, Slot(slot).OnTimer());
            return true;
        }
        return false;
    default:
        return false;
    }
}

QueryStatus SyncHost::StartQuery(int slot, const std::string& address)
{
    return Slot(slot).Start(address.c_str(), m_window, m_samples);
}

AppliedTime SyncHost::SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds)
{
    return ApplyServerTime(answer, offsetSeconds);
}

AppliedTime SyncHost::ReadClockFor(const ServerAnswer& answer, int32_t offsetSeconds)
{
    return ReadServerTime(answer, offsetSeconds);
}

bool SyncHost::ConfirmStep(const LargeStep& step)
{
    return m_confirmer != nullptr && m_confirmer->ConfirmStep(step);
}
