// The message-only window that carries a round's socket and timer messages (Win32).
#include "sync_host_win32.h"

#include "sync/clock_setting.h"

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
    m_query.End();
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
}

void SyncHost::StartRound(std::vector<RoundServer> servers, int32_t offsetSeconds)
{
    MakeWindow();
    m_round.Start(std::move(servers), offsetSeconds);
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
        m_round.OnQueryEnded(m_query.OnLookupDone(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam)));
        return true;
    case WM_SOCKETEVENT:
        m_round.OnQueryEnded(m_query.OnSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam),
                                                   WSAGETSELECTERROR(lParam)));
        return true;
    case WM_TIMER:
        if (wParam != QUERY_TIMER_ID) {
            return false;
        }
        m_round.OnQueryEnded(m_query.OnTimer());
        return true;
    default:
        return false;
    }
}

QueryStatus SyncHost::StartQuery(const std::string& address)
{
    return m_query.Start(address.c_str(), m_window);
}

AppliedTime SyncHost::SetClockFrom(const ServerAnswer& answer, int32_t offsetSeconds)
{
    return ApplyServerTime(answer, offsetSeconds);
}
