// Adding, editing, deleting and moving servers through the real entry dialog and message box.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "../dialog_driver.h"
#include "../main_window_fixture.h"
#include "../peers.h"
#include "res/resource.h"
#include "sntp/server_samples.h"
#include "store/server_list_codec.h"
#include "servers/server_list_view_win32.h"
#include "../win_test_support.h"

namespace {

const char kEntryTitle[] = "接続先設定";
const char kDeleteTitle[] = "項目削除";

class ServerListEditTest : public MainWindowTest {
protected:
    void Command(int id) { SendMessageA(dialog_->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    // The rows as "flag name address" lines, for comparing whole lists at once.
    std::string Rows() const
    {
        std::string rows;
        for (int i = 0; i < ServerRowCount(ServerList()); ++i) {
            const ServerRow row = ReadServerRow(ServerList(), i);
            rows += (row.ticked ? "1 " : "0 ") + row.name + " " + row.address + "\n";
        }
        return rows;
    }

    int Selected() const { return SelectedServerRow(ServerList()); }

    // Opens the entry dialog with the command, types the texts and presses OK.
    void EnterServer(int command, const std::string& name, const std::string& address)
    {
        WhenWindowOpens(kEntryTitle, [&](HWND entry) {
            SetControlText(entry, IDC_ENTRY_NAME, name);
            SetControlText(entry, IDC_ENTRY_ADDRESS, address);
            ClickButton(entry, IDOK);
        });
        Command(command);
        EXPECT_TRUE(DialogActionRan());
    }

    void AnswerDelete(int answer)
    {
        WhenWindowOpens(kDeleteTitle, [answer](HWND box) { SendMessageA(box, WM_COMMAND, answer, 0); });
        Command(IDC_DELETE);
        EXPECT_TRUE(DialogActionRan());
    }

    static constexpr char kFourRows[] = "1\tA\ta\r\n0\tB\tb\r\n1\tC\tc\r\n0\tD\td\r\n";
};

TEST_F(ServerListEditTest, AddAppendsAnUntickedSelectedRow)
{
    GivenServerList("1\tA\ta\r\n");
    Open();
    EnterServer(IDC_ADD, "情報通信研究機構", "ntp.nict.jp");
    EXPECT_EQ("1 A a\n0 情報通信研究機構 ntp.nict.jp\n", Rows());
    EXPECT_EQ(1, Selected());
}

// Answers the message box over the entry dialog, then cancels the entry dialog left open.
struct RefusalSeen {
    bool boxSeen = false;
    std::string boxText;
    bool entryStillOpen = false;
};
RefusalSeen g_refusal;

BOOL CALLBACK FindRefusal(HWND window, LPARAM)
{
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (std::string(title) == "Tempivo" && !g_refusal.boxSeen) {
        g_refusal.boxSeen = true;
        g_refusal.boxText = WindowText(GetDlgItem(window, 0xFFFF));
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    if (std::string(title) == kEntryTitle && g_refusal.boxSeen) {
        g_refusal.entryStillOpen = true;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return FALSE;
    }
    return TRUE;
}

void CALLBACK LookForRefusal(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), FindRefusal, 0);
}

TEST_F(ServerListEditTest, AnEmptyAddressIsRefusedWithAMessageAndTheEntryStaysOpen)
{
    GivenServerList("1\tA\ta\r\n");
    Open();
    for (const char* address : {"", "   ", "nts:"}) {
        g_refusal = RefusalSeen();
        WhenWindowOpens(kEntryTitle, [&](HWND entry) {
            SetControlText(entry, IDC_ENTRY_NAME, "名前だけ");
            SetControlText(entry, IDC_ENTRY_ADDRESS, address);
            PostMessageA(entry, WM_COMMAND, IDOK, 0);
        });
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookForRefusal);
        Command(IDC_ADD);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(g_refusal.boxSeen) << '"' << address << '"';
        EXPECT_NE(std::string::npos, g_refusal.boxText.find("アドレスを入力してください")) << g_refusal.boxText;
        EXPECT_TRUE(g_refusal.entryStillOpen) << '"' << address << '"';
        EXPECT_EQ("1 A a\n", Rows()) << '"' << address << '"';
    }
}

TEST_F(ServerListEditTest, ARowWithoutAnAddressInTheFileComesBackAfterARestart)
{
    // Written by hand or by an older version: kept as it is, though the dialog would not make it.
    GivenServerList("0\t未設定\t\t\r\n");
    Open();
    EXPECT_EQ("0 未設定 \n", Rows());
    CloseWithExitCommand();
    EXPECT_EQ("0\t未設定\t\t\r\n", ReadFileBytes(ServerListPath()));
}

TEST_F(ServerListEditTest, CancellingTheEntryChangesNothing)
{
    GivenServerList("1\tA\ta\r\n");
    Open();
    const struct {
        const char* how;
        std::function<void(HWND)> cancel;
    } ways[] = {
        {"button", [](HWND entry) { ClickButton(entry, IDCANCEL); }},
        {"Esc", [](HWND entry) { PostMessageA(GetDlgItem(entry, IDC_ENTRY_NAME), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"close box", [](HWND entry) { PostMessageA(entry, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        WhenWindowOpens(kEntryTitle, [&](HWND entry) {
            SetControlText(entry, IDC_ENTRY_NAME, "typed");
            way.cancel(entry);
        });
        Command(IDC_ADD);
        EXPECT_TRUE(DialogActionRan()) << way.how;
        EXPECT_EQ("1 A a\n", Rows()) << way.how;
    }
}

TEST_F(ServerListEditTest, EditKeepsTheCheckBoxAndThePlace)
{
    GivenServerList(kFourRows);
    Open();
    SelectServerRow(ServerList(), 2);
    std::string shownName;
    WhenWindowOpens(kEntryTitle, [&](HWND entry) {
        char text[64] = "";
        GetDlgItemTextA(entry, IDC_ENTRY_NAME, text, sizeof text);
        shownName = text;
        SetControlText(entry, IDC_ENTRY_NAME, "C2");
        SetControlText(entry, IDC_ENTRY_ADDRESS, "c2:10123");
        ClickButton(entry, IDOK);
    });
    NMHDR doubleClick{ServerList(), IDC_SERVER_LIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(dialog_->m_hWnd, WM_NOTIFY, IDC_SERVER_LIST, reinterpret_cast<LPARAM>(&doubleClick));
    EXPECT_EQ("C", shownName) << "the dialog starts with the row's texts";
    EXPECT_EQ("1 A a\n0 B b\n1 C2 c2:10123\n0 D d\n", Rows());
    EXPECT_EQ(2, Selected());
}

TEST_F(ServerListEditTest, ADoubleClickOnTheLogOrWithoutSelectionEditsNothing)
{
    GivenServerList("1\tA\ta\r\n");
    Open();
    WhenWindowOpens(kEntryTitle, [](HWND entry) { ClickButton(entry, IDCANCEL); });
    NMHDR onLog{LogList(), IDC_LOG_LIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(dialog_->m_hWnd, WM_NOTIFY, IDC_LOG_LIST, reinterpret_cast<LPARAM>(&onLog));
    PumpMessages();
    EXPECT_FALSE(DialogActionRan());
    ListView_SetItemState(ServerList(), 0, 0, LVIS_SELECTED);
    NMHDR onList{ServerList(), IDC_SERVER_LIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(dialog_->m_hWnd, WM_NOTIFY, IDC_SERVER_LIST, reinterpret_cast<LPARAM>(&onList));
    PumpMessages();
    EXPECT_FALSE(DialogActionRan());
}

TEST_F(ServerListEditTest, TheEntryKeepsWhatTheFileKeepsAndNoTabs)
{
    // "server.data" keeps a field of up to 511 bytes; the entry cuts nothing shorter, and never
    // half a double-byte character.
    const struct {
        std::string typed;
        std::string kept;
    } names[] = {
        {std::string(kMaxFieldBytes + 1, 'n'), std::string(kMaxFieldBytes, 'n')},
        {std::string(kMaxFieldBytes - 1, 'n') + "情", std::string(kMaxFieldBytes - 1, 'n')},
    };
    Open();
    for (const auto& name : names) {
        EnterServer(IDC_ADD, name.typed, "a\tb");
        const ServerRow row = ReadServerRow(ServerList(), Selected());
        EXPECT_EQ(name.kept, row.name);
        EXPECT_EQ("a b", row.address) << "a pasted tab would break the file";
    }
}

TEST_F(ServerListEditTest, ALongRowFromTheFileComesThroughAnEditWhole)
{
    const std::string longName(400, 'n');
    const std::string longAddress = "nts:" + std::string(kMaxFieldBytes - 4, 'a');
    GivenServerList("1\t" + longName + "\t" + longAddress + "\r\n");
    Open();
    WhenWindowOpens(kEntryTitle, [](HWND entry) { ClickButton(entry, IDOK); });
    NMHDR doubleClick{ServerList(), IDC_SERVER_LIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(dialog_->m_hWnd, WM_NOTIFY, IDC_SERVER_LIST, reinterpret_cast<LPARAM>(&doubleClick));
    EXPECT_TRUE(DialogActionRan());
    EXPECT_EQ("1 " + longName + " " + longAddress + "\n", Rows());
}

TEST_F(ServerListEditTest, DeleteAsksAndActsOnTheAnswer)
{
    const struct {
        const char* what;
        int select;
        int answer;
        const char* rows;
        int selectedAfter;
    } cases[] = {
        {"No keeps the row selected", 1, IDNO, "1 A a\n0 B b\n1 C c\n0 D d\n", 1},
        {"a middle row: the one below takes its place", 1, IDYES, "1 A a\n1 C c\n0 D d\n", 1},
        {"the last row: nothing selected", 3, IDYES, "1 A a\n0 B b\n1 C c\n", -1},
        {"the first row", 0, IDYES, "0 B b\n1 C c\n0 D d\n", 0},
    };
    for (const auto& c : cases) {
        GivenServerList(kFourRows);
        Open();
        SelectServerRow(ServerList(), c.select);
        std::string question;
        WhenWindowOpens(kDeleteTitle, [&](HWND box) {
            question = WindowText(GetDlgItem(box, 0xFFFF));
            SendMessageA(box, WM_COMMAND, c.answer, 0);
        });
        Command(IDC_DELETE);
        EXPECT_EQ(std::string("[ ") + "ABCD"[c.select] + " ] を削除しますか？", question) << c.what;
        EXPECT_EQ(c.rows, Rows()) << c.what;
        EXPECT_EQ(c.selectedAfter, Selected()) << c.what;
        CloseWithExitCommand();
    }
}

TEST_F(ServerListEditTest, TheDeleteKeyInTheListAsksLikeTheButton)
{
    GivenServerList(kFourRows);
    Open();
    SelectServerRow(ServerList(), 2);
    std::string question;
    WhenWindowOpens(kDeleteTitle, [&](HWND box) {
        question = WindowText(GetDlgItem(box, 0xFFFF));
        SendMessageA(box, WM_COMMAND, IDYES, 0);
    });
    SendMessageA(ServerList(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ("[ C ] を削除しますか？", question);
    EXPECT_EQ("1 A a\n0 B b\n0 D d\n", Rows());
    SendMessageA(LogList(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ("1 A a\n0 B b\n0 D d\n", Rows()) << "only in the server list";
}

TEST_F(ServerListEditTest, DeletingTheOnlyRowLeavesAnEmptyList)
{
    GivenServerList("1\tA\ta\r\n");
    Open();
    AnswerDelete(IDYES);
    EXPECT_EQ("", Rows());
    EXPECT_EQ(-1, Selected());
}

TEST_F(ServerListEditTest, MovesCarryTheCheckBoxesAndStopAtTheEnds)
{
    const struct {
        const char* what;
        int select;
        int command;
        const char* rows;
        int selectedAfter;
    } cases[] = {
        {"first row up: nothing", 0, IDC_MOVE_UP, "1 A a\n0 B b\n1 C c\n0 D d\n", 0},
        {"last row down: nothing", 3, IDC_MOVE_DOWN, "1 A a\n0 B b\n1 C c\n0 D d\n", 3},
        {"a ticked row down", 0, IDC_MOVE_DOWN, "0 B b\n1 A a\n1 C c\n0 D d\n", 1},
        {"a middle row up", 2, IDC_MOVE_UP, "1 A a\n1 C c\n0 B b\n0 D d\n", 1},
        {"a middle row down", 1, IDC_MOVE_DOWN, "1 A a\n1 C c\n0 B b\n0 D d\n", 2},
        {"the last row up", 3, IDC_MOVE_UP, "1 A a\n0 B b\n0 D d\n1 C c\n", 2},
    };
    for (const auto& c : cases) {
        GivenServerList(kFourRows);
        Open();
        SelectServerRow(ServerList(), c.select);
        Command(c.command);
        EXPECT_EQ(c.rows, Rows()) << c.what;
        EXPECT_EQ(c.selectedAfter, Selected()) << c.what;
        CloseWithExitCommand();
    }
}

TEST_F(ServerListEditTest, WithoutASelectionNoCommandDoesAnything)
{
    GivenServerList(kFourRows);
    Open();
    ListView_SetItemState(ServerList(), -1, 0, LVIS_SELECTED);
    WhenWindowOpens(kDeleteTitle, [](HWND box) { SendMessageA(box, WM_COMMAND, IDYES, 0); });
    for (int command : {IDC_DELETE, IDC_MOVE_UP, IDC_MOVE_DOWN}) {
        Command(command);
    }
    EXPECT_FALSE(DialogActionRan());
    EXPECT_EQ("1 A a\n0 B b\n1 C c\n0 D d\n", Rows());
}

TEST_F(ServerListEditTest, MovingKeepsTheRotationCursorAsAPlainIndex)
{
    GivenServerList("1\tA\ta\r\n1\tB\tb\r\n1\tC\tc\r\n1\tD\td\r\n");
    Open();
    dialog_->Schedule().nextServer = 2;
    SelectServerRow(ServerList(), 2);
    Command(IDC_MOVE_UP);
    ASSERT_TRUE(dialog_->SelectNextServer());
    EXPECT_EQ("B", dialog_->CurrentServer().name) << "row 2 is now B";
}

TEST_F(ServerListEditTest, ASynchronisationFinishesWhileTheEntryDialogIsOpen)
{
    GivenServerList("0\tSlow\t" + PeerAddress("slow") + "\r\n");
    Open();
    Command(IDC_SYNC);  // the replies come after the dialog has opened
    int rowsWhileOpen = -1;
    // Four samples of 500 ms each, a spacing apart, then a second to spare.
    WhenWindowOpens(
        kEntryTitle,
        [&](HWND entry) {
            rowsWhileOpen = static_cast<int>(SendMessageA(LogList(), LVM_GETITEMCOUNT, 0, 0));
            ClickButton(entry, IDCANCEL);
        },
        kDefaultSamples * 500 + (kDefaultSamples - 1) * kSampleSpacingMs + 1000);
    Command(IDC_ADD);
    EXPECT_EQ(1, rowsWhileOpen) << "the reply was handled by the entry dialog's own loop";
}

// The check box 「NTS (認証付き) を使う」 and "nts:" in front of the address say the same: the box
// writes or removes the prefix (whatever its case), typing it sets the box, and a row opened for
// editing shows its box as its address says.
TEST_F(ServerListEditTest, TheNtsCheckBoxWritesAndRemovesThePrefix)
{
    GivenServerList("1\tCloudflare\tNTS:time.cloudflare.com\r\n");
    Open();
    std::vector<std::string> seen;
    const auto state = [&seen](HWND entry) {
        char text[300] = "";
        GetDlgItemTextA(entry, IDC_ENTRY_ADDRESS, text, sizeof text);
        seen.push_back(std::string(IsDlgButtonChecked(entry, IDC_ENTRY_NTS) == BST_CHECKED ? "[x] " : "[ ] ") + text);
    };
    const auto click = [](HWND entry) { SendMessageA(GetDlgItem(entry, IDC_ENTRY_NTS), BM_CLICK, 0, 0); };
    WhenWindowOpens(kEntryTitle, [&](HWND entry) {
        state(entry);
        click(entry);
        state(entry);
        click(entry);
        state(entry);
        SetControlText(entry, IDC_ENTRY_ADDRESS, "ntp.nict.jp");
        state(entry);
        SetControlText(entry, IDC_ENTRY_ADDRESS, "nts:nts.netnod.se");
        state(entry);
        click(entry);
        state(entry);
        click(entry);
        ClickButton(entry, IDOK);
    });
    NMHDR doubleClick{ServerList(), IDC_SERVER_LIST, static_cast<UINT>(NM_DBLCLK)};
    SendMessageA(dialog_->m_hWnd, WM_NOTIFY, IDC_SERVER_LIST, reinterpret_cast<LPARAM>(&doubleClick));
    ASSERT_TRUE(DialogActionRan());
    EXPECT_EQ((std::vector<std::string>{"[x] NTS:time.cloudflare.com", "[ ] time.cloudflare.com",
                                        "[x] nts:time.cloudflare.com", "[ ] ntp.nict.jp", "[x] nts:nts.netnod.se",
                                        "[ ] nts.netnod.se"}),
              seen);
    EXPECT_EQ("1 Cloudflare nts:nts.netnod.se\n", Rows());
}

}  // namespace
