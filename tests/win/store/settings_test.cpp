// The settings file read into the window at set-up and written back by a real close.
#include <windows.h>

#include <string>

#include "../main_window_fixture.h"
#include "res/resource.h"
#include "../win_test_support.h"

namespace {

struct SettingsCase {
    const char* what;
    const char* file;           // nullptr: no settings file at all
    bool minimizeTicked;
    bool syncAtStartTicked;
    const char* intervalText;
    int interval;
    const char* offsetText;
    int offset;
    const char* writtenInterval;
    const char* writtenOffset;
    const char* writtenTaskTray;
    const char* writtenAjast;
};

const SettingsCase kSettingsCases[] = {
    {"no file", nullptr, false, false, "60", 60, "0", 0, "60", "0", "0", "0"},
    {"TASKTRAY=1", "[STARTUP]\r\nTASKTRAY=1\r\n", true, false, "60", 60, "0", 0, "60", "0", "1", "0"},
    {"TASKTRAY=2", "[STARTUP]\r\nTASKTRAY=2\r\n", false, false, "60", 60, "0", 0, "60", "0", "0", "0"},
    {"TASKTRAY=yes", "[STARTUP]\r\nTASKTRAY=yes\r\n", false, false, "60", 60, "0", 0, "60", "0", "0", "0"},
    {"AJAST=1", "[STARTUP]\r\nAJAST=1\r\n", false, true, "60", 60, "0", 0, "60", "0", "0", "1"},
    {"empty INTERVAL", "[SETTING]\r\nINTERVAL=\r\n", false, false, "0", 0, "0", 0, "0", "0", "0", "0"},
    {"INTERVAL=1000", "[SETTING]\r\nINTERVAL=1000\r\n", false, false, "360", 360, "0", 0, "360", "0", "0", "0"},
    {"INTERVAL=-5", "[SETTING]\r\nINTERVAL=-5\r\n", false, false, "0", 0, "0", 0, "0", "0", "0", "0"},
    {"INTERVAL=90abc", "[SETTING]\r\nINTERVAL=90abc\r\n", false, false, "90", 90, "0", 0, "90", "0", "0", "0"},
    {"OFFSET=-1000", "[SETTING]\r\nOFFSET=-1000\r\n", false, false, "60", 60, "-360", -360, "60", "-360", "0", "0"},
    {"OFFSET=abc", "[SETTING]\r\nOFFSET=abc\r\n", false, false, "60", 60, "0", 0, "60", "0", "0", "0"},
    {"OFFSET=-", "[SETTING]\r\nOFFSET=-\r\n", false, false, "60", 60, "-", 0, "60", "0", "0", "0"},
    {"OFFSET=-30", "[SETTING]\r\nOFFSET=-30\r\n", false, false, "60", 60, "-30", -30, "60", "-30", "0", "0"},
    {"lower-case names", "[setting]\r\ninterval=15\r\n[startup]\r\najast=1\r\n", false, true, "15", 15, "0", 0,
     "15", "0", "0", "1"},
};

TEST_F(MainWindowTest, SettingsAreReadAndWrittenBackByTheExitCommand)
{
    for (const SettingsCase& c : kSettingsCases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(SettingsPath().c_str());
        if (c.file != nullptr) {
            GivenSettings(c.file);
        }
        Open();
        EXPECT_EQ(c.minimizeTicked, SendMessageA(Control(IDC_MINIMIZE_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED);
        EXPECT_EQ(c.syncAtStartTicked, SendMessageA(Control(IDC_SYNC_AT_START_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED);
        EXPECT_EQ(c.syncAtStartTicked, dialog_->Schedule().syncPending);
        EXPECT_EQ(c.intervalText, WindowText(Control(IDC_INTERVAL_EDIT)));
        EXPECT_EQ(c.interval, dialog_->Interval());
        EXPECT_EQ(c.offsetText, WindowText(Control(IDC_OFFSET_EDIT)));
        EXPECT_EQ(c.offset, dialog_->Offset());

        EXPECT_EQ(IDCANCEL, CloseWithExitCommand());
        EXPECT_EQ(c.writtenInterval, Setting("SETTING", "INTERVAL"));
        EXPECT_EQ(c.writtenOffset, Setting("SETTING", "OFFSET"));
        EXPECT_EQ(c.writtenTaskTray, Setting("STARTUP", "TASKTRAY"));
        EXPECT_EQ(c.writtenAjast, Setting("STARTUP", "AJAST"));
    }
}

TEST_F(MainWindowTest, AFirstCloseWritesBothSectionsInOrder)
{
    Open();
    CloseWithExitCommand();
    const std::string file = ReadFileBytes(SettingsPath());
    const size_t setting = file.find("[SETTING]");
    const size_t startup = file.find("[STARTUP]");
    ASSERT_NE(std::string::npos, setting) << file;
    ASSERT_NE(std::string::npos, startup) << file;
    EXPECT_LT(setting, startup);
    EXPECT_LT(file.find("INTERVAL=60"), file.find("OFFSET=0"));
    EXPECT_LT(file.find("TASKTRAY=0"), file.find("AJAST=0"));
}

TEST_F(MainWindowTest, AnOverlongValueIsStillANumberInRange)
{
    GivenSettings("[SETTING]\r\nINTERVAL=" + std::string(300, '9') + "\r\nOFFSET=-" + std::string(299, '9') + "\r\n");
    Open();
    EXPECT_EQ(360, dialog_->Interval());
    EXPECT_EQ(-360, dialog_->Offset());
    CloseWithExitCommand();
    EXPECT_EQ("360", Setting("SETTING", "INTERVAL"));
    EXPECT_EQ("-360", Setting("SETTING", "OFFSET"));
}

TEST_F(MainWindowTest, ClosingKeepsOtherLinesOfTheSettingsFile)
{
    GivenSettings("; a note of the user\r\n[SETTING]\r\nINTERVAL=5\r\nCOLOUR=blue\r\n[OTHER]\r\nKEY=value\r\n");
    Open();
    CloseWithExitCommand();
    const std::string file = ReadFileBytes(SettingsPath());
    EXPECT_NE(std::string::npos, file.find("; a note of the user")) << file;
    EXPECT_EQ("blue", Setting("SETTING", "COLOUR"));
    EXPECT_EQ("value", Setting("OTHER", "KEY"));
    EXPECT_EQ("5", Setting("SETTING", "INTERVAL"));
}

TEST_F(MainWindowTest, SamplesHaveNoControlAndAreWrittenBackAsRead)
{
    const struct {
        const char* file;
        const char* written;
    } cases[] = {{nullptr, "4"}, {"[SETTING]\r\nSAMPLES=7\r\n", "7"}, {"[SETTING]\r\nSAMPLES=many\r\n", "many"}};
    for (const auto& c : cases) {
        DeleteFileA(SettingsPath().c_str());
        if (c.file != nullptr) {
            GivenSettings(c.file);
        }
        Open();
        CloseWithExitCommand();
        EXPECT_EQ(c.written, Setting("SETTING", "SAMPLES"));
    }
}

TEST_F(MainWindowTest, TickedBoxesAreWrittenAtClose)
{
    Open();
    SendMessageA(Control(IDC_MINIMIZE_CHECK), BM_CLICK, 0, 0);
    SendMessageA(Control(IDC_SYNC_AT_START_CHECK), BM_CLICK, 0, 0);
    EXPECT_FALSE(dialog_->Schedule().syncPending) << "the boxes take effect at the next start";
    CloseWithExitCommand();
    EXPECT_EQ("1", Setting("STARTUP", "TASKTRAY"));
    EXPECT_EQ("1", Setting("STARTUP", "AJAST"));
}

}  // namespace
