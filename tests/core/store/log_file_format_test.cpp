// The lines of horavo.log: one line a row, whatever its texts hold, and when the file turns over.
#include "store/log_file_format.h"

#include <gtest/gtest.h>

namespace {

TEST(LogFileFormat, EveryRowStaysOneLine)
{
    EXPECT_EQ("2026/12/08 14:35:02\tNICT\t応答なし\t\tエラー\r\n",
              FormatLogFileLine("2026/12/08 14:35:02", {"NICT", "応答なし", "", "エラー"}));
    EXPECT_EQ("t\ta b c d\te\r\n", FormatLogFileLine("t", {"a\tb\rc\nd", "e"}));
}

TEST(LogFileFormat, TurnsOverPastOneMegabyteUnlessTheOlderFileIsTheUsers)
{
    const struct {
        uint64_t size;
        bool olderReadOnly;
        LogTurnOver decision;
    } cases[] = {
        {1024 * 1024, false, LogTurnOver::No},
        {1024 * 1024 + 1, false, LogTurnOver::First},
        {50u * 1024 * 1024, false, LogTurnOver::First},
        {1024 * 1024 + 1, true, LogTurnOver::No},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.decision, DecideLogTurnOver(c.size, c.olderReadOnly)) << c.size << " " << c.olderReadOnly;
    }
}

TEST(LogFileFormat, OneMutexALogFile)
{
    const std::string name = LogMutexName("C:\\Tools\\horavo.log");
    EXPECT_EQ(name, LogMutexName("C:\\Tools\\horavo.log"));
    EXPECT_NE(name, LogMutexName("C:\\Other\\horavo.log"));
    EXPECT_EQ(std::string::npos, name.find('\\', 7)) << "no backslash after Global\\: " << name;
}

}  // namespace
