// The module object: instance handles, the loop registry and the pending dialog creations (Win32).
#pragma once

#include <windows.h>

#include "module_registry.h"

class CAppModule {
public:
    // S_OK, or E_OUTOFMEMORY when the loop registry cannot be allocated.
    HRESULT InitModule(HINSTANCE instance);
    void TermModule();

    bool AddMessageLoop(CMessageLoop* loop);   // for the calling thread
    bool RemoveMessageLoop();                  // the calling thread's entry
    CMessageLoop* GetMessageLoop(DWORD threadId);

    // Before creating a dialog's window; DialogStartProc takes the record back at its first message.
    void AddCreationRecord(CreationRecord* record, CDialogBase* dialog);
    CDialogBase* ExtractCreationRecord();
    // Unlinks a record that no window took (its creation failed), so no stale object stays listed.
    void DiscardCreationRecord(CreationRecord* record);

    HINSTANCE m_hInst = nullptr;
    HINSTANCE m_hInstResource = nullptr;  // every dialog and icon is loaded from it
    CRITICAL_SECTION m_csStaticData{};    // guards the loop registry
    CRITICAL_SECTION m_csWindowCreate{};  // guards the creation list
    CRITICAL_SECTION m_csObject{};
    CreationRecord* m_pCreationList = nullptr;  // newest first
    DWORD m_dwMainThreadId = 0;
    LoopRegistry* m_pMsgLoopMap = nullptr;
};

extern CAppModule g_module;
