// The server list's rows and the rules of its editing commands.
#include "server_list.h"

#include <cstddef>
#include <utility>

RotationChoice ChooseNextServer(int cursor, const std::vector<bool>& ticked)
{
    const int count = static_cast<int>(ticked.size());
    const int start = cursor >= 0 && cursor < count ? cursor : 0;
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        if (ticked[static_cast<size_t>(row)]) {
            return {row, row + 1};
        }
    }
    return {-1, start};
}

ServerList::ServerList(std::vector<ServerRow> rowsAsRead)
{
    m_rows.reserve(rowsAsRead.size());
    for (ServerRow& row : rowsAsRead) {
        m_rows.push_back({std::move(row), false});
    }
}

int ServerList::Add(const std::string& name, const std::string& address)
{
    m_rows.push_back({{false, name, address}, true});
    return Count() - 1;
}

void ServerList::Edit(int index, const std::string& name, const std::string& address)
{
    if (Has(index)) {
        Entry& entry = m_rows[static_cast<size_t>(index)];
        entry.row.name = name;
        entry.row.address = address;
        entry.edited = true;
    }
}

int ServerList::Delete(int index)
{
    if (!Has(index)) {
        return -1;
    }
    m_rows.erase(m_rows.begin() + index);
    return index < Count() ? index : -1;
}

int ServerList::Move(int index, int direction)
{
    const int neighbour = index + direction;
    if (!Has(index) || !Has(neighbour)) {
        return -1;
    }
    std::swap(m_rows[static_cast<size_t>(index)], m_rows[static_cast<size_t>(neighbour)]);
    return neighbour;
}

void ServerList::SetTicked(int index, bool ticked)
{
    if (Has(index)) {
        m_rows[static_cast<size_t>(index)].row.ticked = ticked;
    }
}

std::vector<bool> ServerList::Ticks() const
{
    std::vector<bool> ticks;
    ticks.reserve(m_rows.size());
    for (const Entry& entry : m_rows) {
        ticks.push_back(entry.row.ticked);
    }
    return ticks;
}

std::vector<RoundServer> ServerList::RotationFrom(int cursor) const
{
    std::vector<RoundServer> servers;
    const std::vector<bool> ticks = Ticks();
    for (bool ticked : ticks) {
        if (ticked) {
            const RotationChoice choice = ChooseNextServer(cursor, ticks);
            servers.push_back({choice.row, Row(choice.row).name, Row(choice.row).address});
            cursor = choice.nextCursor;
        }
    }
    return servers;
}

std::string ServerList::FileBytes() const
{
    std::string bytes;
    for (const Entry& entry : m_rows) {
        AppendFileLine(entry.row, &bytes);
    }
    return bytes;
}
