// What a command-line action tells its user (Win32): a line on the standard error when the program
// was started with one (a console, a script, a test), otherwise a message box; quietly, the line or
// nothing, never a box.
#pragma once

#include <string>

void ReportToUser(const std::string& text, bool failed, bool quiet = false);
