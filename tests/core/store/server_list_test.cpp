// The server list model: its editing commands, the rotation over its ticked rows, and the bytes it
// saves.
#include "store/server_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The rows as "flag name address" lines, edited rows marked with a star when asked.
std::string Rows(const ServerList& list, bool markEdited = true)
{
    std::string rows;
    for (int i = 0; i < list.Count(); ++i) {
        const ServerRow& row = list.Row(i);
        rows += (row.ticked ? "1 " : "0 ") + row.name + " " + row.address + (markEdited && list.Edited(i) ? "*" : "") + "\n";
    }
    return rows;
}

ServerList ThreeRows()
{
    return ServerList({{true, "A", "a"}, {false, "B", "b"}, {true, "C", "c"}});
}

TEST(ServerList, EditingCommands)
{
    const struct {
        const char* what;
        int (*command)(ServerList&);
        int result;
        const char* rows;
    } cases[] = {
        {"add at the end, box clear", [](ServerList& l) { return l.Add("D", "d"); }, 3,
         "1 A a\n0 B b\n1 C c\n0 D d*\n"},
        {"edit keeps the box", [](ServerList& l) { l.Edit(2, "Z", "z:10123"); return 0; }, 0,
         "1 A a\n0 B b\n1 Z z:10123*\n"},
        {"edit of no row", [](ServerList& l) { l.Edit(3, "Z", "z"); return 0; }, 0, "1 A a\n0 B b\n1 C c\n"},
        {"delete the middle: the next moves up", [](ServerList& l) { return l.Delete(1); }, 1, "1 A a\n1 C c\n"},
        {"delete the last: no selection", [](ServerList& l) { return l.Delete(2); }, -1, "1 A a\n0 B b\n"},
        {"delete no row", [](ServerList& l) { return l.Delete(-1); }, -1, "1 A a\n0 B b\n1 C c\n"},
        {"move down with the box", [](ServerList& l) { return l.Move(0, +1); }, 1, "0 B b\n1 A a\n1 C c\n"},
        {"move up", [](ServerList& l) { return l.Move(2, -1); }, 1, "1 A a\n1 C c\n0 B b\n"},
        {"the top cannot move up", [](ServerList& l) { return l.Move(0, -1); }, -1, "1 A a\n0 B b\n1 C c\n"},
        {"the bottom cannot move down", [](ServerList& l) { return l.Move(2, +1); }, -1, "1 A a\n0 B b\n1 C c\n"},
        {"no selection cannot move", [](ServerList& l) { return l.Move(-1, +1); }, -1, "1 A a\n0 B b\n1 C c\n"},
        {"tick", [](ServerList& l) { l.SetTicked(1, true); return 0; }, 0, "1 A a\n1 B b\n1 C c\n"},
        {"untick", [](ServerList& l) { l.SetTicked(0, false); return 0; }, 0, "0 A a\n0 B b\n1 C c\n"},
    };
    for (const auto& c : cases) {
        ServerList list = ThreeRows();
        EXPECT_EQ(c.result, c.command(list)) << c.what;
        EXPECT_EQ(c.rows, Rows(list)) << c.what;
    }
}

TEST(ServerList, TheRotationFollowsTheTicksAsTheyAreNow)
{
    ServerList list = ThreeRows();
    EXPECT_EQ(2, list.NextTicked(1).row);
    list.SetTicked(2, false);
    EXPECT_EQ(0, list.NextTicked(1).row) << "wraps to the only ticked row";
    list.Move(0, +1);
    EXPECT_EQ(1, list.NextTicked(0).row) << "the tick moved with its row";
    list.SetTicked(2, true);
    std::vector<int> rows;
    for (const RoundServer& server : list.RotationFrom(2)) {
        rows.push_back(server.row);
    }
    EXPECT_EQ((std::vector<int>{2, 1}), rows) << "from the cursor, wrapping once";
}

TEST(ServerList, SavesTheBytesItReadAndReadsBackWhatItSaves)
{
    // Bytes that are no valid Shift-JIS text stay as they were; an empty address keeps its field.
    const std::string file = "1\t\x81\x20\xFF name\tntp.example.jp:123\r\n0\tEmpty\t\t\r\n";
    ServerList list(ReadServerList(file).rows);
    EXPECT_EQ(file, list.FileBytes());
    list.Add("New", "");
    list.Move(2, -1);
    const ServerList again(ReadServerList(list.FileBytes()).rows);
    EXPECT_EQ(Rows(list, false), Rows(again));
    EXPECT_EQ("1 \x81\x20\xFF name ntp.example.jp:123\n0 New *\n0 Empty \n", Rows(list));
}

}  // namespace
