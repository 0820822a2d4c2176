// The window's way to the time service (Win32): when its own setting of the clock is refused for lack
// of the right, it asks the service for a round instead, over the service's pipe, and only when the
// pipe's server is the service's own process (a program that made a pipe of that name is not asked).
#pragma once

#include <windows.h>

#include "shell/service_protocol.h"

// Whether the service is installed and running; cheap enough to ask before every request.
bool TimeServiceRunning();

// Sends SYNC on a worker thread; the message comes to the window when the answer is in (or no
// answer can come). False when no worker could be started.
bool AskTimeServiceInBackground(HWND window, UINT message);

// The answer the last request brought, taken once: false when it brought none.
bool TakeTimeServiceAnswer(ServiceAnswer* answer);
