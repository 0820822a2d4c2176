// Where the selection goes when server rows are deleted or moved.
#pragma once

// The row the selected one changes places with when moved up (-1) or down (+1); -1 when it cannot
// move that way (no selection, or already at that end).
int MoveNeighbour(int selected, int rowCount, int direction);

// The row selected after a delete: the one that moved up into the place, or -1 when the last row
// went. Without a delete (the question answered No) the row stays selected.
int SelectionAfterDelete(int deleted, int rowCountAfter);
