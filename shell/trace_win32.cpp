// Trace texts go nowhere in the product; a debug build hands them to OutputDebugStringA (Win32).
#include "trace.h"

#include <windows.h>

#include <cstdarg>

void Trace(const char* format, ...)
{
#ifdef NDEBUG
    (void)format;
#else
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    wvsprintfA(text, format, arguments);
    va_end(arguments);
    OutputDebugStringA(text);
#endif
}
