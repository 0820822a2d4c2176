// Rows of the server list control: provider name, address and the check box (Win32).
#pragma once

#include <windows.h>

#include "store/server_list_codec.h"

int ServerRowCount(HWND list);

// A row at the given index, its box ticked when the row says so. The key (the item's parameter)
// names the bytes the row was read with, 0 for none.
void InsertServerRow(HWND list, int index, const ServerRow& row, LPARAM keptKey = 0);

// The key of a row's kept bytes, and a new one (0 once the row was edited).
LPARAM ServerRowKeptKey(HWND list, int index);
void SetServerRowKeptKey(HWND list, int index, LPARAM key);

// The row's texts (at most 511 bytes each) and its check box.
ServerRow ReadServerRow(HWND list, int index);

// Whether a row's check box is ticked.
bool ServerRowTicked(HWND list, int index);

// The first selected row, or -1.
int SelectedServerRow(HWND list);

// Selects and focuses a row and scrolls it into view (a partly visible row is enough); nothing when
// there is no such row.
void SelectServerRow(HWND list, int index);

// Sets a row's two texts, leaving its check box as it is.
void SetServerRowTexts(HWND list, int index, const std::string& name, const std::string& address);

// Ticks or clears a row's check box.
void SetServerRowTicked(HWND list, int index, bool ticked);
