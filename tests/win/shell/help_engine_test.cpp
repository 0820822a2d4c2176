// Finding and loading the help engine: the registered path first, then the system folder, loaded
// once, never again after a failure, and never from the program's own folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../peers.h"
#include "shell/help_engine_win32.h"
#include "../win_test_support.h"

namespace {

const char kEngineKey[] = "Software\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

std::string RegisteredEngine()
{
    char path[260] = "";
    return FindHelpEngineLocation(path) ? path : "<none>";
}

// The engine's registration in the machine's classes, or, with another root, in the user's.
void RegisterEngine(const std::string& path, DWORD type = REG_SZ, HKEY root = HKEY_LOCAL_MACHINE)
{
    HKEY key = nullptr;
    RegCreateKeyExA(root, kEngineKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, "", 0, type, reinterpret_cast<const BYTE*>(path.c_str()), static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
}

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    return path;
}

std::string SystemFolder()
{
    char path[MAX_PATH] = "";
    GetSystemDirectoryA(path, sizeof path);
    return path;
}

// The test changes the registered engine of its Wine prefix and puts it back afterwards.
class HelpEngineTest : public ::testing::Test {
protected:
    void SetUp() override { registered_ = RegisteredEngine(); }
    void TearDown() override
    {
        RegisterEngine(registered_);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}");
        DeleteFileA((ProgramFolder() + "hhctrl.ocx").c_str());
    }

    static std::string FakeEngine() { return ProgramFolder() + "fake_hhctrl.dll"; }
    static std::string FakeEngineWithoutEntry() { return ProgramFolder() + "fake_hhctrl_without_entry.dll"; }

    std::string registered_;
};

TEST_F(HelpEngineTest, TwoPressesCallTheEngineTwiceAndLoadItOnce)
{
    RegisterEngine(FakeEngine());
    CHelpEngine engine;
    engine.Invoke(nullptr, "horavo.chm", 0, 0);
    engine.Invoke(nullptr, "horavo.chm", 0, 0);

    HMODULE fake = GetModuleHandleA(FakeEngine().c_str());
    ASSERT_NE(nullptr, fake);
    EXPECT_EQ(fake, engine.m_module);
    auto calls = reinterpret_cast<int(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeHelpCalls")));
    auto lastCall = reinterpret_cast<void(WINAPI*)(char*, UINT*, DWORD_PTR*)>(
        reinterpret_cast<void*>(GetProcAddress(fake, "FakeHelpLastCall")));
    EXPECT_EQ(2, calls());
    char file[MAX_PATH];
    UINT command = 0;
    DWORD_PTR data = 1;
    lastCall(file, &command, &data);
    EXPECT_STREQ("horavo.chm", file);
    EXPECT_EQ(0u, command) << "HH_DISPLAY_TOPIC";
    EXPECT_EQ(0u, data);

    FreeLibrary(fake);
    EXPECT_EQ(nullptr, GetModuleHandleA(FakeEngine().c_str())) << "one release unloads it: it was loaded once";
}

TEST_F(HelpEngineTest, AfterAFailedLoadNothingIsTriedAgain)
{
    RegisterEngine(FakeEngineWithoutEntry());
    CHelpEngine engine;
    EXPECT_EQ(nullptr, engine.Invoke(nullptr, "horavo.chm", 0, 0));
    EXPECT_TRUE(engine.m_unavailable) << "the engine has no entry at ordinal 14";

    RegisterEngine(FakeEngine());
    EXPECT_EQ(nullptr, engine.Invoke(nullptr, "horavo.chm", 0, 0));
    EXPECT_EQ(nullptr, GetModuleHandleA(FakeEngine().c_str())) << "the working engine was never loaded";
}

TEST_F(HelpEngineTest, AnUnloadablePathFallsBackToTheSystemFolderNotTheProgramsOwn)
{
    // A file of the engine's name planted beside the program must not be the one that runs.
    CopyFileA(FakeEngine().c_str(), (ProgramFolder() + "hhctrl.ocx").c_str(), FALSE);
    // An environment reference is not expanded, so that path does not load either.
    for (const std::string& registered :
         {std::string("%SystemRoot%\\system32\\hhctrl.ocx"), ProgramFolder() + "no_such_engine.dll"}) {
        RegisterEngine(registered);
        CHelpEngine engine;
        ASSERT_TRUE(engine.Load()) << registered;
        EXPECT_EQ(SystemFolder() + "\\hhctrl.ocx", ModulePath(engine.m_module)) << registered;
        EXPECT_NE(nullptr, engine.m_entry);
    }
}

TEST_F(HelpEngineTest, TheRegisteredPathIsTheFirstChoice)
{
    RegisterEngine(FakeEngine());
    CHelpEngine engine;
    ASSERT_TRUE(engine.Load());
    EXPECT_EQ(FakeEngine(), ModulePath(engine.m_module));
    FreeLibrary(engine.m_module);
}

TEST_F(HelpEngineTest, OnlyTheMachinesStringValueNamesTheEngine)
{
    const struct {
        const char* what;
        DWORD type;
        HKEY root;
    } cases[] = {
        {"the user's own classes", REG_SZ, HKEY_CURRENT_USER},
        {"not a string value", REG_BINARY, HKEY_LOCAL_MACHINE},
        // A string without its ending zero cannot be made here: Wine's RegQueryValueExA adds one.
    };
    for (const auto& c : cases) {
        RegisterEngine("<none>");
        RegisterEngine(FakeEngine(), c.type, c.root);
        CHelpEngine engine;
        ASSERT_TRUE(engine.Load()) << c.what;
        EXPECT_EQ(SystemFolder() + "\\hhctrl.ocx", ModulePath(engine.m_module)) << c.what;
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}");
    }
}

}  // namespace
