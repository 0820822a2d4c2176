// The server list's row rules: where the selection goes when rows are deleted or moved, and what
// a row is when it is asked or saved.
#pragma once

#include "store/server_list_codec.h"

// The row the selected one changes places with when moved up (-1) or down (+1); -1 when it cannot
// move that way (no selection, or already at that end).
int MoveNeighbour(int selected, int rowCount, int direction);

// The row selected after a delete: the one that moved up into the place, or -1 when the last row
// went. Without a delete (the question answered No) the row stays selected.
int SelectionAfterDelete(int deleted, int rowCountAfter);

// A row as asked and saved: its name and address bytes as the file had them, when it came from the
// file and was not edited since (the list control may not give back bytes that are not valid text
// in the code page); otherwise as the control shows them. The check box is always the control's.
ServerRow RowAsKept(const ServerRow& shown, const ServerRow* kept);
