// List-view messages for the server list's rows, and the ticks of its check boxes (Win32).
#include "server_list_view_win32.h"

namespace {

constexpr int kStateImageClear = 1;
constexpr int kStateImageTicked = 2;
constexpr UINT_PTR kTickSubclass = 1;

int RowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// Tells the parent that a row's box changes, as a list that keeps its own boxes would.
void ReportTick(HWND list, int index, bool ticked)
{
    const UINT before = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
    NMLISTVIEW change{};
    change.hdr.hwndFrom = list;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    change.hdr.code = LVN_ITEMCHANGED;
    change.iItem = index;
    change.uChanged = LVIF_STATE;
    change.uOldState = before;
    change.uNewState = INDEXTOSTATEIMAGEMASK(ticked ? kStateImageTicked : kStateImageClear);
    if (change.uOldState != change.uNewState) {
        SendMessageA(GetParent(list), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
        SendMessageA(list, LVM_REDRAWITEMS, index, index);
    }
}

bool Ticked(HWND list, int index)
{
    return (SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK) >> 12) == kStateImageTicked;
}

// A virtual list keeps no check boxes: their changes are turned into reports here.
LRESULT CALLBACK TickingProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                             DWORD_PTR /*data*/)
{
    if (message == LVM_SETITEMSTATE && lParam != 0 &&
        (reinterpret_cast<LVITEMA*>(lParam)->stateMask & LVIS_STATEIMAGEMASK) != 0) {
        LVITEMA rest = *reinterpret_cast<LVITEMA*>(lParam);
        const bool ticked = (rest.state & LVIS_STATEIMAGEMASK) >> 12 == kStateImageTicked;
        const int index = static_cast<int>(wParam);
        for (int row = index < 0 ? 0 : index; row < (index < 0 ? RowCount(list) : index + 1); ++row) {
            ReportTick(list, row, ticked);
        }
        rest.stateMask &= ~LVIS_STATEIMAGEMASK;
        return rest.stateMask == 0 ? TRUE : DefSubclassProc(list, message, wParam, reinterpret_cast<LPARAM>(&rest));
    }
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        LVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0 &&
            (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
            ReportTick(list, hit.iItem, !Ticked(list, hit.iItem));
        }
    } else if (message == WM_KEYDOWN && wParam == VK_SPACE) {
        const int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (focused >= 0) {
            ReportTick(list, focused, !Ticked(list, focused));
        }
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void AttachServerListControl(HWND list)
{
    SendMessageA(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    SetWindowSubclass(list, TickingProc, kTickSubclass, 0);
}

void ShowServerRowCount(HWND list, int count)
{
    SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL);
    InvalidateRect(list, nullptr, FALSE);
}

void ShowServerRow(HWND list, int index)
{
    SendMessageA(list, LVM_REDRAWITEMS, index, index);
}

void DeleteServerRow(HWND list, int index)
{
    SendMessageA(list, LVM_DELETEITEM, index, 0);
}

void FillServerRow(NMLVDISPINFOA* request, const ServerList& servers)
{
    LVITEMA& item = request->item;
    if (!servers.Has(item.iItem)) {
        return;
    }
    const ServerRow& row = servers.Row(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        lstrcpynA(item.pszText, (item.iSubItem == 0 ? row.name : row.address).c_str(), item.cchTextMax);
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     INDEXTOSTATEIMAGEMASK(row.ticked ? kStateImageTicked : kStateImageClear);
        item.stateMask |= LVIS_STATEIMAGEMASK;
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
    if (index < 0 || index >= RowCount(list)) {
        return;
    }
    LVITEMA item{};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, index, TRUE);
}
