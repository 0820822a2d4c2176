// The two lists' columns: made, and fitted to the texts they show under the list's own font at the
// window's DPI (Win32).
#pragma once

#include <windows.h>

#include "store/server_list.h"

void InsertListColumn(HWND list, int index, const char* title, int width);

// What is left of a list's width beside a vertical scroll bar and its two 3-D edges.
int WidthBesideScrollBar(HWND list);

// The name columns take the width the others leave, and never less than the longest name (the list
// then scrolls sideways); the rest are as wide as their widest text.
void FitMainWindowColumns(HWND serverList, HWND logList, const ServerList& servers);
