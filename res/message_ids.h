// The program's own window messages and timer ids, in one place. Their numbers are the ones the
// program has always used; new ones go here too.
#pragma once

#include <cstdint>

// Messages. The tray icon's callback goes to the main window; the socket layer's two reports go to
// the window that carries the query (the synchronisation host).
// The tray's, as the shell sends it for an icon of version 4: low word of lParam the event (a mouse
// message, NIN_SELECT, NIN_KEYSELECT, WM_CONTEXTMENU), high word the icon's id; wParam the point.
// A shell that refused version 4 sends the mouse message alone in lParam, the id in wParam.
constexpr unsigned WM_TRAYICON = 3112;
// A lookup or NTS key exchange has ended: wParam its id; lParam 0, the result (error included) being
// taken by that id.
constexpr unsigned WM_LOOKUPDONE = 3124;
constexpr unsigned WM_SOCKETEVENT = 3224;  // wParam: the socket; lParam: the event, and the error above it

constexpr unsigned WM_SERVICEANSWER = 3324;  // the time service's answer came in (or none can come)
constexpr unsigned WM_SERVICESTATUS = 3325;  // the time service's STATUS came in, for the service line
constexpr unsigned WM_ELEVATEDENDED = 3326;  // the elevated install command the rights notice started has ended
constexpr unsigned WM_DPISCALED = 3327;      // the window has been scaled to a new DPI: its layout is taken again

// Posted to the time service's thread, not to a window, when the computer resumes: WM_APP + 1, in
// the range Windows leaves to the program and apart from the window messages above.
constexpr unsigned WM_SERVICERESUME = 0x8000 + 1;

// No two messages share a number: the service's thread also runs the synchronisation host's window.
namespace message_ids_detail {
constexpr unsigned kAll[] = {WM_TRAYICON,      WM_LOOKUPDONE,    WM_SOCKETEVENT, WM_SERVICEANSWER,
                             WM_SERVICESTATUS, WM_ELEVATEDENDED, WM_DPISCALED,   WM_SERVICERESUME};
constexpr bool AllDistinct()
{
    for (unsigned i = 0; i < sizeof kAll / sizeof kAll[0]; ++i) {
        for (unsigned j = i + 1; j < sizeof kAll / sizeof kAll[0]; ++j) {
            if (kAll[i] == kAll[j]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(AllDistinct(), "two of the program's messages share a number");
}  // namespace message_ids_detail

// Timers of the main window.
constexpr uintptr_t SYNC_TIMER_ID = 3524;  // the schedule's one-second tick
constexpr unsigned kSyncTimerPeriodMs = 1000;
// The wait after a resume (round/sync_schedule.h says how long).
constexpr uintptr_t RESUME_TIMER_ID = 3526;

// Timers of the window that carries the queries (the synchronisation host): the first query's
// wait, the others' after it (eight at most), and a round's own wait.
constexpr uintptr_t QUERY_TIMER_ID = 3525;
constexpr uintptr_t ROUND_TIMER_ID = 3540;
