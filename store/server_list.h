// The server list as the program keeps it: rows with their tick and the name and address bytes as
// read or as typed. Every command changes it here; the list-view control only shows it, and the
// file is written from it.
#pragma once

#include <string>
#include <vector>

#include "server_list_codec.h"
#include "round/round_server.h"

struct RotationChoice {
    int row;         // -1: no row is ticked
    int nextCursor;  // where the next choice starts looking
};

// Round robin over the ticked rows, starting at the cursor (from the top when it is past the end)
// and wrapping once at most.
RotationChoice ChooseNextServer(int cursor, const std::vector<bool>& ticked);

class ServerList {
public:
    ServerList() = default;
    explicit ServerList(std::vector<ServerRow> rowsAsRead);

    int Count() const { return static_cast<int>(m_rows.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    // The row's tick and its bytes: as the file had them, or as typed once the row was edited. The
    // control may not give back bytes that are not valid text in the code page, so these are the
    // bytes asked and saved.
    const ServerRow& Row(int index) const { return m_rows[static_cast<size_t>(index)].row; }
    bool Edited(int index) const { return m_rows[static_cast<size_t>(index)].edited; }

    // A new row at the end, its box clear; its index. Nothing is checked: empty texts and
    // duplicates are the user's to keep.
    int Add(const std::string& name, const std::string& address);
    void Edit(int index, const std::string& name, const std::string& address);
    // The row selected afterwards: the one that moved up into the place, or -1 when the last went.
    int Delete(int index);
    // Swaps the row with its neighbour above (-1) or below (+1); the row's new index, or -1 when it
    // cannot move that way. Every other row keeps its index.
    int Move(int index, int direction);
    void SetTicked(int index, bool ticked);

    std::vector<bool> Ticks() const;
    RotationChoice NextTicked(int cursor) const { return ChooseNextServer(cursor, Ticks()); }
    // A round of the rotation: the ticked rows from the cursor on, wrapping once, each once.
    std::vector<RoundServer> RotationFrom(int cursor) const;
    // What "server.data" holds for these rows.
    std::string FileBytes() const;

private:
    struct Entry {
        ServerRow row;
        bool edited;
    };
    std::vector<Entry> m_rows;
};
