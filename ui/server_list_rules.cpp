// Row arithmetic of the server list's editing commands.
#include "server_list_rules.h"

int MoveNeighbour(int selected, int rowCount, int direction)
{
    const int neighbour = selected + direction;
    if (selected < 0 || selected >= rowCount || neighbour < 0 || neighbour >= rowCount) {
        return -1;
    }
    return neighbour;
}

int SelectionAfterDelete(int deleted, int rowCountAfter)
{
    return deleted < rowCountAfter ? deleted : -1;
}

ServerRow RowAsKept(const ServerRow& shown, const ServerRow* kept)
{
    return kept != nullptr ? ServerRow{shown.ticked, kept->name, kept->address} : shown;
}
