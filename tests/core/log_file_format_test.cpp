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

TEST(LogFileFormat, TurnsOverPastOneMegabyte)
{
    EXPECT_FALSE(LogFileTurnsOver(1024 * 1024));
    EXPECT_TRUE(LogFileTurnsOver(1024 * 1024 + 1));
}

}  // namespace
