// The command line after the program's name, and which arguments select automatic mode.
#include "shell/command_line.h"
#include "shell/command_outcome.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SkipProgramName, LeavesTheArguments)
{
    const struct {
        const char* commandLine;
        const char* arguments;
    } cases[] = {
        {"horavo.exe -auto", "-auto"},
        {"horavo.exe   \t-auto", "-auto"},
        {"\"C:\\Program Files\\Tempivo\\horavo.exe\" -auto", "-auto"},
        {"\"C:\\Program Files\\Tempivo\\horavo.exe\"-auto", "-auto"},
        {"\"C:\\unclosed quote -auto", ""},
        {"horavo.exe", ""},
        {"horavo.exe -auto  ", "-auto  "},
        {"", ""},
        // An unquoted Shift-JIS folder name (時刻, 0x8E 0x9E 0x8D 0x8F) is part of the program name.
        {"C:\\\x8E\x9E\x8D\x8F\\horavo.exe -auto", "-auto"},
        {"horavo.exe\x01\x1F-auto", "-auto"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.arguments, SkipProgramName(c.commandLine)) << c.commandLine;
    }
}

TEST(IsAutoModeArgument, OnlyTheWholeWordInAnyCase)
{
    const struct {
        const char* arguments;
        bool automatic;
    } cases[] = {
        {"-auto", true}, {"-AUTO", true}, {"-Auto", true}, {"-aUtO", true},
        {"", false},     {"-auto ", false}, {"-auto x", false}, {"/auto", false},
        {"auto", false}, {"-aut", false},  {"--auto", false}, {"-autox", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.automatic, IsAutoModeArgument(c.arguments)) << '"' << c.arguments << '"';
    }
}

TEST(ParseRunMode, EachWordAloneInAnyCase)
{
    const struct {
        const char* arguments;
        RunMode mode;
    } cases[] = {
        {"-auto", RunMode::Automatic},           {"-SERVICE", RunMode::Service},
        {"-Install-Service", RunMode::InstallService}, {"-uninstall-service", RunMode::UninstallService},
        {"-service -auto", RunMode::Normal},     {"-install", RunMode::Normal},
        {"-service ", RunMode::Normal},          {"", RunMode::Normal},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.mode, ParseRunMode(c.arguments)) << '"' << c.arguments << '"';
    }
}

TEST(ParseRunCommand, TheServiceCommandsTakeQuietAfterThem)
{
    const struct {
        const char* arguments;
        RunMode mode;
        bool quiet;
    } cases[] = {
        {"-install-service -quiet", RunMode::InstallService, true},
        {"-UNINSTALL-SERVICE   -Quiet", RunMode::UninstallService, true},
        {"-update-service", RunMode::UpdateService, false},
        {"-update-service -quiet", RunMode::UpdateService, true},
        {"-install-service -quiet -quiet", RunMode::Normal, false},
        {"-install-service -q", RunMode::Normal, false},
        {"-quiet -install-service", RunMode::Normal, false},
        {"-auto -quiet", RunMode::Normal, false},
        {"-service -quiet", RunMode::Normal, false},
    };
    for (const auto& c : cases) {
        const RunCommand command = ParseRunCommand(c.arguments);
        EXPECT_EQ(c.mode, command.mode) << '"' << c.arguments << '"';
        EXPECT_EQ(c.quiet, command.quiet) << '"' << c.arguments << '"';
    }
}

TEST(ParseRetry, TheRestartedWindowsRoundAndNothingElse)
{
    const struct {
        const char* arguments;
        bool retry;
        int row;
    } cases[] = {
        {"-retry", true, -1},      {"-RETRY", true, -1},     {"-retry 0", true, 0},
        {"-retry 12", true, 12},   {"-retry 999999", true, 999999},
        {"-retry 1000000", false, -1},  // more rows than any list has
        {"-retry ", false, -1},    {"-retry -1", false, -1}, {"-retry 3 ", false, -1},
        {"-retry x", false, -1},   {"-retry3", false, -1},   {"", false, -1},
        {"-auto", false, -1},      {"retry 3", false, -1},
    };
    for (const auto& c : cases) {
        const RetryRequest request = ParseRetry(c.arguments);
        EXPECT_EQ(c.retry, request.retry) << '"' << c.arguments << '"';
        EXPECT_EQ(c.row, request.row) << '"' << c.arguments << '"';
        if (c.retry) {
            EXPECT_EQ(RunMode::Normal, ParseRunMode(c.arguments)) << "a window of its own: " << c.arguments;
        }
    }
    for (const int row : {-1, 0, 7, 4321}) {
        const RetryRequest back = ParseRetry(RetryArguments(row).c_str());
        EXPECT_TRUE(back.retry) << row;
        EXPECT_EQ(row, back.row);
    }
}

TEST(CommandExitCode, QuietlyEachOutcomeItsOwnOtherwiseTheCodesOfOld)
{
    const struct {
        CommandOutcome outcome;
        int quiet, spoken;
    } cases[] = {
        {CommandOutcome::Done, 0, 0},
        {CommandOutcome::Failed, 1, 1},
        {CommandOutcome::NeedsAdministrator, 2, 1},
        {CommandOutcome::NothingToDo, 3, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.quiet, CommandExitCode(c.outcome, true));
        EXPECT_EQ(c.spoken, CommandExitCode(c.outcome, false));
    }
}

TEST(CommandLine, BlanksBeforeTheWordDoNotMatter)
{
    EXPECT_TRUE(IsAutoModeArgument(SkipProgramName("horavo.exe    -AUTO")));
    EXPECT_FALSE(IsAutoModeArgument(SkipProgramName("horavo.exe -auto now")));
}

}  // namespace
