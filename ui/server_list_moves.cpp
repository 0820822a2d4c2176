// Row arithmetic of the server list's editing commands.
#include "server_list_moves.h"

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
