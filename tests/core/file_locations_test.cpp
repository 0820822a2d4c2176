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

TEST(FileLocations, AreEmptyRatherThanCut)
{
    // "C:\" + folder + "\horavo.exe": the settings path has 259 bytes at most, the list path 255.
    const std::string folder259 = "C:\\" + std::string(245, 'f') + "\\";  // 249 bytes
    EXPECT_EQ(259u, SettingsPathFor((folder259 + "horavo.exe").c_str(), IsShiftJisLeadByte).size());
    EXPECT_EQ("", SettingsPathFor((folder259 + "horavo1.exe").c_str(), IsShiftJisLeadByte));

    const std::string folder255 = "C:\\" + std::string(240, 'f') + "\\";  // 244 bytes
    EXPECT_EQ(255u, ServerListPathFor((folder255 + "horavo.exe").c_str(), IsShiftJisLeadByte).size());
    EXPECT_EQ("", ServerListPathFor(("C:\\" + std::string(241, 'f') + "\\horavo.exe").c_str(), IsShiftJisLeadByte));

    EXPECT_EQ("", SettingsPathFor("", IsShiftJisLeadByte));
    EXPECT_EQ("", ServerListPathFor("", IsShiftJisLeadByte));
}

}  // namespace
