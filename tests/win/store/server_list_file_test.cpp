// "server.data" read into the real server list and written back by a real close, byte for byte.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "servers/server_list_view_win32.h"
#include "../win_test_support.h"

namespace {

// 情報通信研究機構 in Shift-JIS.
const std::string kNictName = "\x8F\xEE\x95\xF1\x92\xCA\x90\x4D\x8C\xA4\x8B\x86\x8B\x40\x8D\x5C";

// The exit command, with the message box about unsaved files answered; its text, or "" when none came.
std::string CloseTellingOfUnsavedFiles(HWND window)
{
    std::string told;
    WhenWindowOpens("Tempivo", [&](HWND box) {
        told = WindowText(GetDlgItem(box, 0xFFFF));
        ClickButton(box, IDOK);
    });
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return told;
}

std::string RowsOf(HWND list)
{
    std::string rows;
    for (int i = 0; i < ServerRowCount(list); ++i) {
        rows += FormatServerLine(ReadServerRow(list, i));
    }
    return rows;
}

struct FileCase {
    const char* what;
    std::string file;
    std::string rows;     // as FormatServerLine gives them
    std::string written;  // the file after the close
};

TEST_F(MainWindowTest, ServerListFilesLoadAndSaveInTextMode)
{
    const std::string nict = "1\t" + kNictName + "\tntp.nict.jp";
    const FileCase cases[] = {
        {"a Shift-JIS name, CR LF", nict + "\r\n", nict + "\n", nict + "\r\n"},
        {"LF alone becomes CR LF", "0\tA\ta\n1\tB\tb\n", "0\tA\ta\n1\tB\tb\n", "0\tA\ta\r\n1\tB\tb\r\n"},
        {"mixed line ends, none at the end", "0\tA\ta\r\n1\tB\tb\n0\tC\tc", "0\tA\ta\n1\tB\tb\n0\tC\tc\n",
         "0\tA\ta\r\n1\tB\tb\r\n0\tC\tc\r\n"},
        {"0x1A ends the data", "0\tA\ta\r\n\x1A" "1\tB\tb\r\n", "0\tA\ta\n", "0\tA\ta\r\n"},
        {"skipped lines are not written back", "1\tA\t\r\n\r\n1\tX\ty\tz\r\n0\tB\tb\r\n", "0\tB\tb\n", "0\tB\tb\r\n"},
        {"flags are written as 0 or 1", " 1\tA\ta\r\n2\tB\tb\r\n", "1\tA\ta\n0\tB\tb\n", "1\tA\ta\r\n0\tB\tb\r\n"},
        {"an empty file", "", "", ""},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        GivenServerList(c.file);
        Open();
        EXPECT_EQ(c.rows, RowsOf(ServerList()));
        CloseWithExitCommand();
        EXPECT_EQ(c.written, ReadFileBytes(ServerListPath()));
    }
}

TEST_F(MainWindowTest, WithoutAServerListTheListIsEmptyAndTheCloseWritesOne)
{
    Open();
    EXPECT_EQ(0, ServerRowCount(ServerList()));
    EXPECT_EQ(-1, SendMessageA(ServerList(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    CloseWithExitCommand();
    EXPECT_EQ("", ReadFileBytes(ServerListPath()));
}

TEST_F(MainWindowTest, TheFirstRowIsSelectedAndFocused)
{
    GivenServerList("0\tA\ta\r\n1\tB\tb\r\n");
    Open();
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED,
              SendMessageA(ServerList(), LVM_GETITEMSTATE, 0, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(0, SendMessageA(ServerList(), LVM_GETITEMSTATE, 1, LVIS_SELECTED));
}

TEST_F(MainWindowTest, TenThousandRowsComeBackByteForByte)
{
    std::string file;
    for (int i = 0; i < 10000; ++i) {
        file += (i % 3 == 0 ? "1\t" : "0\t") + kNictName + std::to_string(i) + "\tntp" + std::to_string(i) + ".example.jp:123\r\n";
    }
    GivenServerList(file);
    Open();
    EXPECT_EQ(10000, ServerRowCount(ServerList()));
    CloseWithExitCommand();
    EXPECT_EQ(file, ReadFileBytes(ServerListPath()));
}

TEST_F(MainWindowTest, ARowTickedAfterLoadingIsSavedTicked)
{
    GivenServerList("0\tA\ta\r\n");
    Open();
    ListView_SetCheckState(ServerList(), 0, TRUE);
    CloseWithExitCommand();
    EXPECT_EQ("1\tA\ta\r\n", ReadFileBytes(ServerListPath()));
}

TEST_F(MainWindowTest, AClickOnTheBoxAndTheSpaceBarTickARow)
{
    // The list keeps no boxes of its own: what the user does to one reaches the rows that are saved.
    GivenServerList("0\tA\ta\r\n0\tB\tb\r\n");
    Open();
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(ServerList(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&bounds));
    LVHITTESTINFO hit{};
    hit.pt.y = (bounds.top + bounds.bottom) / 2;
    for (hit.pt.x = 0; hit.pt.x < 40; ++hit.pt.x) {
        SendMessageA(ServerList(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if ((hit.flags & LVHT_ONITEMSTATEICON) != 0) {
            break;
        }
    }
    ASSERT_EQ(1, hit.iItem) << "the box of the second row";
    SendMessageA(ServerList(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageA(ServerList(), WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    SelectServerRow(ServerList(), 0);
    SendMessageA(ServerList(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(ServerList(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(TRUE, ListView_GetCheckState(ServerList(), 1));
    CloseWithExitCommand();
    EXPECT_EQ("1\tA\ta\r\n1\tB\tb\r\n", ReadFileBytes(ServerListPath()));
}

TEST_F(MainWindowTest, AListThatCannotBeWrittenLeavesTheOldFileWholeAndTheUserIsTold)
{
    const std::string old = "1\tA\ta\r\n";
    GivenServerList(old);
    Open();
    ListView_SetCheckState(ServerList(), 0, FALSE);
    // Another program holds the list without letting it be replaced: the new list cannot take its
    // place, and the old one stands. A file planted under the old fixed temporary name is no obstacle.
    const std::string planted = ServerListPath() + ".tmp";
    CreateDirectoryA(planted.c_str(), nullptr);
    HANDLE held = CreateFileA(ServerListPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::string told = CloseTellingOfUnsavedFiles(dialog_->m_hWnd);
    CloseHandle(held);
    RemoveDirectoryA(planted.c_str());
    TakeQuitMessage();
    EXPECT_EQ(old, ReadFileBytes(ServerListPath()));
    EXPECT_NE(std::string::npos, told.find("ファイル: server.data\nフォルダ: " + ProgramFolder())) << told;
    EXPECT_NE(std::string::npos, told.find("保存されていません")) << told;
}

TEST_F(MainWindowTest, AReadOnlyListStaysAsItWasAndLeavesNoTemporaryFile)
{
    const std::string old = "1\tA\ta\r\n";
    GivenServerList(old);
    SetFileAttributesA(ServerListPath().c_str(), FILE_ATTRIBUTE_READONLY);
    Open();
    ListView_SetCheckState(ServerList(), 0, FALSE);
    const std::string told = CloseTellingOfUnsavedFiles(dialog_->m_hWnd);
    TakeQuitMessage();
    SetFileAttributesA(ServerListPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE(std::string::npos, told.find("読み取り専用")) << "the change is lost, and the user told: " << told;
    EXPECT_EQ(old, ReadFileBytes(ServerListPath()));
    EXPECT_FALSE(FileExists(ServerListPath() + ".tmp"));
}

TEST_F(MainWindowTest, AListThatCouldNotBeReadAtStartIsNeverWritten)
{
    const std::string old = "1\tA\ta\r\n0\tB\tb\r\n";
    GivenServerList(old);
    // Another program holds it open without sharing while the window starts, and lets go before the exit.
    HANDLE held = CreateFileA(ServerListPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Open();
    CloseHandle(held);
    EXPECT_EQ(0, ServerRowCount(ServerList()));
    CloseWithExitCommand();
    EXPECT_EQ(old, ReadFileBytes(ServerListPath()));
}

TEST_F(MainWindowTest, LinesThatCouldNotBeReadStayInTheBackup)
{
    const std::string cases[] = {
        "1\tA\ta\r\n1\tno address\t\r\n0\tB\tb\r\n",
        "1\tA\ta\r\n\x1A" "0\tB\tb\r\n",
    };
    for (const std::string& old : cases) {
        DeleteFileA((ServerListPath() + ".bak").c_str());
        GivenServerList(old);
        Open();
        CloseWithExitCommand();
        EXPECT_EQ(old, ReadFileBytes(ServerListPath() + ".bak"));
        EXPECT_EQ(0u, ReadFileBytes(ServerListPath()).find("1\tA\ta\r\n"));
    }
    // A file read whole leaves no backup behind.
    DeleteFileA((ServerListPath() + ".bak").c_str());
    GivenServerList("1\tA\ta\r\n");
    Open();
    CloseWithExitCommand();
    EXPECT_FALSE(FileExists(ServerListPath() + ".bak"));
}

TEST_F(MainWindowTest, RowsNobodyEditedAreWrittenBackByteForByte)
{
    // A list saved as UTF-8: its names are no valid Shift-JIS, and the list control cannot give
    // their bytes back.
    const std::string utf8 = "1\t\xE3\x82\xB0\xE3\x83\xBC\xE3\x82\xB0\xE3\x83\xAB\ttime.google.com\r\n"
                             "0\t\xE6\x83\x85\xE5\xA0\xB1\tntp.nict.jp\r\n";
    GivenServerList(utf8);
    Open();
    CloseWithExitCommand();
    EXPECT_EQ(utf8, ReadFileBytes(ServerListPath()));
}

TEST_F(MainWindowTest, TheEndOfTheSessionSavesWhatTheExitWould)
{
    GivenServerList("1\tA\ta\r\n0\tB\tb\r\n");
    Open();
    SelectServerRow(ServerList(), 1);
    SendMessageA(dialog_->m_hWnd, WM_COMMAND, IDC_MOVE_UP, 0);
    SendMessageA(Control(IDC_INTERVAL_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("15"));
    SendMessageA(dialog_->m_hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_EQ(TRUE, GetWindowLongPtrA(dialog_->m_hWnd, DWLP_MSGRESULT)) << "yes, at once";
    SendMessageA(dialog_->m_hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ("0\tB\tb\r\n1\tA\ta\r\n", ReadFileBytes(ServerListPath()));
    EXPECT_EQ("15", Setting("SETTING", "INTERVAL"));
}

}  // namespace
