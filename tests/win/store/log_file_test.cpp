// "horavo.log" as horavo.exe writes it: one line per row, in automatic mode too, switched off by
// LOGFILE=0, turned over past 1 MB, and never in the way of a synchronisation.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../peers.h"
#include "../program_run.h"

namespace {

const char kSynced[] = "同期成功";

// "YYYY/MM/DD HH:MM:SS": digits where the moment goes.
bool IsSecondsTime(const std::string& text)
{
    const std::string shape = "dddd/dd/dd dd:dd:dd";
    if (text.size() != shape.size()) {
        return false;
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != shape[i]) {
            return false;
        }
    }
    return true;
}

// "+0.044 秒": a sign, digits, a point, three decimals and the unit.
bool IsCorrection(const std::string& text)
{
    const std::string unit = " 秒";
    const size_t point = text.find('.');
    if (text.size() < 1 + 1 + 4 + unit.size() || (text[0] != '+' && text[0] != '-') || point == std::string::npos ||
        text.size() != point + 4 + unit.size() || text.compare(point + 4, std::string::npos, unit) != 0) {
        return false;
    }
    for (size_t i = 1; i < point + 4; ++i) {
        if (i != point && (text[i] < '0' || text[i] > '9')) {
            return false;
        }
    }
    return true;
}

// Starts the program with one ticked row of the named peer and synchronises it with the button.
std::vector<LogRow> SyncWith(ProgramRun& run, const char* peer)
{
    run.WriteFile("server.data", std::string("1\tServer\t") + PeerAddress(peer) + "\r\n");
    EXPECT_TRUE(run.Start());
    HWND window = run.WaitForMainWindow();
    if (window == nullptr) {
        return {};
    }
    SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
    return run.WaitForLogRows(window, 1);
}

TEST(LogFile, EachRowIsALineOfTheFile)
{
    ProgramRun run;
    const std::vector<LogRow> rows = SyncWith(run, "good");
    ASSERT_EQ(1u, rows.size());
    const std::string file = run.ReadFile("horavo.log");
    const std::string texts =
        "\t" + rows[0][0] + "\t" + rows[0][1] + "\t" + rows[0][2] + "\t" + rows[0][3] + "\t" + rows[0][4] + "\r\n";
    ASSERT_EQ(19 + texts.size(), file.size()) << file;
    EXPECT_TRUE(IsSecondsTime(file.substr(0, 19))) << file;
    EXPECT_EQ(texts, file.substr(19));
    EXPECT_EQ(kSynced, rows[0][3]);
    EXPECT_TRUE(IsCorrection(rows[0][4])) << rows[0][4];
}

TEST(LogFile, AutomaticModeLeavesALinePerServerTried)
{
    ProgramRun run;
    const std::string list = "1\tSilent\t" + PeerAddress("silent") + "\r\n1\tGood\t" + PeerAddress("good") + "\r\n";
    const std::string settings = "[SETTING]\r\nINTERVAL=5\r\n";
    run.WriteFile("server.data", list);
    run.WriteFile("horavo.ini", settings);
    ASSERT_TRUE(run.Start("-auto"));
    EXPECT_EQ(0u, run.WaitForExit(12000));
    const std::string file = run.ReadFile("horavo.log");
    const size_t firstEnd = file.find("\r\n");
    ASSERT_NE(std::string::npos, firstEnd) << file;
    EXPECT_EQ("\tSilent\t応答なし\t\tエラー\t\r\n", file.substr(19, firstEnd + 2 - 19)) << "no time, no correction";
    EXPECT_EQ("\tGood\t", file.substr(firstEnd + 2 + 19, 6));
    // Its correction: a noise-sized number of either sign.
    const size_t synced = file.find(std::string("\t") + kSynced + "\t", firstEnd);
    ASSERT_NE(std::string::npos, synced) << file;
    EXPECT_LT(std::fabs(std::atof(file.c_str() + synced + std::strlen(kSynced) + 2)), 0.5) << file;
    EXPECT_EQ("\t自動モード\t時刻を合わせました\t\t終了コード 0\t\r\n", file.substr(file.rfind("\r\n", file.size() - 3) + 2 + 19))
        << "every end of automatic mode says why";
    EXPECT_EQ(list, run.ReadFile("server.data"));
    EXPECT_EQ(settings, run.ReadFile("horavo.ini"));
}

TEST(LogFile, LogFileZeroWritesNone)
{
    ProgramRun run;
    run.WriteFile("horavo.ini", "[SETTING]\r\nLOGFILE=0\r\n");
    ASSERT_EQ(1u, SyncWith(run, "good").size());
    EXPECT_EQ("<missing>", run.ReadFile("horavo.log"));
}

TEST(LogFile, AFileThatCannotBeWrittenChangesNothingElse)
{
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "held open without sharing");
        ProgramRun run;
        run.WriteFile("horavo.log", "old\r\n");
        const std::string path = run.Folder() + "\\horavo.log";
        HANDLE held = INVALID_HANDLE_VALUE;
        if (readOnly) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        } else {
            held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
        }
        const std::vector<LogRow> rows = SyncWith(run, "good");
        ASSERT_EQ(1u, rows.size());
        EXPECT_EQ(kSynced, rows[0][3]) << "the synchronisation went on as ever";
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ("old\r\n", run.ReadFile("horavo.log"));
    }
}

TEST(LogFile, PastOneMegabyteItTurnsOver)
{
    ProgramRun run;
    const std::string full(1024 * 1024 + 1, 'x');
    run.WriteFile("horavo.log", full);
    ASSERT_EQ(1u, SyncWith(run, "good").size());
    EXPECT_EQ(full, run.ReadFile("horavo.log.1"));
    const std::string file = run.ReadFile("horavo.log");
    EXPECT_TRUE(IsSecondsTime(file.substr(0, 19))) << file;
    const std::string end = std::string("\t") + kSynced + "\t";
    EXPECT_NE(std::string::npos, file.find(end)) << file;
    EXPECT_EQ(file.size() - 2, file.find("\r\n")) << "one line, the new one";
}

}  // namespace
