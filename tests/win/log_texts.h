// Reading the time texts of log rows back, for comparing them.
#pragma once

#include <string>

// "2026/12/08 23:59:07.0123" or "2026/12/08 23:59:07 [+30]" as seconds on a running scale (with
// milliseconds when the text has them); -1 when the text is neither form.
double TimeTextSeconds(const std::string& text);

// Whether a text is exactly the millisecond form, and the offset form with the given offset.
bool IsMillisecondTimeText(const std::string& text);
bool IsOffsetTimeText(const std::string& text, int offset);
