// The two lists' columns and their widths (Win32).
#include "list_columns_win32.h"

#include <commctrl.h>

#include <initializer_list>

#include "res/texts.h"
#include "shell/window_dpi_win32.h"

namespace {

int TextWidth(HWND list, const char* text)
{
    return static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

// A column wide enough for the widest of its texts and its title under the list's own font, whatever
// the DPI: the list pads each cell by a few pixels on both sides, and a row's picture takes its own.
int ColumnWidthFor(HWND list, std::initializer_list<const char*> texts, const char* title, int picture = 0)
{
    int widest = TextWidth(list, title);
    for (const char* text : texts) {
        const int width = TextWidth(list, text) + picture;
        widest = width > widest ? width : widest;
    }
    return widest + 2 * ScaleForWindow(list, 8);
}

}  // namespace

void InsertListColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

int WidthBesideScrollBar(HWND list)
{
    RECT outer;
    GetWindowRect(list, &outer);
    return (outer.right - outer.left) - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
}

void FitMainWindowColumns(HWND serverList, HWND logList, const ServerList& servers)
{
    int widestName = 0;
    for (int row = 0; row < servers.Count(); ++row) {
        const int width = TextWidth(serverList, servers.Row(row).name.c_str());
        widestName = width > widestName ? width : widestName;
    }
    const int padding = 2 * ScaleForWindow(serverList, 8);
    const int checkBox = GetSystemMetrics(SM_CXSMICON) + ScaleForWindow(serverList, 4);
    const int serverRest = WidthBesideScrollBar(serverList);
    const int serverName = widestName + checkBox + padding;
    SendMessageA(serverList, LVM_SETCOLUMNWIDTH, 0, serverName > serverRest ? serverName : serverRest);

    const int picture = ScaleForWindow(logList, 16 + 4);
    const int timeWidth = ColumnWidthFor(logList, {texts::kWidestTimeText}, texts::kColumnLocalTime);
    const int statusWidth =
        ColumnWidthFor(logList,
                       {texts::kStatusSynced, texts::kStatusSyncedNts, texts::kStatusNoRight, texts::kStatusError,
                        texts::kStatusHeld, texts::kStatusDisagreed, texts::kStatusUnconfirmed, texts::kStatusAgreed},
                       texts::kColumnStatus);
    const int correctionWidth = ColumnWidthFor(logList, {texts::kWidestCorrectionText}, texts::kColumnCorrection);
    const int rest = WidthBesideScrollBar(logList) - 2 * timeWidth - statusWidth - correctionWidth;
    const int logName = widestName + picture + 2 * ScaleForWindow(logList, 8);
    const int minimumName = ColumnWidthFor(logList, {}, texts::kColumnProvider, picture);
    int nameWidth = rest > minimumName ? rest : minimumName;
    nameWidth = logName > nameWidth ? logName : nameWidth;
    const int widths[] = {nameWidth, timeWidth, timeWidth, statusWidth, correctionWidth};
    for (int column = 0; column < 5; ++column) {
        SendMessageA(logList, LVM_SETCOLUMNWIDTH, column, widths[column]);
    }
}
