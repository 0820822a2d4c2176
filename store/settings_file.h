// The settings file beside the program: "horavo.ini" for "horavo.exe" (Win32).
#pragma once

// Fills the 260-byte buffer with the settings path; the empty text, and false, when there is none.
bool BuildIniPath(char (&path)[260]);
