// The server list control: it shows the model's rows (their texts are asked from the model when the
// control paints) and reports the user's ticks; nothing is read back from it to learn what a row
// is (Win32).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "store/server_list.h"

// Every row of the model, replacing what the control showed.
void ShowServerRows(HWND list, const ServerList& servers);

// A new row at the index, or a row whose contents changed: texts from the model, the box as given.
void InsertServerRow(HWND list, int index, bool ticked);
void ShowServerRow(HWND list, int index, bool ticked);
void DeleteServerRow(HWND list, int index);

// The text the control asks for a row's column: the name or the address, as the model has it.
void FillServerRowText(NMLVDISPINFOA* request, const ServerList& servers);

// The box of a row the notification says changed: 1 ticked, 0 cleared, -1 when no box changed.
int TickChange(const NMLISTVIEW* change);

// The first selected row, or -1.
int SelectedServerRow(HWND list);

// Selects and focuses a row and scrolls it into view (a partly visible row is enough); nothing when
// there is no such row.
void SelectServerRow(HWND list, int index);
