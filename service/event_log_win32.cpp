// The service's events reported to the Application log (Win32).
#include "event_log_win32.h"

#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

WORD TypeOf(ServiceEventLevel level)
{
    switch (level) {
    case ServiceEventLevel::Information:
        return EVENTLOG_INFORMATION_TYPE;
    case ServiceEventLevel::Warning:
        return EVENTLOG_WARNING_TYPE;
    case ServiceEventLevel::Error:
        break;
    }
    return EVENTLOG_ERROR_TYPE;
}

}  // namespace

WindowsEventLog::WindowsEventLog() : m_source(RegisterEventSourceW(nullptr, L"Tempivo")) {}

WindowsEventLog::~WindowsEventLog()
{
    if (m_source != nullptr) {
        DeregisterEventSource(m_source);
    }
}

void WindowsEventLog::Report(const ServiceEvent& event)
{
    if (m_source == nullptr) {
        return;  // the log is monitoring's; the service keeps the clock without it
    }
    // The rows are in the ANSI code page; the log keeps Unicode.
    std::vector<std::wstring> strings;
    for (const std::string& text : event.strings) {
        strings.push_back(Wide(text));
    }
    std::vector<LPCWSTR> pointers;
    for (const std::wstring& text : strings) {
        pointers.push_back(text.c_str());
    }
    ReportEventW(m_source, TypeOf(event.level), 0, static_cast<DWORD>(event.id), nullptr,
                 static_cast<WORD>(pointers.size()), 0, pointers.empty() ? nullptr : pointers.data(), nullptr);
}
