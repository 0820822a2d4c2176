// List-view messages for the server list's rows (Win32).
#include "server_list_view.h"

#include <commctrl.h>

namespace {

constexpr int kStateImageClear = 1;
constexpr int kStateImageTicked = 2;

std::string ItemText(HWND list, int index, int column)
{
    char text[512] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

void SetItemState(HWND list, int index, UINT state, UINT mask)
{
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int ServerRowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

void InsertServerRow(HWND list, int index, const ServerRow& row, LPARAM keptKey)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.lParam = keptKey;
    item.pszText = const_cast<char*>(row.name.c_str());
    const int inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetServerRowTexts(list, inserted, row.name, row.address);
    if (row.ticked) {
        SetServerRowTicked(list, inserted, true);
    }
}

ServerRow ReadServerRow(HWND list, int index)
{
    return {ServerRowTicked(list, index), ItemText(list, index, 0), ItemText(list, index, 1)};
}

bool ServerRowTicked(HWND list, int index)
{
    const UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
    return (state >> 12) != kStateImageClear;
}

int SelectedServerRow(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectServerRow(HWND list, int index)
{
    // Index -1 would mean every row to the list view.
    if (index < 0 || index >= ServerRowCount(list)) {
        return;
    }
    SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, LVM_ENSUREVISIBLE, index, TRUE);
}

void SetServerRowTexts(HWND list, int index, const std::string& name, const std::string& address)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(name.c_str());
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(address.c_str());
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void SetServerRowTicked(HWND list, int index, bool ticked)
{
    SetItemState(list, index, INDEXTOSTATEIMAGEMASK(ticked ? kStateImageTicked : kStateImageClear),
                 LVIS_STATEIMAGEMASK);
}

LPARAM ServerRowKeptKey(HWND list, int index)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

void SetServerRowKeptKey(HWND list, int index, LPARAM key)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = key;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}
