// DLLs of system names planted beside horavo.exe, in its folder and current folder, while it opens
// its window and synchronises with an NTS server (sockets, the certificate store, the system's
// random source, the common controls): none of them may run inside it.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../nts_peer.h"
#include "../peers.h"
#include "../program_run.h"

namespace {

// The DLLs horavo.exe uses that Windows does not keep as Known DLLs, and Winsock. (imm32 is a Known
// DLL; Wine's user32 loads it before the program's first instruction, so it cannot be tried here.)
const char* const kPlantedNames[] = {"bcrypt.dll", "crypt32.dll", "comctl32.dll", "ws2_32.dll"};

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The full paths of the modules the process has loaded, in lower case.
std::vector<std::string> LoadedModules(HANDLE process)
{
    HMODULE modules[512];
    DWORD size = 0;
    std::vector<std::string> paths;
    if (!EnumProcessModules(process, modules, sizeof modules, &size)) {
        return paths;
    }
    for (DWORD i = 0; i < size / sizeof modules[0] && i < 512; ++i) {
        char path[MAX_PATH] = "";
        if (GetModuleFileNameExA(process, modules[i], path, sizeof path) > 0) {
            paths.push_back(Lower(path));
        }
    }
    return paths;
}

std::string BaseName(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

// Wine loads its own DLL before a file of that name in the program's folder; told to take the file
// first (for horavo.exe only, in the prefix's registry), it searches as Windows does for a DLL that
// is not a Known DLL.
class NativeFirst {
public:
    NativeFirst()
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &m_key, nullptr) !=
            ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        for (const char* name : kPlantedNames) {
            const std::string module = std::string(name).substr(0, std::string(name).find('.'));
            RegSetValueExA(m_key, module.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"),
                           sizeof "native,builtin");
        }
    }
    ~NativeFirst()
    {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
            RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
            RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);  // when nothing else is set for horavo.exe
        }
    }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;
    bool Set() const { return m_key != nullptr; }

private:
    static constexpr char kAppKey[] = "Software\\Wine\\AppDefaults\\horavo.exe";
    static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\horavo.exe\\DllOverrides";
    HKEY m_key = nullptr;
};

TEST(PlantedDll, NoneBesideTheProgramIsLoadedWhileItSynchronisesWithNts)
{
    const NtsServer server = ReadNtsServer(NTS_LOCALHOST_FILE_UNIX_PATH);
    ASSERT_EQ("localhost", server.name) << "run through ctest, fixture nts_localhost";
    ASSERT_TRUE(TrustCertificate(server.certificate));

    ProgramRun run;
    const std::string planted = UnixPathAsWindows(PLANTED_DLL_UNIX_PATH);
    for (const char* name : kPlantedNames) {
        ASSERT_TRUE(CopyFileA(planted.c_str(), (run.Folder() + "\\" + name).c_str(), FALSE)) << name;
    }
    run.WriteFile("server.data", "0\tNTS\tnts:localhost:" + std::to_string(server.ntskePort) + "\r\n");
    const NativeFirst nativeFirst;
    ASSERT_TRUE(nativeFirst.Set());
    ASSERT_TRUE(run.Start());
    const HWND window = run.WaitForMainWindow();
    ASSERT_NE(nullptr, window) << "the program did not open its window";
    ASSERT_TRUE(ProgramRun::WaitUntilShown(window));
    SendMessageA(GetDlgItem(window, 1000), BM_CLICK, 0, 0);
    const std::vector<LogRow> rows = run.WaitForLogRows(window, 1, 15000);
    DistrustCertificate(server.certificate);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("同期成功 (NTS)", rows[0][3]) << rows[0][1];

    // Each of them was loaded, from the system, and the common controls are version 6 (the
    // manifest's, from the side-by-side store).
    const std::string folder = Lower(run.Folder()) + "\\";
    const std::vector<std::string> modules = LoadedModules(run.Process());
    for (const char* name : kPlantedNames) {
        EXPECT_EQ(run.ReadFile((std::string(name) + ".loaded").c_str()), "<missing>") << name << " ran in the program";
        bool loaded = false;
        for (const std::string& path : modules) {
            if (BaseName(path) == name) {
                loaded = true;
                EXPECT_NE(0u, path.rfind(folder, 0)) << path;
                if (std::string(name) == "comctl32.dll") {
                    EXPECT_NE(std::string::npos, path.find("\\winsxs\\")) << path;
                }
            }
        }
        EXPECT_TRUE(loaded) << name << " was never needed: the test did not reach it";
    }
}

}  // namespace
