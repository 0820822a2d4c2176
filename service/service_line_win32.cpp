// The service line's requests and its label (Win32).
#include "service_line_win32.h"

#include "base/system_forms_win32.h"
#include "service_client_win32.h"

namespace {

constexpr int kRefreshSeconds = 60;

}  // namespace

void ServiceLine::Attach(HWND label, HWND window, UINT answerMessage)
{
    m_label = label;
    m_window = window;
    m_answerMessage = answerMessage;
}

void ServiceLine::Refresh()
{
    if (m_asking || m_label == nullptr) {
        return;
    }
    m_seconds = 0;
    const ServiceState state = TimeServiceState();
    if (state == ServiceState::Running && AskTimeServiceInBackground(m_window, m_answerMessage, ServiceRequest::Status)) {
        m_asking = true;
        return;
    }
    Show(state, false, {});
}

void ServiceLine::Tick()
{
    if (++m_seconds >= kRefreshSeconds) {
        Refresh();
    }
}

void ServiceLine::OnAnswer()
{
    m_asking = false;
    ServiceAnswer status;
    const bool answered = TakeTimeServiceAnswer(ServiceRequest::Status, &status) &&
                          status.kind == ServiceAnswer::Kind::Status;
    // No answer: the service may have stopped meanwhile.
    Show(answered ? ServiceState::Running : TimeServiceState(), answered, status);
}

std::string ServiceLine::Tip(const std::string& ownTip) const
{
    return TipWithServiceLine(ownTip, m_view, LocalClockNow());
}

void ServiceLine::Show(ServiceState state, bool answered, const ServiceAnswer& status)
{
    m_view.state = state;
    m_view.answered = answered;
    m_view.status = status;
    const std::string text = ServiceLineText(m_view, LocalClockNow());
    SetWindowTextA(m_label, text.c_str());
    ShowWindow(m_label, text.empty() ? SW_HIDE : SW_SHOWNA);
}
