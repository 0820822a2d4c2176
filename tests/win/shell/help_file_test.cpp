// horavo.chm as the platform's own help storage (itss.dll, which the help viewer reads through)
// opens it: a compiled help file whose default topic, and every page of its contents, opens.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../peers.h"

// The help storage's interface, as itss.dll implements it; MinGW has no header for it. Outside the
// anonymous namespace: there the compiler would know that nothing here implements it, and would
// drop the calls.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};
const CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

namespace {

// The help file opened as a storage; null when the platform cannot read it as one.
IStorage* OpenHelpFile()
{
    IITStorage* helpStorage = nullptr;
    if (FAILED(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                                reinterpret_cast<void**>(&helpStorage)))) {
        return nullptr;
    }
    wchar_t path[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, UnixPathAsWindows(HORAVO_CHM_UNIX_PATH).c_str(), -1, path, MAX_PATH);
    IStorage* storage = nullptr;
    helpStorage->StgOpenStorage(path, nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage);
    helpStorage->Release();
    return storage;
}

// Reads one file inside the help file.
bool ReadHelpItem(const std::string& item, std::string* bytes)
{
    IStorage* storage = OpenHelpFile();
    if (storage == nullptr) {
        return false;
    }
    wchar_t name[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, item.c_str(), -1, name, MAX_PATH);
    IStream* stream = nullptr;
    const HRESULT opened = storage->OpenStream(name, nullptr, STGM_READ, 0, &stream);
    storage->Release();
    if (FAILED(opened) || stream == nullptr) {
        return false;
    }
    bytes->clear();
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0) {
        bytes->append(buffer, read);
    }
    stream->Release();
    return true;
}

// A record of the #SYSTEM file: code 2 is the default topic, 3 the title.
std::string SystemRecord(const std::string& system, WORD wanted)
{
    size_t at = 4;  // after the version
    while (at + 4 <= system.size()) {
        WORD code;
        WORD length;
        std::memcpy(&code, &system[at], 2);
        std::memcpy(&length, &system[at + 2], 2);
        if (code == wanted) {
            return std::string(system.c_str() + at + 4);
        }
        at += 4 + length;
    }
    return "<none>";
}

class HelpFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(HelpFileTest, TheDefaultTopicOpens)
{
    std::string system;
    ASSERT_TRUE(ReadHelpItem("#SYSTEM", &system)) << "a compiled help file the platform can read";
    const std::string topic = SystemRecord(system, 2);
    EXPECT_EQ("index.html", topic);
    EXPECT_EQ("Tempivo ヘルプ", SystemRecord(system, 3));

    std::string page;
    ASSERT_TRUE(ReadHelpItem(topic, &page));
    EXPECT_NE(std::string::npos, page.find("<title>Tempivo ヘルプ</title>")) << "Shift_JIS text, as the viewer reads it";
    EXPECT_NE(std::string::npos, page.find("charset=Shift_JIS"));
}

TEST_F(HelpFileTest, EveryPageOfTheContentsOpens)
{
    std::string contents;
    ASSERT_TRUE(ReadHelpItem("toc.hhc", &contents));
    int pages = 0;
    const std::string marker = "name=\"Local\" value=\"";
    for (size_t at = contents.find(marker); at != std::string::npos; at = contents.find(marker, at + 1)) {
        const size_t start = at + marker.size();
        const std::string page = contents.substr(start, contents.find('"', start) - start);
        std::string bytes;
        EXPECT_TRUE(ReadHelpItem(page, &bytes)) << page;
        EXPECT_NE(std::string::npos, bytes.find("</html>")) << page;
        ++pages;
    }
    EXPECT_EQ(15, pages);
    std::string style;
    EXPECT_TRUE(ReadHelpItem("style.css", &style));
    std::string missing;
    EXPECT_FALSE(ReadHelpItem("no_such_page.html", &missing)) << "the reader can tell a missing page";
}

}  // namespace
