// The log pane: the log list's rows and "horavo.log"'s lines (Win32).
#include "log_pane_win32.h"

#include <commctrl.h>

#include "res/resource.h"
#include "res/texts.h"
#include "shell/app_module_win32.h"
#include "shell/trace.h"
#include "shell/window_dpi_win32.h"
#include "store/log_file.h"
#include "store/log_row_line.h"
#include "list_columns_win32.h"
#include "log_row_icon.h"

void LogPane::Attach(HWND list)
{
    // Five columns, sized with the window's: the times, the status and the correction as wide as
    // their texts under the list's font at this DPI, the server's name the rest of the width.
    m_list = list;
    SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    InsertListColumn(m_list, 0, texts::kColumnProvider, 0);
    InsertListColumn(m_list, 1, texts::kColumnServerTime, 0);
    InsertListColumn(m_list, 2, texts::kColumnLocalTime, 0);
    InsertListColumn(m_list, 3, texts::kColumnStatus, 0);
    InsertListColumn(m_list, 4, texts::kColumnCorrection, 0);

    // The pictures at the list's DPI: a failure carries the tray's warning mark. The list owns the
    // image list; the icons are copied.
    const int size = ScaleForWindow(m_list, 16);
    HIMAGELIST images = ImageList_Create(size, size, ILC_MASK | ILC_COLOR32, 2, 1);
    for (const int icon : {IDI_LOG_ROW, IDI_TRAY_TROUBLE}) {
        if (auto loaded = static_cast<HICON>(LoadImageA(g_module.m_hInstResource, MAKEINTRESOURCEA(icon), IMAGE_ICON,
                                                        size, size, LR_DEFAULTCOLOR))) {
            ImageList_ReplaceIcon(images, -1, loaded);
            DestroyIcon(loaded);
        }
    }
    SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void LogPane::Add(const LogRow& written, const std::string& writtenAt, bool holdLine)
{
    int row = static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
    // A window that lives in the tray for months would otherwise hold every row ever written.
    while (row >= kMaxLogRows) {
        SendMessageA(m_list, LVM_DELETEITEM, 0, 0);
        --row;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = const_cast<char*>(written.server.c_str());
    item.iImage = IconOfRow(written) == RowIcon::Set ? kLogImageSet : kLogImageTrouble;
    SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.mask = LVIF_TEXT;
    const std::string* const columns[] = {&written.serverTime, &written.localTime, &written.status,
                                          &written.correction};
    for (int column = 1; column <= 4; ++column) {
        item.iSubItem = column;
        item.pszText = const_cast<char*>(columns[column - 1]->c_str());
        SendMessageA(m_list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(m_list, LVM_ENSUREVISIBLE, row, TRUE);

    if (!m_filePath.empty()) {
        m_heldLines.push_back(LogFileLineFor(writtenAt, written));
        if (!holdLine) {
            WriteHeldLines();
        }
    }
}

void LogPane::WriteHeldLines()
{
    for (const std::string& line : m_heldLines) {
        const FileResult written = AppendLogLine(m_filePath, line);
        if (!written.ok) {
            Trace("horavo.log: %s failed, error %lu\n", written.failedCall, static_cast<unsigned long>(written.error));
        }
    }
    m_heldLines.clear();
}
