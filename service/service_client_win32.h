// The window's way to the time service (Win32): when its own setting of the clock is refused for lack
// of the right, it asks the service for a round instead; and it asks how the service fares, for its
// service line. Over the service's pipe, and only when the pipe's server is the service's own
// process (a program that made a pipe of that name is not asked).
#pragma once

#include <windows.h>

#include "service_protocol.h"
#include "service_line.h"

// Whether the service is installed and whether it runs; cheap enough to ask before every request.
ServiceState TimeServiceState();
inline bool TimeServiceRunning()
{
    return TimeServiceState() == ServiceState::Running;
}

// Sends the request (SYNC or STATUS) on a worker thread; the message comes to the window when the
// answer is in (or no answer can come). False when no worker could be started.
bool AskTimeServiceInBackground(HWND window, UINT message, ServiceRequest request);

// The answer the last request of that kind brought, taken once: false when it brought none.
bool TakeTimeServiceAnswer(ServiceRequest request, ServiceAnswer* answer);
