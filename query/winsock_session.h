// Windows Sockets for the whole process: started by the first query that needs it, not at start-up
// (a program that only sits in the tray loads the socket layer when it first synchronises), and
// cleaned up before the process ends (Win32).
#pragma once

// Starts version 1.1 the first time; later calls only say whether that worked. Without it every
// query fails to make its socket and says so in its row.
bool StartWinsockOnce();

// Cleans up, when it was started.
void StopWinsock();
