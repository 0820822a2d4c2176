// Paths of the settings and server list files, cut from the program path like _splitpath does.
#include "store/file_locations.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SplitPath, CutsDriveFolderNameAndLastExtension)
{
    const struct {
        const char* path;
        const char* drive;
        const char* folder;
        const char* baseName;
        const char* extension;
    } cases[] = {
        {"C:\\Tools\\horavo.exe", "C:", "\\Tools\\", "horavo", ".exe"},
        {"C:\\Tools\\my.tool.exe", "C:", "\\Tools\\", "my.tool", ".exe"},
        {"C:\\Tools\\horavo", "C:", "\\Tools\\", "horavo", ""},
        {"C:\\a.b\\horavo", "C:", "\\a.b\\", "horavo", ""},
        {"C:/mixed\\sep/horavo.exe", "C:", "/mixed\\sep/", "horavo", ".exe"},
        {"\\\\server\\share\\horavo.exe", "", "\\\\server\\share\\", "horavo", ".exe"},
        {"horavo.exe", "", "", "horavo", ".exe"},
        // 表 is 0x95 0x5C: its trail byte is no folder separator.
        {"C:\\\x95\x5C\\horavo.exe", "C:", "\\\x95\x5C\\", "horavo", ".exe"},
        {"C:\\Tools\\\x95\x5C.exe", "C:", "\\Tools\\", "\x95\x5C", ".exe"},
    };
    for (const auto& c : cases) {
        const PathParts parts = SplitPath(c.path, IsShiftJisLeadByte);
        EXPECT_EQ(c.drive, parts.drive) << c.path;
        EXPECT_EQ(c.folder, parts.folder) << c.path;
        EXPECT_EQ(c.baseName, parts.baseName) << c.path;
        EXPECT_EQ(c.extension, parts.extension) << c.path;
    }
}

TEST(FileLocations, SitBesideTheProgram)
{
    EXPECT_EQ("C:\\Tools\\horavo.ini", SettingsPathFor("C:\\Tools\\horavo.exe", IsShiftJisLeadByte));
    EXPECT_EQ("C:\\Tools\\my.tool.ini", SettingsPathFor("C:\\Tools\\my.tool.exe", IsShiftJisLeadByte));
    EXPECT_EQ("C:\\Tools\\horavo.ini", SettingsPathFor("C:\\Tools\\horavo", IsShiftJisLeadByte));
    EXPECT_EQ("C:\\Tools\\server.data", ServerListPathFor("C:\\Tools\\horavo.exe", IsShiftJisLeadByte));
    EXPECT_EQ("C:\\\x95\x5C\\server.data", ServerListPathFor("C:\\\x95\x5C\\horavo.exe", IsShiftJisLeadByte));
}

TEST(FileLocations, AreEmptyRatherThanCutAndOneLimitHoldsForAll)
{
    // "C:\" + folder + "\": every path may have 259 bytes. The list's name is the longest of the
    // files always used (11 bytes, as long as the temporary name), so a folder of 248 bytes holds
    // them all and one of 249 holds the settings alone.
    const std::string folder248 = "C:\\" + std::string(244, 'f') + "\\";
    const std::string folder249 = "C:\\" + std::string(245, 'f') + "\\";
    EXPECT_EQ(259u, ServerListPathFor((folder248 + "horavo.exe").c_str(), IsShiftJisLeadByte).size());
    EXPECT_TRUE(FolderHoldsProgramFiles((folder248 + "horavo.exe").c_str(), IsShiftJisLeadByte));
    EXPECT_EQ("", ServerListPathFor((folder249 + "horavo.exe").c_str(), IsShiftJisLeadByte));
    EXPECT_EQ(259u, SettingsPathFor((folder249 + "horavo.exe").c_str(), IsShiftJisLeadByte).size());
    EXPECT_FALSE(FolderHoldsProgramFiles((folder249 + "horavo.exe").c_str(), IsShiftJisLeadByte));
    // A longer program name makes a longer settings name.
    EXPECT_FALSE(FolderHoldsProgramFiles((folder248 + "tempivo-clock.exe").c_str(), IsShiftJisLeadByte));

    EXPECT_EQ("", SettingsPathFor("", IsShiftJisLeadByte));
    EXPECT_EQ("", ServerListPathFor("", IsShiftJisLeadByte));
    EXPECT_FALSE(FolderHoldsProgramFiles("", IsShiftJisLeadByte));
    EXPECT_EQ("~00a5f3.tmp", TemporaryNameFor(0xFF00A5F3)) << "six hex digits, no longer than server.data";
}

}  // namespace
