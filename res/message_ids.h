// The program's own window messages and timer ids, in one place. Their numbers are the ones the
// program has always used; new ones go here too.
#pragma once

#include <cstdint>

// Messages. The tray icon's callback goes to the main window; the socket layer's two reports go to
// the window that carries the query (the synchronisation host).
constexpr unsigned WM_TRAYICON = 3112;     // lParam: the mouse message over the icon
constexpr unsigned WM_LOOKUPDONE = 3124;   // wParam: the lookup handle; high word of lParam: the error
constexpr unsigned WM_SOCKETEVENT = 3224;  // wParam: the socket; lParam: the event, and the error above it

constexpr unsigned WM_SERVICEANSWER = 3324;  // the time service's answer came in (or none can come)
constexpr unsigned WM_SERVICESTATUS = 3325;  // the time service's STATUS came in, for the service line
constexpr unsigned WM_ELEVATEDENDED = 3326;  // the elevated install command the rights notice started has ended
constexpr unsigned WM_DPISCALED = 3327;      // the window has been scaled to a new DPI: its layout is taken again

// Timers of the main window.
constexpr uintptr_t SYNC_TIMER_ID = 3524;  // the schedule's one-second tick
constexpr unsigned kSyncTimerPeriodMs = 1000;
// The wait after a resume (round/sync_schedule.h says how long).
constexpr uintptr_t RESUME_TIMER_ID = 3526;

// Timers of the window that carries the queries (the synchronisation host): the first query's
// wait, the others' after it (eight at most), and a round's own wait.
constexpr uintptr_t QUERY_TIMER_ID = 3525;
constexpr uintptr_t ROUND_TIMER_ID = 3540;
