// The diagnostic trace channel: discarded in release builds, the debugger's output in debug builds.
#pragma once

void Trace(const char* format, ...);
