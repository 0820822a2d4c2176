// The program's resources: icons in their sizes, the version block, the common-controls manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "service/service_events.h"

namespace {

std::string VersionString(const std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\041104b0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "<missing>";
    }
    return value;
}

TEST(Resources, VersionBlockNamesTheProgram)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD handle = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &handle));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
    EXPECT_EQ("1.0.0.0", VersionString(block, "FileVersion"));
    EXPECT_EQ("1.0.0.0", VersionString(block, "ProductVersion"));
    EXPECT_EQ("Tempivo", VersionString(block, "ProductName"));
    EXPECT_EQ("Tempivo", VersionString(block, "FileDescription"));
    EXPECT_EQ("horavo", VersionString(block, "InternalName"));
    EXPECT_EQ("horavo.exe", VersionString(block, "OriginalFilename"));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

std::vector<GroupIconEntry> IconImages(int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (found == nullptr) {
        return {};
    }
    const auto* header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(nullptr, found)));
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    return std::vector<GroupIconEntry>(entries, entries + header->count);
}

TEST(Resources, IconsHaveEverySizeTheSystemAsksForInTrueColour)
{
    // 16 to 48 for the small and large icons at 100 % to 300 %, 256 for Explorer's large views (the
    // warning icon is the tray's only).
    for (const int id : {IDI_PROGRAM, IDI_TRAY_TROUBLE}) {
        std::vector<int> sizes = {16, 20, 24, 32, 48};
        if (id == IDI_PROGRAM) {
            sizes.push_back(256);
        }
        std::vector<int> found;
        for (const GroupIconEntry& image : IconImages(id)) {
            found.push_back(image.width == 0 ? 256 : image.width);  // 0 stands for 256
            EXPECT_EQ(32, image.bitCount) << id;
        }
        std::sort(found.begin(), found.end());
        EXPECT_EQ(sizes, found) << id;
        // Each size loads, PNG-compressed as they are stored.
        for (const int size : sizes) {
            HICON icon = static_cast<HICON>(
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(nullptr, icon) << id << " at " << size;
            if (icon) DestroyIcon(icon);
        }
    }
    const std::vector<GroupIconEntry> logRow = IconImages(IDI_LOG_ROW);
    ASSERT_EQ(1u, logRow.size());
    EXPECT_EQ(16, logRow[0].width);
}

TEST(Resources, ManifestAsksForCommonControlsSix)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    const std::string manifest(text, SizeofResource(nullptr, found));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>")) << manifest;
}

TEST(Resources, EveryServiceEventHasItsMessageInJapaneseAndEnglish)
{
    // Each id the service reports, with the rows as its insertion string, as the event viewer shows it.
    const struct {
        ServiceEventId id;
        const wchar_t* japanese;
        const wchar_t* english;
    } events[] = {
        {ServiceEventId::Started, L"Tempivo の時刻設定サービスを開始しました。", L"The Tempivo time service started."},
        {ServiceEventId::Stopped, L"Tempivo の時刻設定サービスを停止しました。", L"The Tempivo time service stopped."},
        {ServiceEventId::Synchronised, L"時計を合わせました", L"The clock was set"},
        {ServiceEventId::NoAnswer, L"どの時刻サーバからも応答がありません", L"no time server answered"},
        {ServiceEventId::Held, L"MAXSTEP", L"MAXSTEP"},
        {ServiceEventId::KeyExchangeFailed, L"NTS の鍵交換", L"NTS key exchange"},
        {ServiceEventId::NoAgreement, L"一致しません", L"do not agree"},
        {ServiceEventId::TooFew, L"1 台だけ", L"one server alone"},
        {ServiceEventId::Refused, L"受け付けません", L"refused"},
    };
    for (const auto& event : events) {
        for (const auto& language : {std::make_pair(LANG_JAPANESE, event.japanese), std::make_pair(LANG_ENGLISH, event.english)}) {
            const wchar_t* rows = L"NICT  応答なし  エラー";
            const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(rows)};
            wchar_t text[512] = L"";
            const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr,
                                                static_cast<DWORD>(event.id), MAKELANGID(language.first, SUBLANG_DEFAULT),
                                                text, 512, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
            ASSERT_NE(0u, length) << static_cast<int>(event.id) << " in " << language.first;
            const std::wstring message(text, length);
            EXPECT_NE(std::wstring::npos, message.find(language.second)) << static_cast<int>(event.id);
            if (static_cast<int>(event.id) >= 100) {
                EXPECT_NE(std::wstring::npos, message.find(rows)) << "the rows as %1: " << static_cast<int>(event.id);
            }
        }
    }
}

}  // namespace
