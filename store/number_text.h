// The interval and offset edits hold a number within their range, whatever is typed into them.
#pragma once

#include <cstdint>
#include <string>

constexpr size_t kNumberEditReadBytes = 11;  // only the first 11 bytes of an edit are considered

struct NumberEditChange {
    bool rewrite;        // false: the text stands as it is
    std::string text;    // the new text when rewrite is set
    bool restoreCaret;   // put the caret back where it was (not after writing "0" for no number)
};

// What the edit's text (its first 11 bytes) becomes. A lone "-" stays while the range goes below
// zero, so a negative number can be typed. Text already in normal form is never rewritten, so the
// change notification that a rewrite raises ends there.
NumberEditChange NormalizeNumberText(const std::string& text, int32_t minimum, int32_t maximum);

// The value of an edit's text: leading number (atoi), kept within 32 bits.
int32_t NumberEditValue(const std::string& text);
