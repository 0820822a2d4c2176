// The main window's line about the time service, which the tray tip repeats: whether it runs, its
// last round (when, how it ended, its correction) and when the next is due.
#pragma once

#include <string>

#include "service_protocol.h"
#include "base/calendar_time.h"

enum class ServiceState { NotInstalled, Stopped, Running };

// What the window learnt of the service: its state and, when it runs and answered, its STATUS.
struct ServiceView {
    ServiceState state = ServiceState::NotInstalled;
    bool answered = false;
    ServiceAnswer status;
};

// The line at a moment of the local clock; empty when the service is not installed, so that a
// window without it shows nothing new.
std::string ServiceLineText(const ServiceView& view, const CalendarTime& now);

// The tray tip: the window's own and under it the service's line, shortened (its correction, then
// its last round left out) to fit the tip's 127 bytes. The window's own tip alone without a service.
constexpr size_t kTrayTipBytes = 127;
std::string TipWithServiceLine(const std::string& ownTip, const ServiceView& view, const CalendarTime& now);
