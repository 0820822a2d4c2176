// The real main window, made from the real resources inside the test program, with its files
// written beside the program first.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "shell/message_loop_win32.h"
#include "ui/main_dialog_win32.h"

// What the window asked of the shell's notification area: the tests stand in for the shell there.
struct ShellNotifyCall {
    DWORD message;
    NOTIFYICONDATAA data;
};
const std::vector<ShellNotifyCall>& ShellNotifyCalls();
// From now on in this test the shell answers NIM_SETVERSION as one before Vista does: no.
void ShellRefusesVersion4();

// What the server list control shows: its row count, and a row's texts (at most 511 bytes each)
// and check box, as a user sees them.
int ServerRowCount(HWND list);
ServerRow ReadServerRow(HWND list, int index);

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Files beside the test program, as the window reads them; without these there are none.
    void GivenSettings(const std::string& bytes);
    void GivenServerList(const std::string& bytes);

    // Creates the window as the program does, without showing it.
    void Open(bool autoMode = false);
    // The exit command as the "終了" button gives it; the exit code it ends the loop with.
    int CloseWithExitCommand();

    std::string SettingsPath() const;
    std::string ServerListPath() const;
    std::string LogFilePath() const;
    std::string Setting(const char* section, const char* key) const;  // "<none>" when missing

    HWND Control(int id) const { return GetDlgItem(dialog_->m_hWnd, id); }
    HWND ServerList() const { return Control(IDC_SERVER_LIST); }
    HWND LogList() const { return Control(IDC_LOG_LIST); }

    CMessageLoop loop_;
    std::unique_ptr<MainDialog> dialog_;
};
