// The time service (Win32): horavo.exe -service, as the service manager starts it. It holds the right
// to set the clock, runs the synchronisation engine on its own thread (a round 10 s after start,
// then every interval, and 10 s after every resume) and answers the pipe's requests.
#pragma once

// The process's exit code: 0 once the service has run and stopped; 1 when started any other way.
int RunTimeService();
