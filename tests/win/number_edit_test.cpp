// What the interval and offset edits show and hold after text is pasted or typed into them.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "main_window_fixture.h"
#include "win_test_support.h"

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
        HWND edit = c.offsetEdit ? dialog_->m_offsetEdit : dialog_->m_intervalEdit;
        Paste(edit, c.typed);
        EXPECT_EQ(c.afterwards, WindowText(edit)) << '"' << c.typed << '"';
        EXPECT_EQ(c.value, c.offsetEdit ? dialog_->m_nOffset : dialog_->m_nInterval) << '"' << c.typed << '"';
    }
}

TEST_F(MainWindowTest, TypingPastTheMaximumLeavesTheCaretAtTheEnd)
{
    Open();
    Paste(dialog_->m_intervalEdit, "36");
    SendMessageA(dialog_->m_intervalEdit, EM_SETSEL, 2, 2);
    TypeKey(dialog_->m_intervalEdit, '5');
    EXPECT_EQ("360", WindowText(dialog_->m_intervalEdit));
    EXPECT_EQ(360, dialog_->m_nInterval);
    EXPECT_EQ(3u, Caret(dialog_->m_intervalEdit));
}

TEST_F(MainWindowTest, ClearingWithBackspaceGivesZeroAtOnce)
{
    Open();
    Paste(dialog_->m_intervalEdit, "7");
    SendMessageA(dialog_->m_intervalEdit, EM_SETSEL, 1, 1);
    TypeKey(dialog_->m_intervalEdit, '\b');
    EXPECT_EQ("0", WindowText(dialog_->m_intervalEdit));
    EXPECT_EQ(0, dialog_->m_nInterval);
}

TEST_F(MainWindowTest, ANegativeOffsetCanBeTypedKeyByKey)
{
    Open();
    SendMessageA(dialog_->m_offsetEdit, EM_SETSEL, 0, -1);
    TypeKey(dialog_->m_offsetEdit, '-');
    EXPECT_EQ("-", WindowText(dialog_->m_offsetEdit));
    EXPECT_EQ(0, dialog_->m_nOffset);
    TypeKey(dialog_->m_offsetEdit, '3');
    TypeKey(dialog_->m_offsetEdit, '0');
    EXPECT_EQ("-30", WindowText(dialog_->m_offsetEdit));
    EXPECT_EQ(-30, dialog_->m_nOffset);
}

TEST_F(MainWindowTest, ArrowKeysStepTheValueThroughTheSpin)
{
    Open();
    SendMessageA(dialog_->m_intervalEdit, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ("61", WindowText(dialog_->m_intervalEdit));
    EXPECT_EQ(61, dialog_->m_nInterval);
    Paste(dialog_->m_offsetEdit, "-360");
    SendMessageA(dialog_->m_offsetEdit, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(-360, dialog_->m_nOffset) << "the spin stops at the bottom of the range";
}

}  // namespace
