// Lines of the server list file: splitting, the three fields, the flag, and lines that are skipped.
#include "store/server_list_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

TEST(SplitString, CutsAtEveryTab)
{
    const struct {
        std::string text;
        Fields fields;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"1\tname\taddress", {"1", "name", "address"}},
        {"\tname\taddress", {"", "name", "address"}},
        {"1\t\taddress", {"1", "", "address"}},
        {"1\tname\t", {"1", "name"}},  // a tab at the end gives no empty field
        {"\t\t", {"", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.fields, SplitString(c.text, "\t")) << c.text;
    }
}

std::vector<ServerRow> Read(const std::string& bytes)
{
    return ReadServerList(bytes).rows;
}

void ExpectRows(const std::vector<ServerRow>& expected, const std::vector<ServerRow>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].ticked, actual[i].ticked) << "row " << i;
        EXPECT_EQ(expected[i].name, actual[i].name) << "row " << i;
        EXPECT_EQ(expected[i].address, actual[i].address) << "row " << i;
    }
}

// 情報通信研究機構 in Shift-JIS: bytes the program must keep exactly.
const std::string kNictName = "\x8F\xEE\x95\xF1\x92\xCA\x90\x4D\x8C\xA4\x8B\x86\x8B\x40\x8D\x5C";

TEST(ReadServerList, FollowsTheLinesOfTheFile)
{
    const struct {
        const char* what;
        std::string bytes;
        std::vector<ServerRow> rows;
    } cases[] = {
        {"empty file", "", {}},
        {"ticked Shift-JIS row", "1\t" + kNictName + "\tntp.nict.jp\n", {{true, kNictName, "ntp.nict.jp"}}},
        {"rows in file order", "1\tA\ta\n0\tB\tb\n1\tC\tc\n", {{true, "A", "a"}, {false, "B", "b"}, {true, "C", "c"}}},
        {"no line end at the end", "0\tA\ta\n1\tB\tb", {{false, "A", "a"}, {true, "B", "b"}}},
        {"empty address: two fields, skipped", "1\tA\t\n0\tB\tb\n", {{false, "B", "b"}}},
        {"empty flag and name", "\t\tntp.example\n", {{false, "", "ntp.example"}}},
        {"four fields and an empty line leave no gap", "1\tA\ta\n1\tX\ty\tz\n\n0\tB\tb\n",
         {{true, "A", "a"}, {false, "B", "b"}}},
        {"flags read like atoi", " 1\tA\ta\n1x\tB\tb\n01\tC\tc\n2\tD\td\nx\tE\te\n-1\tF\tf\n",
         {{true, "A", "a"}, {true, "B", "b"}, {true, "C", "c"}, {false, "D", "d"}, {false, "E", "e"},
          {false, "F", "f"}}},
        {"a byte order mark makes the first flag 0", "\xEF\xBB\xBF" "1\tA\ta\n1\tB\tb\n",
         {{false, "A", "a"}, {true, "B", "b"}}},
        {"a line with a zero byte is skipped whole", std::string("1\tA\ta") + '\0' + "\tmore\n1\tB\tb\n",
         {{true, "B", "b"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRows(c.rows, Read(c.bytes));
    }
}

TEST(ReadServerList, SkipsLinesThatDoNotFitTheBuffers)
{
    const std::string name511(511, 'n');
    const std::string address509(509, 'a');
    const std::string line1023 = "1\t" + name511 + "\t" + address509;        // 1023 bytes: still read
    const std::string line1024 = "1\t" + name511 + "\t" + address509 + "a";  // one byte too many
    const struct {
        const char* what;
        std::string bytes;
        std::vector<ServerRow> rows;
    } cases[] = {
        {"a name of 511 bytes", "1\t" + name511 + "\ta\n", {{true, name511, "a"}}},
        {"a name of 512 bytes", "1\t" + name511 + "n\ta\n0\tB\tb\n", {{false, "B", "b"}}},
        {"an address of 512 bytes", "1\tA\t" + name511 + "a\n0\tB\tb\n", {{false, "B", "b"}}},
        {"a line of 1023 bytes", line1023 + "\n0\tB\tb\n", {{true, name511, address509}, {false, "B", "b"}}},
        {"a line of 1024 bytes", line1024 + "\n0\tB\tb\n", {{false, "B", "b"}}},
        {"an over-long last line", "0\tB\tb\n" + line1024, {{false, "B", "b"}}},
        {"a line far beyond the buffer", "1\tA\t" + std::string(100000, 'x') + "\n0\tB\tb\n", {{false, "B", "b"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRows(c.rows, Read(c.bytes));
    }
}

TEST(FormatServerLine, WritesTheFlagNameAndAddress)
{
    EXPECT_EQ("1\t" + kNictName + "\tntp.nict.jp\n", FormatServerLine({true, kNictName, "ntp.nict.jp"}));
    EXPECT_EQ("0\tGoogle\ttime.google.com:123\n", FormatServerLine({false, "Google", "time.google.com:123"}));
    EXPECT_EQ("0\t\t\t\n", FormatServerLine({false, "", ""}));
}

TEST(ServerListFile, ARowWithAnEmptyAddressComesBack)
{
    // Such a row is made with the entry dialog; written as "name, tab" alone it would be lost.
    const std::vector<ServerRow> rows = {{true, "A", ""}, {false, "", ""}, {false, "B", "b"}};
    std::string bytes;
    for (const ServerRow& row : rows) {
        bytes += FormatServerLine(row);
    }
    ExpectRows(rows, Read(bytes));
}

TEST(StorableField, TurnsTabsAndLineEndsIntoSpaces)
{
    EXPECT_EQ("NICT  Tokyo", StorableField("NICT\t\nTokyo"));
    EXPECT_EQ("ntp.nict.jp ", StorableField("ntp.nict.jp\r"));
    EXPECT_EQ("ctrl z", StorableField("ctrl\x1Az"));
    EXPECT_EQ(kNictName, StorableField(kNictName));
    const ServerRow pasted{true, StorableField("A\tB"), StorableField("a\r\nb")};
    std::vector<ServerRow> back = Read(FormatServerLine(pasted));
    ExpectRows({{true, "A B", "a  b"}}, back);
}

TEST(ServerListFile, TenThousandRowsComeBackAsWritten)
{
    std::vector<ServerRow> rows;
    std::string bytes;
    for (int i = 0; i < 10000; ++i) {
        rows.push_back({i % 3 == 0, kNictName + std::to_string(i), "192.0.2." + std::to_string(i % 256) + ":123"});
        bytes += FormatServerLine(rows.back());
    }
    ExpectRows(rows, Read(bytes));
}

TEST(ReadServerList, SaysWhenItCouldNotReadEverything)
{
    // Whatever is skipped is kept in a backup at the first save: only a file read whole needs none.
    const struct {
        const char* what;
        std::string bytes;
        bool complete;
    } cases[] = {
        {"every line read", "1\tA\ta\r\n0\tB\tb", true},
        {"an empty file", "", true},
        {"the last line end alone", "1\tA\ta\r\n", true},
        {"two fields", "1\tA\t\r\n0\tB\tb\r\n", false},
        {"four fields", "1\tA\ta\tx\r\n", false},
        {"an empty line", "1\tA\ta\r\n\r\n0\tB\tb\r\n", false},
        {"a name of 512 bytes", "1\t" + std::string(512, 'n') + "\ta\r\n", false},
        {"a line of 1024 bytes", "1\t" + std::string(511, 'n') + "\t" + std::string(510, 'a') + "\r\n", false},
        {"0x1A at the very end", "1\tA\ta\r\n\x1A", false},
        {"lines after 0x1A", "1\tA\ta\r\n\x1A" "0\tB\tb\r\n", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.complete, ReadServerList(c.bytes).complete) << c.what;
    }
}

TEST(ServerListFile, NamesAndAddressesComeBackByteForByteWhateverTheirEncoding)
{
    const std::string file[] = {
        "1\t\xE3\x82\xB0\xE3\x83\xBC\xE3\x82\xB0\xE3\x83\xAB\ttime.google.com\r\n",  // UTF-8
        "0\t\x81\xFF\x80\tntp.example\r\n",                                                    // no valid Shift-JIS
        "0\tA\rB\tntp.example\r\r\n",                                                         // lone CRs
    };
    for (const std::string& bytes : file) {
        const ServerListText text = ReadServerList(bytes);
        ASSERT_TRUE(text.complete);
        EXPECT_EQ(bytes, WriteServerList(text.rows));
    }
}

TEST(TickedRowsOf, GivesTheServiceTheStarterListsTickedRowsOnly)
{
    EXPECT_EQ("1\tNICT\tntp.nict.jp\r\n1\tPool\tjp.pool.ntp.org\r\n",
              TickedRowsOf("1\tNICT\tntp.nict.jp\r\n0\tGoogle\ttime.google.com\r\n1\tPool\tjp.pool.ntp.org\n"));
    EXPECT_EQ("", TickedRowsOf("0\tA\ta\r\n"));
    EXPECT_EQ("", TickedRowsOf(""));
}

}  // namespace
