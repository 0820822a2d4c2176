// The message numbers are the platform's; written out here so the rules are tested anywhere.
#include "message_rules.h"

namespace {

constexpr unsigned kMouseMove = 0x0200;           // WM_MOUSEMOVE
constexpr unsigned kNonClientMouseMove = 0x00A0;  // WM_NCMOUSEMOVE
constexpr unsigned kPaint = 0x000F;               // WM_PAINT
constexpr unsigned kCaretBlinkTimer = 0x0118;     // the platform's internal caret timer
constexpr unsigned kVKeyToItem = 0x002E;          // WM_VKEYTOITEM
constexpr unsigned kCharToItem = 0x002F;          // WM_CHARTOITEM
constexpr unsigned kQueryDragIcon = 0x0037;       // WM_QUERYDRAGICON
constexpr unsigned kCompareItem = 0x0039;         // WM_COMPAREITEM
constexpr unsigned kInitDialog = 0x0110;          // WM_INITDIALOG
constexpr unsigned kFirstControlColour = 0x0132;  // WM_CTLCOLORMSGBOX
constexpr unsigned kLastControlColour = 0x0138;   // WM_CTLCOLORSTATIC

}  // namespace

bool ReArmsIdleWork(unsigned message)
{
    return message != kMouseMove && message != kNonClientMouseMove && message != kPaint && message != kCaretBlinkTimer;
}

bool ReturnsResultDirectly(unsigned message)
{
    switch (message) {
    case kVKeyToItem:
    case kCharToItem:
    case kQueryDragIcon:
    case kCompareItem:
    case kInitDialog:
        return true;
    default:
        return message >= kFirstControlColour && message <= kLastControlColour;
    }
}
