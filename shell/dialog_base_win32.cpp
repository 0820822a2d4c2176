// Binding dialog windows to their objects, and the result rules of dialog procedures (Win32).
#include "dialog_base_win32.h"

#include "message_rules.h"

namespace {

INT_PTR CALLBACK RouteToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    LRESULT result = 0;
    if (dialog->HandleMessage(window, message, wParam, lParam, &result, 0)) {
        if (ReturnsResultDirectly(message)) {
            return result;
        }
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        dialog->m_hWnd = nullptr;
        SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->AfterLastMessage(window);
    }
    return FALSE;
}

}  // namespace

DLGPROC CDialogBase::RoutingProc()
{
    return RouteToObject;
}

void CDialogBase::AfterLastMessage(HWND /*window*/)
{
}

INT_PTR CALLBACK DialogStartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialogBase* dialog = g_module.ExtractCreationRecord();
    if (dialog == nullptr) {
        return FALSE;
    }
    dialog->m_hWnd = window;
    dialog->m_dialogProc = dialog->RoutingProc();
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(dialog->m_dialogProc));
    return dialog->m_dialogProc(window, message, wParam, lParam);
}

HWND CreateDialogFor(CDialogBase* dialog, int resourceId, HWND owner)
{
    g_module.AddCreationRecord(&dialog->m_creationRecord, dialog);
    HWND window = CreateDialogParamA(g_module.m_hInstResource, MAKEINTRESOURCEA(resourceId), owner, DialogStartProc, 0);
    g_module.DiscardCreationRecord(&dialog->m_creationRecord);
    return window;
}

INT_PTR RunDialogFor(CDialogBase* dialog, int resourceId, HWND owner)
{
    g_module.AddCreationRecord(&dialog->m_creationRecord, dialog);
    const INT_PTR result =
        DialogBoxParamA(g_module.m_hInstResource, MAKEINTRESOURCEA(resourceId), owner, DialogStartProc, 0);
    g_module.DiscardCreationRecord(&dialog->m_creationRecord);
    return result;
}
