// FormatMessageA for a platform error code (Win32).
#include "system_error_text.h"

#include <windows.h>

#include "res/texts.h"

std::string SystemErrorText(uint32_t error)
{
    char text[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) {
        --length;
    }
    if (length == 0) {
        return texts::kErrorCode + std::to_string(error);
    }
    return std::string(text, length);
}
