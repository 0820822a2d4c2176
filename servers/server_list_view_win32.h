// The server list control: a virtual list that shows the model's rows (their texts and check boxes
// are asked from the model when the control paints, so a list of 100 000 rows costs the control no
// memory) and reports the user's ticks to its parent as an ordinary list would (Win32).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "store/server_list.h"

// Makes the control of the dialog template (an owner-data list with check boxes) ask for the check
// boxes' state too, and report ticks: a click on a box, the space bar, and LVM_SETITEMSTATE with a
// state image (as ListView_SetCheckState sends) each reach the parent as LVN_ITEMCHANGED.
void AttachServerListControl(HWND list);

// The number of rows to show; their contents come from the model.
void ShowServerRowCount(HWND list, int count);
// A row whose contents changed, and a row that went (the selection below it moves up with it).
void ShowServerRow(HWND list, int index);
void DeleteServerRow(HWND list, int index);

// What the control asks for a row: the name or the address, and the check box, as the model has them.
void FillServerRow(NMLVDISPINFOA* request, const ServerList& servers);

// The box of a row the notification says changed: 1 ticked, 0 cleared, -1 when no box changed.
int TickChange(const NMLISTVIEW* change);

// The first selected row, or -1.
int SelectedServerRow(HWND list);

// Selects and focuses a row and scrolls it into view (a partly visible row is enough); nothing when
// there is no such row.
void SelectServerRow(HWND list, int index);
