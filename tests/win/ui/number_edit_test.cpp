// What the interval and offset edits show and hold after text is pasted or typed into them.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "../main_window_fixture.h"
#include "../win_test_support.h"

namespace {

// Replaces the whole text at once, as a paste over a selection does: one change notification.
void Paste(HWND edit, const char* text)
{
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void TypeKey(HWND edit, char key)
{
    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
}

DWORD Caret(HWND edit)
{
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    return end;
}

struct PasteCase {
    bool offsetEdit;
    const char* typed;
    const char* afterwards;
    int value;
};

const PasteCase kPasteCases[] = {
    {false, "", "0", 0},     {false, "-", "0", 0},     {false, "abc", "0", 0},  {false, "12x", "12", 12},
    {false, "400", "360", 360}, {false, "-5", "0", 0}, {false, "007", "7", 7}, {false, " 7", "7", 7},
    {true, "-", "-", 0},     {true, "-400", "-360", -360}, {true, "400", "360", 360}, {true, "+5", "5", 5},
    {true, "--5", "0", 0},
    // Only the first 11 bytes count: "12345678901" is far beyond the range, whatever follows.
    {false, "123456789012345", "360", 360},
    {false, "4294967296", "360", 360},  // 2^32 would wrap to 0 in 32 bits
};

TEST_F(MainWindowTest, PastedTextBecomesANumberInRange)
{
    Open();
    for (const PasteCase& c : kPasteCases) {
        HWND edit = c.offsetEdit ? Control(IDC_OFFSET_EDIT) : Control(IDC_INTERVAL_EDIT);
        Paste(edit, c.typed);
        EXPECT_EQ(c.afterwards, WindowText(edit)) << '"' << c.typed << '"';
        EXPECT_EQ(c.value, c.offsetEdit ? dialog_->Offset() : dialog_->Interval()) << '"' << c.typed << '"';
    }
}

TEST_F(MainWindowTest, TypingPastTheMaximumLeavesTheCaretAtTheEnd)
{
    Open();
    Paste(Control(IDC_INTERVAL_EDIT), "36");
    SendMessageA(Control(IDC_INTERVAL_EDIT), EM_SETSEL, 2, 2);
    TypeKey(Control(IDC_INTERVAL_EDIT), '5');
    EXPECT_EQ("360", WindowText(Control(IDC_INTERVAL_EDIT)));
    EXPECT_EQ(360, dialog_->Interval());
    EXPECT_EQ(3u, Caret(Control(IDC_INTERVAL_EDIT)));
}

TEST_F(MainWindowTest, ClearingWithBackspaceGivesZeroAtOnce)
{
    Open();
    Paste(Control(IDC_INTERVAL_EDIT), "7");
    SendMessageA(Control(IDC_INTERVAL_EDIT), EM_SETSEL, 1, 1);
    TypeKey(Control(IDC_INTERVAL_EDIT), '\b');
    EXPECT_EQ("0", WindowText(Control(IDC_INTERVAL_EDIT)));
    EXPECT_EQ(0, dialog_->Interval());
}

TEST_F(MainWindowTest, ANegativeOffsetCanBeTypedKeyByKey)
{
    Open();
    SendMessageA(Control(IDC_OFFSET_EDIT), EM_SETSEL, 0, -1);
    TypeKey(Control(IDC_OFFSET_EDIT), '-');
    EXPECT_EQ("-", WindowText(Control(IDC_OFFSET_EDIT)));
    EXPECT_EQ(0, dialog_->Offset());
    TypeKey(Control(IDC_OFFSET_EDIT), '3');
    TypeKey(Control(IDC_OFFSET_EDIT), '0');
    EXPECT_EQ("-30", WindowText(Control(IDC_OFFSET_EDIT)));
    EXPECT_EQ(-30, dialog_->Offset());
}

TEST_F(MainWindowTest, ArrowKeysStepTheValueThroughTheSpin)
{
    Open();
    SendMessageA(Control(IDC_INTERVAL_EDIT), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ("61", WindowText(Control(IDC_INTERVAL_EDIT)));
    EXPECT_EQ(61, dialog_->Interval());
    Paste(Control(IDC_OFFSET_EDIT), "-360");
    SendMessageA(Control(IDC_OFFSET_EDIT), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(-360, dialog_->Offset()) << "the spin stops at the bottom of the range";
}

}  // namespace
