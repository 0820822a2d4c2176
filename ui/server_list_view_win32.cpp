// List-view messages for the server list's rows (Win32).
#include "server_list_view_win32.h"

namespace {

constexpr int kStateImageClear = 1;
constexpr int kStateImageTicked = 2;

void SetItemState(HWND list, int index, UINT state, UINT mask)
{
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void SetTicked(HWND list, int index, bool ticked)
{
    SetItemState(list, index, INDEXTOSTATEIMAGEMASK(ticked ? kStateImageTicked : kStateImageClear),
                 LVIS_STATEIMAGEMASK);
}

}  // namespace

void ShowServerRows(HWND list, const ServerList& servers)
{
    // One repaint for the whole list instead of one per row, and the room made once.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(servers.Count()), 0);
    for (int i = 0; i < servers.Count(); ++i) {
        InsertServerRow(list, i, servers.Row(i).ticked);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void InsertServerRow(HWND list, int index, bool ticked)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    const int inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    item.iItem = inserted;
    item.iSubItem = 1;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (ticked) {
        SetTicked(list, inserted, true);
    }
}

void ShowServerRow(HWND list, int index, bool ticked)
{
    SetTicked(list, index, ticked);
    SendMessageA(list, LVM_REDRAWITEMS, index, index);
}

void DeleteServerRow(HWND list, int index)
{
    SendMessageA(list, LVM_DELETEITEM, index, 0);
}

void FillServerRowText(NMLVDISPINFOA* request, const ServerList& servers)
{
    LVITEMA& item = request->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    item.pszText[0] = '\0';
    if (servers.Has(item.iItem)) {
        const ServerRow& row = servers.Row(item.iItem);
        lstrcpynA(item.pszText, (item.iSubItem == 0 ? row.name : row.address).c_str(), item.cchTextMax);
    }
}

int TickChange(const NMLISTVIEW* change)
{
    if ((change->uChanged & LVIF_STATE) == 0 || ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0) {
        return -1;
    }
    // Image 0 is a row that has no box yet.
    switch ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) {
    case kStateImageTicked:
        return 1;
    case kStateImageClear:
        return 0;
    default:
        return -1;
    }
}

int SelectedServerRow(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectServerRow(HWND list, int index)
{
    // Index -1 would mean every row to the list view.
    if (index < 0 || index >= static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) {
        return;
    }
    SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, LVM_ENSUREVISIBLE, index, TRUE);
}
